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

    const Options in = parse({"--import-config", "c.json", "--timeout", "2.5", "--demo"});
    ASSERT_EQ(in.action, Options::Action::Run) << in.text.toStdString();
    EXPECT_EQ(in.importConfig, "c.json");
    EXPECT_EQ(in.timeoutSeconds, 2.5);
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
}

TEST(Options, HelpDocumentsTheConfigCommandsAndExitCodes)
{
    const QString help = parse({"--help"}).text;
    for (const char *word : {"--export-config", "--import-config", "--timeout", "0 done",
                             "1 a module or link problem", "2 a bad command line"})
        EXPECT_TRUE(help.contains(QLatin1String(word))) << word;
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
