// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run_observer.h"
#include <array>

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace quelo {

// One value of a recorded quantity: t in UTC milliseconds since 1970 (as a double, exact for
// any date of this era), v in the recorded unit.
struct TrendPoint
{
    double t = 0;
    double v = 0;
};

// Where thinning a series evenly while it is read has come (thinEvenly, recording_thin.h).
struct EvenThinning
{
    std::size_t stride = 1;  // points read per bucket; 1: none thinned yet
    std::size_t settled = 0; // points[0, settled) are whole buckets; the rest wait for theirs
};

// An event row: its time (UTC ms), its kind as the event column's table reads it, its text.
struct RecordedEvent
{
    double t = 0;
    RunEventKind kind = RunEventKind::Unclassified;
    std::string text;
};

// A recording read back: one series per quantity, holding only the rows where it had a value,
// each in time order.
struct Recording
{
    std::vector<TrendPoint> rpm;
    std::vector<TrendPoint> advanceDeg;
    std::vector<TrendPoint> busVolts;
    std::vector<TrendPoint> propAngleDeg;
    std::vector<RecordedEvent> events;
};

struct RecordingRead
{
    Recording recording;
    std::string error; // empty when the whole text was read; else names the line at fault
    // Rows whose time is earlier than a row above them (the wall clock was set back while
    // recording). They are kept, and the series put in time order.
    std::size_t rowsOutOfOrder = 0;
    // The text held more points or events than the limit kept (RecordingParser::limitPoints).
    bool thinned = false;
};

// Reads the CSV text a recording holds (RFC 4180, CR LF or LF line ends, an optional UTF-8 byte
// order mark), piece by piece, so that a large file never has to be in memory whole. The first
// wrong line stops the reading and the recording is then empty: a wrong header, a row without
// exactly seven fields, a time or number that does not read, a value beyond +-kMaxMagnitude
// (no recorded quantity comes near it), a field over kMaxFieldBytes or a row over kMaxRowBytes,
// a quoted field still open when the text ends. Only the last line may be cut short (the
// recording was ended by a crash or a full disk): it is left out. Messages quote at most
// kMaxQuoted bytes of a field, a byte that is not part of a printable character as \xNN.
class RecordingParser
{
public:
    static constexpr std::size_t kMaxFieldBytes = 1024;
    static constexpr std::size_t kMaxRowBytes = 4096;
    static constexpr std::size_t kMaxQuoted = 40;
    static constexpr double kMaxMagnitude = 1e6;

    RecordingParser();

    // Bounds the memory a long recording takes: each series is kept within about twice
    // `points`, thinned evenly over the whole text (thinEvenly), and events past `points` are not
    // kept. Every point kept is still one the text holds. 0, the default, keeps everything.
    void limitPoints(std::size_t points) { m_pointLimit = points; }

    // The next piece of the text; false once the text is known to be malformed.
    bool feed(const char *data, std::size_t size);
    // The end of the text.
    RecordingRead finish();

private:
    void consume(char c);
    void append(char c);
    void endRow();
    void takeLastRow();
    void startRow();
    void fail(const std::string &reason);
    void keepWithinLimit();

    Recording m_recording;
    std::string m_error;
    std::string m_head; // the first bytes, until it is known whether they are a byte order mark
    bool m_headDone = false;
    bool m_headerRead = false;
    std::vector<std::string> m_fields;
    std::size_t m_rowBytes = 0;
    bool m_quoted = false;
    bool m_quoteSeen = false; // a quote inside a quoted field: doubled, or its end
    bool m_spansLines = false;
    std::size_t m_line = 1;
    std::size_t m_rowLine = 1;
    double m_latest = -std::numeric_limits<double>::infinity();
    std::size_t m_outOfOrder = 0;
    std::size_t m_pointLimit = 0;
    std::array<EvenThinning, 4> m_thinning{}; // rpm, advance, volts, propeller angle
    bool m_eventsDropped = false;
};

RecordingRead parseRecording(const std::string &text);

// The length of the well-formed UTF-8 sequence of a printable character at `i` of `text`, else
// 0 (a control character, a line or paragraph separator, a byte out of place): what a message
// may show as it is.
std::size_t printableAt(const std::string &text, std::size_t i);

} // namespace quelo
