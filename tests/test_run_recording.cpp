// SPDX-License-Identifier: GPL-3.0-or-later
#include "live_trend.h"
#include "recording_reader.h"
#include "recording_thin.h"
#include "run_recording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <locale>

using namespace quelo;

namespace {

// 2026-03-01 12:00:00.000 UTC.
constexpr std::int64_t kNoonUtc = 1772366400000;

Stamp at(std::int64_t steadyMs, int offsetMinutes = 60)
{
    return {kNoonUtc + steadyMs, offsetMinutes, 5000 + steadyMs};
}

// A decimal comma in both the C++ global locale and, where installed, the C locale.
struct CommaNumpunct : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
};

class GermanNumbers
{
public:
    GermanNumbers() : m_old(std::locale::global(std::locale(std::locale(), new CommaNumpunct)))
    {
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    ~GermanNumbers()
    {
        std::locale::global(m_old);
        std::setlocale(LC_NUMERIC, "C");
    }

private:
    std::locale m_old;
};

} // namespace

TEST(IsoTime, WritesLocalTimeWithMillisecondsAndOffset)
{
    EXPECT_EQ(isoTime(kNoonUtc + 7123, 120), "2026-03-01T14:00:07.123+02:00");
    EXPECT_EQ(isoTime(kNoonUtc, -330), "2026-03-01T06:30:00.000-05:30");
    EXPECT_EQ(isoTime(kNoonUtc, 0), "2026-03-01T12:00:00.000+00:00");
    // Across a date line into a leap day, and before 1970.
    EXPECT_EQ(isoTime(1709164800000 - 1, 0), "2024-02-28T23:59:59.999+00:00");
    EXPECT_EQ(isoTime(1709164800000, 0), "2024-02-29T00:00:00.000+00:00");
    EXPECT_EQ(isoTime(-1, 0), "1969-12-31T23:59:59.999+00:00");
}

TEST(IsoTime, ReadsBackWhatItWritesAndRefusesOtherText)
{
    for (std::int64_t ms : {kNoonUtc + 7123, std::int64_t(1709164800000), std::int64_t(-1)})
        for (int offset : {0, 120, -330, 600})
            EXPECT_EQ(parseIsoTime(isoTime(ms, offset)), ms) << ms << " " << offset;
    EXPECT_EQ(parseIsoTime("2026-03-01T12:00:00.000Z"), kNoonUtc);
    for (const char *bad : {"", "2026-03-01 12:00:00.000+01:00", "2026-13-01T12:00:00.000+01:00",
                            "2026-03-01T12:00:00+01:00", "2026-03-01T12:00:00.000",
                            "2026-03-01T12:00:0x.000+01:00", "2026-03-01T12:00:00.000+01:00x"})
        EXPECT_FALSE(parseIsoTime(bad)) << bad;
}

TEST(CsvText, OneDecimalRoundsToTenthsWithAPoint)
{
    EXPECT_EQ(oneDecimal(14 * 1.4), "19.6");   // 19.599999... in binary
    EXPECT_EQ(oneDecimal(125 / 10.0), "12.5"); // the module's 12.5 V, not the gauge's 12
    EXPECT_EQ(oneDecimal(255 * 1.406), "358.5");
    EXPECT_EQ(oneDecimal(0), "0.0");
    EXPECT_EQ(oneDecimal(-0.25), "-0.3");
    EXPECT_EQ(oneDecimal(360), "360.0");
}

TEST(CsvText, QuotesOnlyFieldsThatNeedIt)
{
    EXPECT_EQ(csvField("stored"), "stored");
    EXPECT_EQ(csvField("Connected Comm Port 1"), "Connected Comm Port 1");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(csvField(""), "");
}

TEST(RunRecorder, HeaderNamesTheSevenColumns)
{
    EXPECT_STREQ(RunRecorder::header(),
                 "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n");
}

TEST(RunRecorder, EachTelemetryRowCarriesTheLatestOfAllFour)
{
    RunRecorder r(at(0));
    EXPECT_EQ(r.telemetryRow({1000.0, {}, {}, {}}, at(1500)),
              "2026-03-01T13:00:01.500+01:00,1.500,1000,,,,\r\n");
    EXPECT_EQ(r.telemetryRow({{}, 14 * 1.4, {}, {}}, at(1750)),
              "2026-03-01T13:00:01.750+01:00,1.750,1000,19.6,,,\r\n");
    EXPECT_EQ(r.telemetryRow({{}, {}, 12.5, {}}, at(2000)),
              "2026-03-01T13:00:02.000+01:00,2.000,1000,19.6,12.5,,\r\n");
    EXPECT_EQ(r.telemetryRow({{}, {}, {}, 358.53}, at(2250)),
              "2026-03-01T13:00:02.250+01:00,2.250,1000,19.6,12.5,358.5,\r\n");
    // The telemetry frame reports several at once; the rest keep their last value.
    EXPECT_EQ(r.telemetryRow({2600.0, 28.0, 13.9, {}}, at(62001)),
              "2026-03-01T13:01:02.001+01:00,62.001,2600,28.0,13.9,358.5,\r\n");
}

TEST(RunRecorder, EventRowsFillOnlyTimeAndEvent)
{
    RunRecorder r(at(0));
    r.telemetryRow({1000.0, 20.0, 12.0, 0.0}, at(100));
    EXPECT_EQ(r.eventRow({RunEventKind::StoreConfirmed, "stored"}, at(200)),
              "2026-03-01T13:00:00.200+01:00,0.200,,,,,stored\r\n");
    EXPECT_EQ(
        r.eventRow({RunEventKind::Unclassified, "Valid comm port not found, check \"wiring\""},
                   at(300)),
        "2026-03-01T13:00:00.300+01:00,0.300,,,,,"
        "\"Valid comm port not found, check \"\"wiring\"\"\"\r\n");
    // An event does not disturb the values carried into the next telemetry row.
    EXPECT_EQ(r.telemetryRow({}, at(400)),
              "2026-03-01T13:00:00.400+01:00,0.400,1000,20.0,12.0,0.0,\r\n");
}

TEST(RunRecorder, ElapsedComesFromTheSteadyClockNotTheWallClock)
{
    RunRecorder r(at(0));
    Stamp later = at(3000);
    later.utcMs -= 3600000; // the wall clock was set back an hour meanwhile
    EXPECT_EQ(r.telemetryRow({1200.0, {}, {}, {}}, later),
              "2026-03-01T12:00:03.000+01:00,3.000,1200,,,,\r\n");
}

TEST(RunRecorder, NumbersKeepAPointUnderACommaLocale)
{
    GermanNumbers german;
    RunRecorder r(at(0));
    EXPECT_EQ(r.telemetryRow({1000.0, 19.6, 12.5, 1.4}, at(1234)),
              "2026-03-01T13:00:01.234+01:00,1.234,1000,19.6,12.5,1.4,\r\n");
    const RecordingRead read =
        parseRecording(std::string(RunRecorder::header()) + r.telemetryRow({}, at(2000)));
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.recording.busVolts.size(), 1u);
    EXPECT_DOUBLE_EQ(read.recording.busVolts[0].v, 12.5);
}

TEST(RecordingReader, ReadsWhatTheRecorderWrites)
{
    RunRecorder r(at(0));
    std::string text = RunRecorder::header();
    text += r.eventRow({RunEventKind::LinkUp, "Connected Comm Port 2"}, at(0));
    text += r.telemetryRow({0.0, {}, {}, 140.6}, at(300));
    text += r.telemetryRow({1020.0, 21.0, 12.5, {}}, at(600));
    text += r.eventRow({RunEventKind::Unclassified, "note, with \"quotes\"\nand a line"}, at(900));
    text += r.telemetryRow({2550.0, {}, {}, {}}, at(1200));
    const RecordingRead read = parseRecording(text);
    ASSERT_EQ(read.error, "");
    const Recording &rec = read.recording;
    ASSERT_EQ(rec.rpm.size(), 3u); // each telemetry row repeats the latest engine speed
    EXPECT_DOUBLE_EQ(rec.rpm[2].v, 2550);
    EXPECT_DOUBLE_EQ(rec.rpm[2].t, double(kNoonUtc + 1200));
    EXPECT_EQ(rec.advanceDeg.size(), 2u);
    EXPECT_EQ(rec.busVolts.size(), 2u);
    EXPECT_EQ(rec.propAngleDeg.size(), 3u);
    ASSERT_EQ(rec.events.size(), 2u);
    EXPECT_EQ(rec.events[1].text, "note, with \"quotes\"\nand a line");
    EXPECT_DOUBLE_EQ(rec.events[1].t, double(kNoonUtc + 900));
}

// Each kind is written as the text the program has always written and read back as the same
// kind from the text alone; a text no row knows is unclassified, whatever it resembles.
TEST(RecordingReader, EveryEventKindReadsBackAsTheKindItWasWrittenWith)
{
    using K = RunEventKind;
    const std::vector<RunEvent> events = {{K::LinkUp, "Connected Comm Port 3"},
                                          {K::LinkLost, "Link lost on Comm Port 1"},
                                          {K::NoAnswer, "No answer from the module on Comm Port 2"},
                                          {K::SearchEnded, "Valid comm port not found"},
                                          {K::Status, "Comm port: 2"},
                                          {K::Status, "Waiting for connection - Port 2"},
                                          {K::ParameterReported, "max_advance_limit=39.2"},
                                          {K::ParameterReported, "led_mode=Kill Sw"},
                                          {K::StoreConfirmed, "stored"},
                                          {K::Mark, "mark 12"},
                                          {K::Aircraft, "aircraft G-ABCD"},
                                          {K::Unclassified, "recording paused"},
                                          {K::Unclassified, "stored again"},
                                          {K::Unclassified, "Valid comm port not found!"},
                                          {K::Unclassified, "Max_rpm=1"}};
    for (K kind : kRunEventKinds)
        EXPECT_TRUE(std::any_of(events.begin(), events.end(),
                                [kind](const RunEvent &e) { return e.kind == kind; }))
            << "no text for kind " << int(kind);
    RunRecorder r(at(0));
    std::string text = RunRecorder::header();
    for (std::size_t i = 0; i < events.size(); ++i)
        text += r.eventRow(events[i], at(std::int64_t(100 * i)));
    const RecordingRead read = parseRecording(text);
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.recording.events.size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(read.recording.events[i].kind, events[i].kind) << events[i].text;
        EXPECT_EQ(read.recording.events[i].text, events[i].text);
    }
}

TEST(RecordingReader, AMalformedFileGivesOneMessageNamingTheLine)
{
    const std::string header = "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\n";
    const std::string good = "2026-03-01T13:00:01.500+01:00,1.500,1000,19.6,12.5,,\n";
    const struct
    {
        std::string text;
        std::string error;
    } cases[] = {
        {"time,rpm\n" + good, "line 1: not a recording"},
        {"", "line 1: not a recording"},
        {header + good + "2026-03-01T13:00:01.500+01:00,1.5,1000\n",
         "line 3: expected 7 fields, found 3"},
        {header + good + good + "2026-03-01T13:00:01.500+01:00,1.5,1k,,,,\n",
         "line 4: \"1k\" in column rpm is not a number"},
        {header + "2026-03-01T13:00:01.500+01:00,1.5,1000,19,6,12.5,,\n",
         "line 2: expected 7 fields, found 8"},
        {header + "2026-03-01T13:00:01.500+01:00,1.5,1000,,12.5x,,\n",
         "line 2: \"12.5x\" in column bus_volts is not a number"},
        {header + "yesterday,1.5,1000,,,,\n", "line 2: \"yesterday\" in column time is not a time"},
        // A multi-line event counts its lines, so the fault after it is named where it is.
        {header + "2026-03-01T13:00:01.500+01:00,1.5,,,,,\"a\nb\"\n" + good + "x\n",
         "line 5: expected 7 fields, found 1"},
    };
    for (const auto &c : cases) {
        const RecordingRead read = parseRecording(c.text);
        EXPECT_EQ(read.error.rfind(c.error, 0), 0u) << read.error << "\n wanted " << c.error;
        EXPECT_TRUE(read.recording.rpm.empty()) << c.error; // nothing half-read is shown
    }
}

TEST(RecordingReader, AcceptsAByteOrderMarkLfEndingsAndABlankLastLine)
{
    const RecordingRead read =
        parseRecording("\xEF\xBB\xBFtime,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\n"
                       "2026-03-01T13:00:01.500+01:00,1.500,1000,,,,\n\n");
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.recording.rpm.size(), 1u);
}

TEST(RecordingReader, LeavesOutALastRowCutShortButReadsACompleteOne)
{
    const std::string header = "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n";
    const std::string row = "2026-03-01T13:00:01.500+01:00,1.500,1000,,,,";
    for (const std::string &cut : {row.substr(0, 20), row.substr(0, 38),
                                   std::string(",,,,,,\"open"), std::string(",,,,,,\"a \"\"b")}) {
        const RecordingRead read = parseRecording(header + row + "\r\n" + cut);
        EXPECT_EQ(read.error, "") << cut;
        EXPECT_EQ(read.recording.rpm.size(), 1u) << cut;
    }
    EXPECT_EQ(parseRecording(header + row + "\r\n" + row).recording.rpm.size(), 2u);
    // Cut short in the middle, not at the end: that is a malformed file.
    EXPECT_NE(parseRecording(header + row.substr(0, 20) + "\r\n" + row).error, "");
}

// A quote left open in the middle once swallowed the rest of the file as a "last row cut
// short", and the chart came up empty without a word.
TEST(RecordingReader, AQuoteLeftOpenInTheMiddleIsMalformedWithItsLine)
{
    const std::string header = "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\n";
    const std::string row = "2026-03-01T13:00:01.500+01:00,1.500,1000,,,,\n";
    const RecordingRead read =
        parseRecording(header + row + "2026-03-01T13:00:02.000+01:00,2.0,,,,,\"open\n" + row + row);
    EXPECT_EQ(read.error, "line 3: a quoted field is not closed");
    EXPECT_TRUE(read.recording.rpm.empty());
    // A long file after the open quote: the field bound ends it, still naming the line.
    std::string rest;
    for (int i = 0; i < 100; ++i)
        rest += row;
    EXPECT_EQ(parseRecording(header + row + ",,,,,,\"open\n" + rest).error.rfind("line 3: ", 0),
              0u);
}

// A field or a row past its bound is a malformed row; the message quotes a few dozen
// characters of it, never the whole field.
TEST(RecordingReader, BoundsFieldsAndRowsAndQuotesLittleOfThem)
{
    const std::string header = "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\n";
    const std::string row = "2026-03-01T13:00:01.500+01:00,1.500,1000,,,,";
    const std::string hugeEvent = row + "\"" + std::string(5'000'000, 'x') + "\"\n";
    const RecordingRead field = parseRecording(header + hugeEvent);
    EXPECT_EQ(
        field.error.rfind("line 2: a quoted field not closed within 1024 characters: \"xxx", 0), 0u)
        << field.error.substr(0, 200);
    EXPECT_LT(field.error.size(), 120u);
    const RecordingRead wide = parseRecording(header + row + std::string(5000, ',') + "\n");
    EXPECT_EQ(wide.error, "line 2: a row longer than 4096 characters");
    const RecordingRead badTime = parseRecording(header + std::string(1000, 'y') + ",1,,,,,\n");
    EXPECT_LT(badTime.error.size(), 120u) << badTime.error;
    EXPECT_NE(badTime.error.find("yyy…\" in column time"), std::string::npos) << badTime.error;

    // Binary in a field is quoted escaped, a printable character (UTF-8 included) as it is, and
    // a long binary field still gives a short message.
    const std::string binary("\x1b[2J\x07\xff\\ok \xc3\xa9\xc3", 13);
    const RecordingRead escaped = parseRecording(header + row.substr(0, 36) + binary + ",,,,\n");
    EXPECT_EQ(escaped.error,
              "line 2: \"\\x1b[2J\\x07\\xff\\\\ok \xc3\xa9\\xc3\" in column rpm is not a number");
    const RecordingRead noise =
        parseRecording(header + row.substr(0, 36) + std::string(1000, '\x01') + ",,,,\n");
    EXPECT_LT(noise.error.size(), 240u) << noise.error;
    EXPECT_EQ(noise.error.find('\x01'), std::string::npos);
}

// No recorded quantity comes near a million: a larger value is a broken file, not something to
// stretch the chart's axis to "inf" for. Rows out of time order (the clock set back) are kept
// and counted, and the series handed on in time order.
TEST(RecordingReader, RefusesAbsurdValuesAndPutsRowsInTimeOrder)
{
    const std::string header = "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\n";
    for (const char *value : {"1e308", "-2000000", "1000000.5"}) {
        const RecordingRead read =
            parseRecording(header + "2026-03-01T13:00:01.500+01:00,1.5," + value + ",,,,\n");
        EXPECT_EQ(read.error, "line 2: \"" + std::string(value) +
                                  "\" in column rpm is beyond +-1000000, which no recorded "
                                  "quantity reaches");
    }
    const RecordingRead read = parseRecording(header + "2026-03-01T13:00:05.000+01:00,5,500,,,,\n"
                                                       "2026-03-01T13:00:01.000+01:00,6,100,,,,a\n"
                                                       "2026-03-01T13:00:07.000+01:00,7,700,,,,\n"
                                                       "2026-03-01T13:00:03.000+01:00,8,300,,,,\n");
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.rowsOutOfOrder, 2u);
    std::vector<double> values;
    for (const TrendPoint &p : read.recording.rpm)
        values.push_back(p.v);
    EXPECT_EQ(values, (std::vector<double>{100, 300, 500, 700}));
    EXPECT_EQ(parseRecording(header + "2026-03-01T13:00:05.000+01:00,5,500,,,,\n").rowsOutOfOrder,
              0u);
}

// Read in pieces of any size, a text gives what it gives whole: a byte order mark, a doubled
// quote or a CR LF split between two pieces included.
TEST(RecordingReader, PiecesOfAnySizeReadAsTheWhole)
{
    RunRecorder r(at(0));
    std::string text = "\xEF\xBB\xBF" + std::string(RunRecorder::header());
    text += r.eventRow({RunEventKind::Unclassified, "say \"hi\", twice\nover two lines"}, at(0));
    for (int i = 0; i < 20; ++i)
        text += r.telemetryRow({1000.0 + i, 20.0, 12.5, {}}, at(100 * i));
    text += "2026-03-01T13:00:0";
    const RecordingRead whole = parseRecording(text);
    ASSERT_EQ(whole.error, "");
    for (std::size_t piece : {1u, 2u, 3u, 7u, 64u}) {
        RecordingParser parser;
        for (std::size_t at = 0; at < text.size(); at += piece)
            parser.feed(text.data() + at, std::min(piece, text.size() - at));
        const RecordingRead read = parser.finish();
        EXPECT_EQ(read.error, "") << piece;
        EXPECT_EQ(read.recording.rpm.size(), 20u) << piece;
        ASSERT_EQ(read.recording.events.size(), 1u) << piece;
        EXPECT_EQ(read.recording.events[0].text, "say \"hi\", twice\nover two lines");
    }
}

// Thinned for drawing, a long series keeps only points the file holds, and every peak.
TEST(RecordingThin, KeepsTheLowestAndHighestOfEachRun)
{
    Recording r;
    for (int i = 0; i < 100000; ++i)
        r.rpm.push_back({double(i), double(i % 1000)});
    r.rpm[54321].v = 99999;
    r.busVolts = {{1, 12.5}, {2, 13}};
    const Recording thin = thinnedForDrawing(r, 400);
    EXPECT_LE(thin.rpm.size(), 400u);
    EXPECT_EQ(thin.busVolts.size(), 2u);
    bool peak = false;
    for (std::size_t i = 0; i < thin.rpm.size(); ++i) {
        const TrendPoint &p = thin.rpm[i];
        EXPECT_EQ(r.rpm[std::size_t(p.t)].v, p.v) << "a point the file does not hold";
        EXPECT_TRUE(i == 0 || thin.rpm[i - 1].t < p.t);
        peak = peak || p.v == 99999;
    }
    EXPECT_TRUE(peak);
}

// Reading with a limit, a long text never holds more than about twice the limit per series,
// its highest value is still there, and the points kept cover the whole run evenly (the start
// is not thinned again at every step while the end is kept whole).
TEST(RecordingThin, AReadingWithALimitStaysWithinIt)
{
    RunRecorder r(at(0));
    RecordingParser parser;
    parser.limitPoints(1000);
    const std::string header = RunRecorder::header();
    parser.feed(header.data(), header.size());
    std::size_t most = 0;
    for (int i = 0; i < 50000; ++i) {
        const std::string row = i == 31416
                                    ? r.telemetryRow({65000.0, {}, {}, {}}, at(i * 10))
                                    : r.eventRow({RunEventKind::Mark, "mark 1"}, at(i * 10)) +
                                          r.telemetryRow({1000.0 + i % 7, {}, {}, {}}, at(i * 10));
        parser.feed(row.data(), row.size());
    }
    const RecordingRead read = parser.finish();
    ASSERT_EQ(read.error, "");
    most = read.recording.rpm.size();
    EXPECT_LE(most, 2000u);
    EXPECT_GE(most, 500u);
    EXPECT_EQ(read.recording.events.size(), 1000u);
    EXPECT_TRUE(std::any_of(read.recording.rpm.begin(), read.recording.rpm.end(),
                            [](const TrendPoint &p) { return p.v == 65000.0; }));
    const std::vector<TrendPoint> &rpm = read.recording.rpm;
    const double mean = (rpm.back().t - rpm.front().t) / double(rpm.size() - 1);
    for (std::size_t i = 1; i < rpm.size(); ++i)
        ASSERT_LE(rpm[i].t - rpm[i - 1].t, 4 * mean) << "at point " << i << " of " << rpm.size();
    EXPECT_LE(rpm.front().t - at(0).utcMs, 4 * mean);
}

TEST(RecordingReader, FifteenThousandRowsParseFast)
{
    RunRecorder r(at(0));
    std::string text = RunRecorder::header();
    for (int i = 0; i < 15000; ++i)
        text += r.telemetryRow({1000.0 + i % 2000, 20 + (i % 20) * 1.4, 12.5, 0.0}, at(i * 240));
    const auto begin = std::chrono::steady_clock::now();
    const RecordingRead read = parseRecording(text);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - begin)
                        .count();
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.recording.rpm.size(), 15000u);
    EXPECT_LT(ms, 300) << "parse of 15,000 rows took " << ms << " ms";
    std::printf("parse of 15,000 rows: %lld ms\n", static_cast<long long>(ms));
}

TEST(LiveTrend, KeepsFiveMinutesAndHandsTheChartOnlyTheChanges)
{
    LiveTrend trend;
    for (int s = 0; s < 4; ++s)
        trend.add(s * 1000.0, {1000.0 + s, {}, 12.0, {}});
    LiveTrend::Changes c = trend.takeChanges(Trend::EngineSpeed);
    EXPECT_EQ(c.dropFront, 0u);
    ASSERT_EQ(c.append.size(), 4u);
    EXPECT_DOUBLE_EQ(c.append[3].v, 1003);
    EXPECT_TRUE(trend.takeChanges(Trend::Advance).append.empty());
    EXPECT_TRUE(trend.hasChanges()); // bus voltage not taken yet

    // Five minutes later than the second point: the first two have left the span.
    trend.add(301500.0, {1500.0, 20.0, {}, {}});
    c = trend.takeChanges(Trend::EngineSpeed);
    EXPECT_EQ(c.dropFront, 2u);
    ASSERT_EQ(c.append.size(), 1u);
    EXPECT_DOUBLE_EQ(c.append[0].t, 301500.0);
    // Bus voltage was never taken: its dropped points are simply not handed over.
    c = trend.takeChanges(Trend::BusVolts);
    EXPECT_EQ(c.dropFront, 0u);
    EXPECT_EQ(c.append.size(), 2u);
    trend.takeChanges(Trend::Advance);
    EXPECT_FALSE(trend.hasChanges());
    EXPECT_EQ(trend.takeAll(Trend::EngineSpeed).size(), 3u);
}

// A line flooding reports (a thousand a second for ten minutes, in virtual time) leaves each
// series at most the cap, spread over the whole span, and a chart that follows the changes
// holds exactly what the trend holds.
TEST(LiveTrend, AFloodOfReportsStaysWithinTheCapAndTheChartInStep)
{
    LiveTrend trend;
    std::vector<TrendPoint> chart;
    const auto follow = [&] {
        const LiveTrend::Changes c = trend.takeChanges(Trend::EngineSpeed);
        ASSERT_LE(c.dropFront, chart.size());
        chart.erase(chart.begin(), chart.begin() + std::ptrdiff_t(c.dropFront));
        chart.insert(chart.end(), c.append.begin(), c.append.end());
    };
    double t = 0;
    for (int i = 0; i < 600'000; ++i, t += 1.0) {
        trend.add(t, {double(i % 7000), {}, {}, {}});
        trend.addEvent(t, {RunEventKind::StoreConfirmed, "stored"});
        if (i % 997 == 0)
            follow();
    }
    follow();
    const std::vector<TrendPoint> all = trend.takeAll(Trend::EngineSpeed);
    EXPECT_LE(all.size(), 12001u);
    EXPECT_GE(all.size(), 5000u) << "thinned far more than a chart needs";
    EXPECT_LE(trend.takeEvents().size(), 2000u);
    ASSERT_FALSE(all.empty());
    EXPECT_LE(all.front().t, t - 299'000) << "the span is no longer covered";
    EXPECT_GE(all.back().t, t - 100);
    // Every point kept is one that was reported, in time order, and the chart holds them all.
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].v, double(std::int64_t(all[i].t) % 7000));
        if (i > 0) {
            ASSERT_LT(all[i - 1].t, all[i].t);
        }
    }
    ASSERT_EQ(chart.size(), all.size());
    EXPECT_TRUE(std::equal(chart.begin(), chart.end(), all.begin(),
                           [](const TrendPoint &a, const TrendPoint &b) { return a.t == b.t; }));

    // A clock that jumps back and forth within the span, each report far from the last one
    // kept: the count still stays within the cap.
    for (int i = 0; i < 30'000; ++i)
        trend.add(t - (i % 2 ? 100'000 : 200'000) + i * 0.001, {1.0, {}, {}, {}});
    EXPECT_EQ(trend.takeAll(Trend::EngineSpeed).size(), 12000u);
}

TEST(RunObservers, PassEveryReportToEachObserverOnce)
{
    struct Count final : RunObserver
    {
        int telemetryCount = 0;
        std::string events;
        void telemetry(const TelemetryReport &) override { ++telemetryCount; }
        void event(const RunEvent &event) override { events += event.text + ";"; }
    } a, b;
    RunObservers all;
    all.add(&a);
    all.add(&b);
    all.add(&a); // a second add changes nothing
    all.telemetry({});
    all.event({RunEventKind::StoreConfirmed, "stored"});
    all.remove(&b);
    all.telemetry({});
    EXPECT_EQ(a.telemetryCount, 2);
    EXPECT_EQ(b.telemetryCount, 1);
    EXPECT_EQ(a.events, "stored;");
    EXPECT_EQ(b.events, "stored;");
}
