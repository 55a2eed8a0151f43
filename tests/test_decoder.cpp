// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness.h"
#include "parameters.h"
#include "run_recording.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace quelo;
using quelo::test::Harness;

namespace {
struct Decoder : ::testing::Test
{
    Harness h;
    WindowState &w = h.w;
    // The lines come from a connected module.
    Decoder()
    {
        w.linkUp = true;
        w.readInConnection.fill(true);
    }
    // Connected, and every value taken as read in this connection.
    void connect()
    {
        h.connect();
        w.readInConnection.fill(true);
    }
    void line(const std::string &text) { h.feed(text + "\r"); }
    // The module's answer to a read command the scheduler has just queued.
    void reply(const std::string &text)
    {
        ParameterTraffic &t = w.traffic[indexOf(*parameterByLetter(text[0]))];
        t.readOutstanding = true;
        t.writtenSinceRead = false;
        line(text);
    }
};
} // namespace

TEST_F(Decoder, EngineSpeedBelowFiftyReadsAsStoppedButTheFrameKeepsIt)
{
    line("x0031");
    EXPECT_EQ(w.rpmtarget, 0);
    EXPECT_EQ(w.rpmdial.Tag, "1");
    line("x0032");
    EXPECT_EQ(w.rpmtarget, 50);
    line("=0031000000000000");
    EXPECT_EQ(w.rpmtarget, 49);
}

TEST_F(Decoder, FourDigitSpeedAbove7FFFIsNotTakenAndTheLineFinishes)
{
    line("x0100");
    ASSERT_EQ(w.rpmtarget, 256);
    w.rpmdial.Tag = "0";
    line("x8000");
    EXPECT_EQ(w.rpmtarget, 256);
    EXPECT_EQ(w.rpmdial.Tag, "0");
    line("=FFFF0E00008A");
    EXPECT_EQ(w.rpmtarget, 256);
    EXPECT_EQ(w.rpmdial.Tag, "0");
    EXPECT_EQ(w.proptarget, 20); // the rest of the frame is decoded
    EXPECT_EQ(w.voltstarget, 14);
    EXPECT_EQ(w.voltsdial.Tag, "1");
    EXPECT_EQ(h.comm.Tag, "0");
    EXPECT_EQ(w.rxbuffer, "");
    EXPECT_EQ(h.model.failureCount(), 0);
}

TEST_F(Decoder, VoltsAndAdvanceRoundHalfToEven)
{
    line("w7D");
    EXPECT_EQ(w.voltstarget, 12);
    EXPECT_EQ(w.voltsdial.Tag, "1");
    line("w87");
    EXPECT_EQ(w.voltstarget, 14);
    line("w8C");
    EXPECT_EQ(w.voltstarget, 14);
    line("b0E");
    EXPECT_EQ(w.advtarget, 20);
    line("bFF");
    EXPECT_EQ(w.advtarget, 357);
}

TEST_F(Decoder, PropellerDropsTheFractionAndIgnoresTrailingCharacters)
{
    w.Timer4.setEnabled(true);
    line("pFF");
    EXPECT_EQ(w.proptarget, 358);
    EXPECT_EQ(w.propcount, 255);
    EXPECT_FALSE(w.Timer4.Enabled());
    line("p00ZZZZ");
    EXPECT_EQ(w.proptarget, 0);
}

TEST_F(Decoder, TelemetryFrameJumpsTheAdvanceNeedleAndScalesVoltsInTenths)
{
    w.advtarget = 30;
    line("=03E81200008C");
    EXPECT_EQ(w.rpmtarget, 1000);
    EXPECT_EQ(w.advdial.Value, 25.0); // 0x12 * 1.4 = 25.2
    EXPECT_EQ(w.proptarget, 25);
    EXPECT_EQ(w.advtarget, 30);
    EXPECT_EQ(w.voltstarget, 14); // 0x8C = 140 tenths
}

TEST_F(Decoder, VersionLineConnectsOnlyWhileAProbeIsOutstanding)
{
    h.comm.presentPorts = {3};
    h.model.Form_Load();
    h.clock.advance(4500); // ports 1 and 2 fail, port 3 probed
    ASSERT_EQ(w.Tag, "1");
    line("u1A");
    EXPECT_EQ(w.revdata.Text, "26");
    EXPECT_EQ(w.revdata.Tag, "1");
    EXPECT_EQ(w.statusbox.Text, "Connected Comm Port 3");
    EXPECT_TRUE(w.Timer1.Enabled());
    EXPECT_FALSE(w.Timer4.Enabled());
    EXPECT_FALSE(w.Timer5.Enabled());
    EXPECT_EQ(w.pollstring, "");
    EXPECT_EQ(w.Tag, "0");

    w.statusbox.Text = "kept";
    line("u1B");
    EXPECT_EQ(w.revdata.Text, "27");
    EXPECT_EQ(w.statusbox.Text, "kept"); // already connected
}

// A "u", "j" or echo line is taken only in the shape the module sends; noise that begins with
// the same character used to zero the firmware version for good, or grey the store button.
TEST_F(Decoder, NoiseShapedLikeVersionEnableOrEchoLinesIsIgnored)
{
    h.comm.presentPorts = {1};
    h.model.Form_Load();
    h.clock.advance(1500);
    ASSERT_EQ(w.Tag, "1"); // probing port 1
    for (const char *noise : {"u\x93\xa7", "u5", "u1A2", "u", "uZZ"})
        line(noise);
    EXPECT_EQ(w.revdata.Text, "0");
    EXPECT_EQ(w.revdata.Tag, "0");
    EXPECT_EQ(w.Tag, "1"); // the probe is still waiting for the module
    EXPECT_FALSE(w.Timer1.Enabled());
    EXPECT_TRUE(w.Timer5.Enabled());
    line("u1A");
    EXPECT_EQ(w.statusbox.Text, "Connected Comm Port 1");
    EXPECT_EQ(w.revdata.Text, "26");
    line("u\x93\xa7");
    EXPECT_EQ(w.revdata.Text, "26");

    w.conshiftdata.Enabled = false;
    line("j\x01\xff");
    line("j011");
    EXPECT_FALSE(w.conshiftdata.Enabled);
    EXPECT_EQ(w.conshiftdata.Tag, "0");
    line("j01");
    EXPECT_TRUE(w.conshiftdata.Enabled);

    w.Command3.BackColor = kGreen;
    w.maxrpmscroll.setValue(16); // as a read-back would: no change of the user's to store
    for (const char *noise : {"/W\x93", "/W3 anything", "/W-", "/W12x", "/M1\xc0", "/M--1"})
        line(noise);
    EXPECT_EQ(w.Command3.BackColor, kGreen);
    EXPECT_EQ(w.maxrpmdata.Text, "");
    line("/W");
    EXPECT_EQ(w.Command3.BackColor, kDarkGrey);
    EXPECT_EQ(h.model.failureCount(), 0);
}

TEST_F(Decoder, IgnoredLinesLeaveEverythingButClearTheBuffer)
{
    line("X0031");
    line("\n");
    line("9");
    EXPECT_EQ(w.rpmtarget, 0);
    EXPECT_EQ(w.rpmdial.Tag, "0");
    line("x0100");
    EXPECT_EQ(w.rpmtarget, 256);
}

// A line in a read-back's shape whose letter names no parameter (a newer firmware's, or line
// noise) changes nothing and is logged; other unknown lines are ignored without a word.
TEST_F(Decoder, AReadBackOfALetterWithNoParameterIsLogged)
{
    std::vector<std::string> log;
    h.model.linkLog().setSink([&log](const std::string &text) { log.push_back(text); });
    for (ParameterTraffic &t : w.traffic)
        t.readOutstanding = true;
    for (const char *unknown : {"q1A", "k00", "q1", "q1AB", "Q1A", "q1G"})
        line(unknown);
    reply("t02");
    EXPECT_EQ(log,
              (std::vector<std::string>{"unknown: read-back q1A, no parameter has the letter q",
                                        "unknown: read-back k00, no parameter has the letter k"}));
    EXPECT_EQ(w.pprscroll.Value(), 2);
    EXPECT_EQ(w.rxbuffer, "");
    EXPECT_EQ(h.model.failureCount(), 0);
}

TEST_F(Decoder, TachPulsesSetsTheSliderBeforeClearingItsFlag)
{
    reply("t02");
    EXPECT_EQ(w.pprscroll.Value(), 2);
    EXPECT_EQ(w.pprdata.Text, "2");
    EXPECT_EQ(w.pprdata.Tag, "1");
    EXPECT_EQ(w.pprscroll.Tag, "0"); // no write follows
    EXPECT_TRUE(w.pprscroll.Visible);
    EXPECT_EQ(w.Command3.BackColor, kGreen);
}

TEST_F(Decoder, StartDelayClearsTheFlagFirstSoTheValueIsWrittenBackOnce)
{
    reply("d03");
    EXPECT_EQ(w.cycledata.Text, "3");
    EXPECT_EQ(w.cyclescroll.Value(), 3);
    EXPECT_EQ(w.cyclescroll.Tag, "1");
    reply("d03");
    EXPECT_EQ(w.cyclescroll.Tag, "0");
}

TEST_F(Decoder, LimitsMoveBandThreeOfTheirGauges)
{
    reply("n19");
    EXPECT_EQ(w.maxadvancedata.Text, "35");
    EXPECT_DOUBLE_EQ(w.advdial.bandEnd(3), 35.0);
    EXPECT_EQ(w.maxadvancescroll.Value(), 25);
    reply("n0E");
    EXPECT_EQ(w.maxadvancedata.Text, "19.6");
    reply("m0C");
    EXPECT_EQ(w.maxrpmdata.Text, "3072");
    EXPECT_DOUBLE_EQ(w.rpmdial.bandEnd(3), 3072.0);
    EXPECT_DOUBLE_EQ(w.rpmdial.bandEnd(2), 3100.0);
}

// The shift goes on the slider when the slider can hold it, before its flag is cleared: one
// click then moves the module's own setting by one step, and nothing is written back.
TEST_F(Decoder, AdvanceShiftTextsAndTheSliderFollowsTheModule)
{
    reply("c14");
    EXPECT_EQ(w.conshiftdata.Text, "28");
    EXPECT_EQ(w.conshiftscroll.Value(), 0); // 20 is beyond the slider
    reply("c15");
    EXPECT_EQ(w.conshiftdata.Text, "-327.6");
    reply("cF7");
    EXPECT_EQ(w.conshiftdata.Text, "-11.2");
    EXPECT_EQ(w.conshiftscroll.Value(), -8);
    EXPECT_EQ(w.conshiftscroll.Tag, "0");
    reply("cFF");
    EXPECT_EQ(w.conshiftdata.Text, "0");
    EXPECT_EQ(w.conshiftscroll.Value(), 0);
    EXPECT_EQ(w.conshiftscroll.Tag, "0");
    EXPECT_TRUE(w.conshiftscroll.Visible);
    EXPECT_EQ(w.conshiftdata.Tag, "1");
}

TEST_F(Decoder, LedTachVoltsAndShiftEnable)
{
    reply("l03");
    EXPECT_EQ(w.leddata.Text, "Sensor");
    reply("l00");
    EXPECT_EQ(w.leddata.Text, "Kill Sw");
    reply("v02");
    EXPECT_EQ(w.vdata.Text, "12 volts");
    EXPECT_EQ(w.vscroll.Value(), 2);
    w.vdata.Tag = "0";
    reply("v03");
    EXPECT_EQ(w.vdata.Text, "12 volts");
    EXPECT_EQ(w.vdata.Tag, "0");
    line("j00");
    EXPECT_FALSE(w.conshiftdata.Enabled);
    line("jFF");
    EXPECT_TRUE(w.conshiftdata.Enabled);
    EXPECT_EQ(w.conshiftdata.Tag, "1");
}

TEST_F(Decoder, EchoesRefreshValueBoxesFromTheSliders)
{
    w.ledscroll.Visible = w.conshiftscroll.Visible = w.maxrpmscroll.Visible = true; // read back
    w.Command3.BackColor = kGreen;
    line("/w");
    EXPECT_EQ(w.Command3.BackColor, kGreen);
    line("/W3");
    EXPECT_EQ(w.Command3.BackColor, kDarkGrey);
    h.model.moveSlider(w.ledscroll, 1);
    line("/L1");
    EXPECT_EQ(w.leddata.Text, "Mode");
    h.model.moveSlider(w.conshiftscroll, -9);
    line("/C-9");
    EXPECT_EQ(w.conshiftdata.Text, "-12.6");
    h.model.moveSlider(w.maxrpmscroll, 16);
    line("/M");
    EXPECT_EQ(w.maxrpmdata.Text, "4096");
    EXPECT_EQ(w.maxrpmscroll.Tag, "1"); // echoes touch no flag
}

TEST_F(Decoder, OutOfRangeReadBacksShowTheValueButNeverMoveASlider)
{
    reply("m80");
    EXPECT_EQ(w.maxrpmdata.Text, "32768");
    EXPECT_DOUBLE_EQ(w.rpmdial.bandEnd(3), 32768.0);
    reply("mFF");
    EXPECT_EQ(w.maxrpmdata.Text, "65280");
    EXPECT_EQ(w.maxrpmscroll.Value(), 0);
    EXPECT_TRUE(w.maxrpmscroll.Visible);
    reply("d09");
    EXPECT_EQ(w.cycledata.Text, "9");
    EXPECT_EQ(w.cyclescroll.Value(), 0);
    reply("n05");
    EXPECT_EQ(w.maxadvancedata.Text, "7");
    EXPECT_EQ(w.maxadvancescroll.Value(), 14);
    reply("t07");
    reply("l09");
    EXPECT_EQ(w.leddata.Text, "");
    for (const ScrollBar *s :
         {&w.cyclescroll, &w.ledscroll, &w.pprscroll, &w.maxrpmscroll, &w.maxadvancescroll})
        EXPECT_EQ(s->Tag, "0");
    EXPECT_EQ(w.Command3.BackColor, kDarkGrey);
    EXPECT_EQ(h.model.failureCount(), 0);
}

TEST_F(Decoder, AReadBackDoesNotUndoAChangeTheModuleHasNotConfirmed)
{
    reply("t01");
    reply("d02");
    reply("d02");
    reply("c00");
    ASSERT_EQ(w.pprscroll.Tag, "0");
    h.model.moveSlider(w.pprscroll, 2);
    h.model.moveSlider(w.cyclescroll, 5);
    h.model.moveSlider(w.conshiftscroll, 3);
    // Stale read-backs of the old values: the user's values and their marks stay.
    reply("t01");
    reply("d02");
    reply("c00");
    EXPECT_EQ(w.pprscroll.Value(), 2);
    EXPECT_EQ(w.pprscroll.Tag, "1");
    EXPECT_EQ(w.pprdata.Text, "1"); // the box shows what the module holds
    EXPECT_EQ(w.cyclescroll.Value(), 5);
    EXPECT_EQ(w.cyclescroll.Tag, "1");
    EXPECT_EQ(w.conshiftscroll.Tag, "1");
    // Once the module reports the user's value the marks clear.
    reply("t02");
    reply("d05");
    reply("c03");
    EXPECT_EQ(w.pprscroll.Tag, "0");
    EXPECT_EQ(w.cyclescroll.Tag, "0");
    EXPECT_EQ(w.conshiftscroll.Tag, "0");
}

// Line noise that begins with a parameter letter is not a read-back: a garbage burst in front
// of a reply used to be read as "v00", "d00" and so on, moving sliders, confirming a change the
// module never received, and writing noise to the module.
TEST_F(Decoder, LineNoiseStartingWithAParameterLetterIsNotAReadBack)
{
    reply("t01");
    reply("v02");
    reply("d02");
    reply("d02"); // the first moved the slider and marked it; the second confirms
    ASSERT_EQ(w.pprscroll.Value(), 1);
    ASSERT_EQ(w.cyclescroll.Tag, "0");
    h.model.moveSlider(w.vscroll, 0);
    ASSERT_EQ(w.vscroll.Tag, "1");

    for (ParameterTraffic &t : w.traffic)
        t.readOutstanding = true;      // even when asked, noise is not an answer
    line(std::string("t\xC3Zx0123"));  // noise, then an engine-speed reply
    line(std::string("v\x07\x91w8C")); // would read as "v00": the user's pending 0
    line(std::string("d?*p4100"));     // would read as "d00" and write it back
    line("n19x0123");                  // a read-back run into the next reply
    EXPECT_EQ(w.pprscroll.Value(), 1);
    EXPECT_EQ(w.pprdata.Text, "1");
    EXPECT_EQ(w.vscroll.Tag, "1"); // still pending: the write goes on
    EXPECT_EQ(w.vdata.Text, "12 volts");
    EXPECT_EQ(w.cyclescroll.Value(), 2);
    EXPECT_EQ(w.cyclescroll.Tag, "0");    // nothing to write
    EXPECT_EQ(w.maxadvancedata.Tag, "0"); // its read slot asks again

    // Well-formed read-backs, with either line end, are still taken.
    w.traffic[indexOf(*parameterByLetter('v'))].readOutstanding = true;
    h.feed("v00\r\n");
    EXPECT_EQ(w.vscroll.Tag, "0");
    reply("n19");
    EXPECT_EQ(w.maxadvancescroll.Value(), 25);
    EXPECT_EQ(h.model.failureCount(), 0);
}

// Only an echo of the value the slider holds proves the module has the user's latest change:
// a read-back that answers an older write, or one sent before the echo, keeps the user's value.
TEST_F(Decoder, AReadBackAnsweringAnOlderWriteKeepsTheUsersNewerValue)
{
    connect();
    reply("n19");
    reply("n19");
    ASSERT_EQ(w.maxadvancescroll.Tag, "0");
    auto written = [this](const std::string &command) {
        return h.clock.runUntil(
            [&] { return h.comm.written.find(command + "\r") != std::string::npos; }, 3000);
    };

    h.model.moveSlider(w.maxadvancescroll, 30);
    ASSERT_TRUE(written("/N30"));
    line("/N30");
    h.model.moveSlider(w.maxadvancescroll, 28); // before the next write goes out
    reply("n1E");                               // the module holds the older 30
    EXPECT_EQ(w.maxadvancescroll.Value(), 28);
    EXPECT_EQ(w.maxadvancescroll.Tag, "1");

    ASSERT_TRUE(written("/N28"));
    reply("n1E"); // crossed the write on the wire: no echo of 28 yet
    EXPECT_EQ(w.maxadvancescroll.Value(), 28);
    EXPECT_EQ(w.maxadvancescroll.Tag, "1");

    line("/N28");
    reply("n1C");
    EXPECT_EQ(w.maxadvancescroll.Value(), 28);
    EXPECT_EQ(w.maxadvancescroll.Tag, "0");
    EXPECT_EQ(w.maxadvancedata.Text, "39.2");
    EXPECT_EQ(w.statusbox.ToolTip, ""); // nothing was refused
}

namespace {
// What a recording would be told: each telemetry report, and the events' texts and kinds.
struct ToldReports : RunObserver
{
    std::vector<TelemetryReport> reports;
    std::vector<std::string> events;
    std::vector<RunEventKind> kinds;
    void telemetry(const TelemetryReport &report) override { reports.push_back(report); }
    void event(const RunEvent &event) override
    {
        events.push_back(event.text);
        kinds.push_back(event.kind);
        // A recording reads each text back as the kind it was told with.
        EXPECT_EQ(eventKindOf(event.text), event.kind) << event.text;
    }
};

std::optional<double> none()
{
    return std::nullopt;
}
} // namespace

// Each kind of telemetry line is reported once, with only the quantities it carries, in the
// gauges' units unrounded; a line the window does not take is not reported.
TEST_F(Decoder, TheRunObserverHearsEachTelemetryKindInTheGaugesUnits)
{
    ToldReports told;
    h.model.setRunObserver(&told);
    line("x0031"); // below 50 rpm: a stopped engine
    line("x0FA0"); // 4000 rpm
    line("x8000"); // not taken
    line("b0E");   // 14 counts: 19.6 degrees, where the target rounds to 20
    line("w7D");   // 12.5 V, where the target rounds to 12
    line("p41");   // 65 counts: 91.39 degrees
    line("pFF");   // 358.5 degrees
    line("p0200"); // 2 counts, trailing digits ignored
    line("=0031"
         "0E"
         "0000"
         "8A"); // the frame keeps 49 rpm
    line("=FFFF"
         "0E"
         "0000"
         "8A");  // speed not taken, the rest is
    line("k0E"); // not a reply the module sends
    ASSERT_EQ(told.reports.size(), 9u);
    const auto expect = [&](std::size_t i, std::optional<double> rpm, std::optional<double> adv,
                            std::optional<double> volts, std::optional<double> prop) {
        const TelemetryReport &r = told.reports[i];
        EXPECT_EQ(r.rpm, rpm) << "report " << i;
        ASSERT_EQ(r.advanceDeg.has_value(), adv.has_value()) << "report " << i;
        if (adv) {
            EXPECT_NEAR(*r.advanceDeg, *adv, 1e-9) << "report " << i;
        }
        EXPECT_EQ(r.busVolts, volts) << "report " << i;
        ASSERT_EQ(r.propAngleDeg.has_value(), prop.has_value()) << "report " << i;
        if (prop) {
            EXPECT_NEAR(*r.propAngleDeg, *prop, 1e-9) << "report " << i;
        }
    };
    expect(0, 0.0, none(), none(), none());
    expect(1, 4000.0, none(), none(), none());
    expect(2, none(), 19.6, none(), none());
    expect(3, none(), none(), 12.5, none());
    expect(4, none(), none(), none(), 91.39);
    expect(5, none(), none(), none(), 358.53);
    expect(6, none(), none(), none(), 2.812);
    expect(7, 49.0, 19.6, 13.8, none());
    expect(8, none(), 19.6, 13.8, none());
    EXPECT_TRUE(told.events.empty());

    h.model.setRunObserver(nullptr);
    line("x03E8");
    EXPECT_EQ(told.reports.size(), 9u);
    EXPECT_EQ(w.rpmtarget, 1000);
}

// Events: the status line's texts, a parameter when the module reports a new value for it
// (as its value box shows it), and the store echo.
TEST_F(Decoder, TheRunObserverHearsStatusChangesParameterReportsAndTheStore)
{
    ToldReports told;
    h.model.setRunObserver(&told);
    std::vector<std::string> logged;
    h.model.linkLog().setSink([&logged](const std::string &text) {
        if (text.rfind("status: ", 0) == 0)
            logged.push_back(text.substr(8));
    });
    connect();
    ASSERT_GE(told.events.size(), 2u);
    EXPECT_EQ(told.events, logged); // every text the status line changed to, in order
    EXPECT_EQ(told.events.back(), "Connected Comm Port 1");
    EXPECT_EQ(told.kinds.back(), RunEventKind::LinkUp);
    const std::size_t statuses = told.events.size();
    for (std::size_t i = 0; i + 1 < statuses; ++i)
        EXPECT_EQ(told.kinds[i], RunEventKind::Status) << told.events[i]; // the search

    reply("l01");
    reply("l01"); // the same value again: nothing new
    reply("cFC"); // 252 = 255 - 3: a shift of -3 counts, -4.2 degrees
    reply("m0A");
    reply("l02");
    line("/W");
    const std::vector<std::string> expected{"led_mode=Mode", "advance_shift=-4.2",
                                            "max_rpm_limit=2560", "led_mode=Diag", "stored"};
    EXPECT_EQ(
        std::vector<std::string>(told.events.begin() + std::ptrdiff_t(statuses), told.events.end()),
        expected);
    using K = RunEventKind;
    EXPECT_EQ(std::vector<K>(told.kinds.begin() + std::ptrdiff_t(statuses), told.kinds.end()),
              (std::vector<K>{K::ParameterReported, K::ParameterReported, K::ParameterReported,
                              K::ParameterReported, K::StoreConfirmed}));
}

// The echo of an older write arriving once a newer one is queued says nothing of the newer:
// the read-back that follows, still holding the older value, may have crossed it.
TEST_F(Decoder, ALateEchoOfAnOlderWriteDoesNotConfirmANewerOne)
{
    connect();
    reply("n19");
    reply("n19");
    auto written = [this](const std::string &command) {
        return h.clock.runUntil(
            [&] { return h.comm.written.find(command + "\r") != std::string::npos; }, 3000);
    };
    h.model.moveSlider(w.maxadvancescroll, 30);
    ASSERT_TRUE(written("/N30"));
    h.model.moveSlider(w.maxadvancescroll, 28);
    ASSERT_TRUE(written("/N28"));
    line("/N30"); // late: the write of 28 is already queued
    reply("n1E");
    EXPECT_EQ(w.maxadvancescroll.Value(), 28);
    EXPECT_EQ(w.maxadvancescroll.Tag, "1");
    EXPECT_EQ(w.statusbox.ToolTip, "");
}

// Dark grey says the module stored what the window shows: an echo nobody asked for, or the
// echo of a store sent before the user's latest change, leaves the button green.
TEST_F(Decoder, TheStoreButtonTurnsDarkGreyOnlyWhenTheUsersChangesAreStored)
{
    connect();
    reply("d02");
    reply("d02");
    ASSERT_EQ(w.cyclescroll.Tag, "0");
    h.model.moveSlider(w.cyclescroll, 4);
    reply("d04");
    ASSERT_EQ(w.cyclescroll.Tag, "0");
    line("/W4"); // nobody asked for a store
    EXPECT_EQ(w.Command3.BackColor, kGreen);
    ASSERT_EQ(h.model.unstoredChanges().size(), 1u);
    EXPECT_STREQ(h.model.unstoredChanges()[0]->name, "RUN MODE START DELAY");

    h.model.Command3_Click();
    ASSERT_FALSE(h.model.storeWaiting());
    h.model.moveSlider(w.cyclescroll, 6); // before the store's echo
    line("/W4");
    EXPECT_EQ(w.Command3.BackColor, kGreen);
    EXPECT_EQ(h.model.unstoredChanges().size(), 1u);

    reply("d06");
    h.model.Command3_Click();
    line("/W6");
    EXPECT_EQ(w.Command3.BackColor, kDarkGrey);
    EXPECT_TRUE(h.model.unstoredChanges().empty());
}
