// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: what is accepted, and everything the program would misread refused.
#include "options.h"

#include <gtest/gtest.h>

using namespace quelo;

namespace {

Options parse(QStringList args)
{
    args.prepend(QStringLiteral("quelo-link"));
    return parseOptions(args);
}

} // namespace

TEST(Options, AcceptsEachOptionWithItsValue)
{
    const Options o = parse({"--ports", "/dev/ttyUSB0,,rel/tty", "--quit-after", "2.5",
                             "--screenshot", "w.png", "--log", "link.log", "--demo"});
    ASSERT_EQ(o.action, Options::Action::Run) << o.text.toStdString();
    EXPECT_EQ(o.ports, (QStringList{"/dev/ttyUSB0", "", "rel/tty"}));
    EXPECT_EQ(o.quitAfterSeconds, 2.5);
    EXPECT_EQ(o.screenshot, "w.png");
    EXPECT_EQ(o.logFile, "link.log");
    EXPECT_TRUE(o.demo);

    const Options bare = parse({});
    EXPECT_EQ(bare.action, Options::Action::Run);
    EXPECT_FALSE(bare.ports.has_value()); // the system's own list
    EXPECT_FALSE(bare.quitAfterSeconds.has_value());
    EXPECT_EQ(parse({"--quit-after", "0"}).quitAfterSeconds, 0.0);
    EXPECT_EQ(parse({"--quit-after=86400"}).quitAfterSeconds, 86400.0);
    EXPECT_EQ(parse({"--ports", "a"}).ports, (QStringList{"a", "", ""}));
}

TEST(Options, QuitAfterMustBeAFiniteTimeUpToOneDay)
{
    for (const char *bad :
         {"-1", "-0.001", "nan", "inf", "-inf", "1e12", "86400.5", "", "2s", "two"}) {
        const Options o = parse({"--quit-after", bad});
        EXPECT_EQ(o.action, Options::Action::Error) << bad;
        EXPECT_TRUE(o.text.contains("--quit-after")) << bad << ": " << o.text.toStdString();
    }
}

TEST(Options, RefusesWhatWouldOtherwiseBeIgnored)
{
    const auto error = [](const QStringList &args) {
        const Options o = parse(args);
        return o.action == Options::Action::Error ? o.text.toStdString() : std::string();
    };
    EXPECT_NE(error({"--screenshot", "w.png"}).find("--quit-after"), std::string::npos);
    EXPECT_NE(error({"/dev/ttyUSB0"}).find("/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(error({"--demo", "extra", "words"}).find("extra"), std::string::npos);
    EXPECT_NE(error({"--ports", "a,b,c,d"}).find("three"), std::string::npos);
    EXPECT_NE(error({"--no-such-option"}).find("no-such-option"), std::string::npos);
    EXPECT_FALSE(error({"--log"}).empty());
    EXPECT_FALSE(error({"--quit-after"}).empty());
}

TEST(Options, HelpAndVersionAreAnsweredNotRun)
{
    const Options help = parse({"--help"});
    EXPECT_EQ(help.action, Options::Action::Help);
    EXPECT_TRUE(help.text.contains("--quit-after"));
    EXPECT_TRUE(help.text.contains("--log"));
    EXPECT_EQ(parse({"--version"}).action, Options::Action::Version);
}

TEST(Options, ExportAndImportRunWithoutAWindowWithATimeout)
{
    const Options out = parse({"--export-config", "-", "--ports", "/dev/ttyUSB0"});
    ASSERT_EQ(out.action, Options::Action::Run) << out.text.toStdString();
    EXPECT_EQ(out.exportConfig, "-");
    EXPECT_TRUE(out.importConfig.isEmpty());
    EXPECT_TRUE(out.configCommand());
    EXPECT_EQ(out.timeoutSeconds, kDefaultTimeoutSeconds);
    EXPECT_FALSE(out.timeoutGiven); // the import's default grows with its work
    EXPECT_FALSE(out.anyFirmware);

    const Options in = parse({"--import-config", "c.json", "--timeout", "2.5", "--demo"});
    ASSERT_EQ(in.action, Options::Action::Run) << in.text.toStdString();
    EXPECT_EQ(in.importConfig, "c.json");
    EXPECT_EQ(in.timeoutSeconds, 2.5);
    EXPECT_TRUE(in.timeoutGiven);
    EXPECT_TRUE(parse({"--import-config", "c.json", "--any-firmware"}).anyFirmware);
    EXPECT_TRUE(in.demo);

    EXPECT_FALSE(parse({}).configCommand()); // the window
    EXPECT_EQ(parse({"--export-config", "c.json", "--timeout", "86400"}).timeoutSeconds, 86400.0);
}

TEST(Options, ConfigCommandsRefuseWhatTheyCannotHonour)
{
    const auto error = [](const QStringList &args) {
        const Options o = parse(args);
        return o.action == Options::Action::Error ? o.text.toStdString() : std::string();
    };
    const auto mentions = [&](const QStringList &args, const char *word) {
        const std::string text = error(args);
        EXPECT_NE(text.find(word), std::string::npos)
            << args.join(' ').toStdString() << " -> '" << text << "'";
    };
    mentions({"--export-config", "a.json", "--import-config", "b.json"}, "together");
    mentions({"--export-config", "a.json", "--quit-after", "1"}, "--quit-after");
    mentions({"--import-config", "a.json", "--quit-after", "1", "--screenshot", "w.png"},
             "--quit-after");
    mentions({"--export-config", "a.json", "--quit-after", "1", "--screenshot", "w.png"},
             "--quit-after");
    mentions({"--timeout", "5"}, "--export-config");
    mentions({"--export-config", ""}, "file name");
    mentions({"--import-config", "-"}, "file name"); // standard input is not a file to import
    for (const char *bad : {"0", "-1", "nan", "inf", "86401", "", "5s"})
        mentions({"--export-config", "-", "--timeout", bad}, "--timeout");
    EXPECT_FALSE(error({"--export-config"}).empty());
    mentions({"--export-config", "-", "--any-firmware"}, "--import-config");
    mentions({"--any-firmware"}, "--import-config");
}

TEST(Options, HelpDocumentsTheConfigCommandsAndExitCodes)
{
    const QString text = parse({"--help"}).text;
    const QString help = text.simplified(); // lines are wrapped
    for (const char *word : {"--export-config", "--import-config", "--timeout", "0 done",
                             "1 a module or link problem", "2 a bad command line", "--any-firmware",
                             "other firmware", "more for each value it writes", "put back",
                             "reads or writes its seven configuration parameters"})
        EXPECT_TRUE(help.contains(QLatin1String(word))) << word;
    // A terminal's 80 columns hold every line (Qt wraps the options; the rest is ours).
    for (const QString &line : text.split(QLatin1Char('\n')))
        EXPECT_LE(line.size(), 80) << line.toStdString();
}

TEST(Options, RecordWorksWithAndWithoutAWindowTrendsOnlyWithOne)
{
    const Options window = parse({"--record", "run.csv", "--trends"});
    ASSERT_EQ(window.action, Options::Action::Run) << window.text.toStdString();
    EXPECT_EQ(window.record, "run.csv");
    EXPECT_TRUE(window.trends);
    EXPECT_FALSE(parse({}).trends);
    EXPECT_TRUE(parse({}).record.isEmpty());

    const Options headless = parse({"--export-config", "-", "--record", "run.csv"});
    ASSERT_EQ(headless.action, Options::Action::Run) << headless.text.toStdString();
    EXPECT_EQ(headless.record, "run.csv");

    const Options noFile = parse({"--record", ""});
    EXPECT_EQ(noFile.action, Options::Action::Error);
    EXPECT_TRUE(noFile.text.contains("--record")) << noFile.text.toStdString();
    const Options trendsHeadless = parse({"--import-config", "c.json", "--trends"});
    EXPECT_EQ(trendsHeadless.action, Options::Action::Error);
    EXPECT_TRUE(trendsHeadless.text.contains("--trends")) << trendsHeadless.text.toStdString();
}

// --history lists without a window or a port: anything else with it would be ignored.
TEST(Options, HistoryTakesOnlyItsFolder)
{
    const Options listed = parse({"--history", "--history-dir", "/h"});
    ASSERT_EQ(listed.action, Options::Action::Run) << listed.text.toStdString();
    EXPECT_TRUE(listed.listHistory);
    EXPECT_EQ(listed.historyDir, "/h");
    EXPECT_EQ(parse({"--import-config", "a.json", "--history-dir", "h"}).historyDir, "h");
    EXPECT_FALSE(parse({}).listHistory);
    EXPECT_TRUE(parse({"--history", "--json"}).historyJson);
    EXPECT_TRUE(parse({"--import-config", "a.json", "--no-history"}).noHistory);
    EXPECT_TRUE(parse({"--demo", "--no-history"}).noHistory);
    for (const QStringList &bad :
         {QStringList{"--history", "--demo"}, QStringList{"--history", "--export-config", "-"},
          QStringList{"--history-dir", ""}, QStringList{"--json"},
          QStringList{"--history", "--no-history"}}) {
        const Options o = parse(bad);
        EXPECT_EQ(o.action, Options::Action::Error) << bad.join(' ').toStdString();
        EXPECT_TRUE(o.text.contains("--history")) << o.text.toStdString();
    }
}

TEST(Options, ReplayTakesASpeedAndNoPort)
{
    const Options replay = parse(
        {"--replay", "run.csv", "--speed", "16", "--quit-after", "2", "--screenshot", "r.png"});
    ASSERT_EQ(replay.action, Options::Action::Run) << replay.text.toStdString();
    EXPECT_EQ(replay.replay, "run.csv");
    EXPECT_EQ(replay.replaySpeed, 16);
    EXPECT_EQ(parse({"--replay", "run.csv"}).replaySpeed, 1);
    for (const QStringList &bad :
         {QStringList{"--speed", "4"}, QStringList{"--replay", "r.csv", "--speed", "2"},
          QStringList{"--replay", "r.csv", "--speed", "fast"}, QStringList{"--replay", ""},
          QStringList{"--replay", "r.csv", "--demo"},
          QStringList{"--replay", "r.csv", "--ports", "/dev/ttyS0"},
          QStringList{"--replay", "r.csv", "--record", "x.csv"}}) {
        const Options options = parse(bad);
        EXPECT_EQ(options.action, Options::Action::Error) << bad.join(' ').toStdString();
        EXPECT_FALSE(options.text.isEmpty());
    }
}

// quelo-link --trends FILE.csv opens that recording; a word after anything else, or a second
// one, is still refused.
TEST(Options, TrendsTakesOneRecordingAndDashMeansStandardOutput)
{
    const Options opened = parse({"--trends", "run.csv"});
    ASSERT_EQ(opened.action, Options::Action::Run) << opened.text.toStdString();
    EXPECT_TRUE(opened.trends);
    EXPECT_EQ(opened.trendsFile, "run.csv");
    EXPECT_TRUE(parse({"--trends"}).trendsFile.isEmpty());
    const Options two = parse({"--trends", "a.csv", "b.csv"});
    EXPECT_EQ(two.action, Options::Action::Error);
    EXPECT_TRUE(two.text.contains("'b.csv'")) << two.text.toStdString();
    EXPECT_EQ(parse({"--demo", "run.csv"}).action, Options::Action::Error);

    const QString help = parse({"--help"}).text;
    EXPECT_TRUE(
        help.simplified().contains("replacing it; '-': standard output. Only a regular file"))
        << help.toStdString();
    EXPECT_TRUE(help.contains("FILE.csv"));
}
