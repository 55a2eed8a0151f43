// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_reader.h"

#include "recording_thin.h"
#include "run_recording.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace quelo {

namespace {

constexpr std::size_t kColumns = 7;
const char *const kColumnNames[kColumns] = {"time",      "elapsed_s",      "rpm",  "advance_deg",
                                            "bus_volts", "prop_angle_deg", "event"};
const std::string kHeader = "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event";
const std::string kByteOrderMark = "\xEF\xBB\xBF";

bool readNumber(const std::string &field, double &value)
{
    if (field.empty())
        return false;
    // strtod follows the C locale's decimal point; recordings always use a point, so check that
    // the whole field was consumed and refuse a comma outright.
    if (field.find(',') != std::string::npos)
        return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtod(field.c_str(), &end);
    return errno == 0 && end == field.c_str() + field.size() && std::isfinite(value);
}

} // namespace

std::size_t printableAt(const std::string &text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return lead >= 0x20 && lead < 0x7F ? 1 : 0;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > text.size())
        return 0;
    unsigned long code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    const unsigned long least[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool control = code < 0xA0 || code == 0x2028 || code == 0x2029;
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= least[length] && code <= 0x10FFFF && !control && !surrogate ? length : 0;
}

namespace {

// A field as a message shows it: in quotes, with a byte that is not part of a printable
// character written \xNN (and a backslash \\), and cut once kMaxQuoted bytes of the field or of
// the text shown are taken, so that a huge or binary field cannot make a huge message or one
// that upsets a terminal.
std::string shown(const std::string &field)
{
    const std::size_t end = std::min(field.size(), RecordingParser::kMaxQuoted);
    std::string text = "\"";
    std::size_t i = 0;
    while (i < end && text.size() <= RecordingParser::kMaxQuoted) {
        const std::size_t length = printableAt(field, i);
        if (length > 0 && i + length > end)
            break; // a character the cut would split
        if (length == 0 || field[i] == '\\') {
            static const char hex[] = "0123456789abcdef";
            const auto b = static_cast<unsigned char>(field[i++]);
            text +=
                b == '\\' ? std::string("\\\\") : std::string{'\\', 'x', hex[b >> 4], hex[b & 15]};
            continue;
        }
        text.append(field, i, length);
        i += length;
    }
    return text + (i < field.size() ? "…\"" : "\"");
}

std::string lineText(std::size_t line)
{
    return "line " + std::to_string(line) + ": ";
}

// Reads one data row into the recording; returns the reason when it is malformed.
std::string takeRow(const std::vector<std::string> &f, Recording &r, double &t)
{
    const auto time = parseIsoTime(f[0]);
    if (!time)
        return shown(f[0]) + " in column time is not a time";
    t = double(*time);
    double value = 0;
    if (!readNumber(f[1], value))
        return shown(f[1]) + " in column elapsed_s is not a number";
    std::vector<TrendPoint> *series[] = {&r.rpm, &r.advanceDeg, &r.busVolts, &r.propAngleDeg};
    double values[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
        if (f[2 + i].empty())
            continue;
        if (!readNumber(f[2 + i], values[i]))
            return shown(f[2 + i]) + " in column " + kColumnNames[2 + i] + " is not a number";
        if (std::abs(values[i]) > RecordingParser::kMaxMagnitude)
            return shown(f[2 + i]) + " in column " + kColumnNames[2 + i] +
                   " is beyond +-1000000, which no recorded quantity reaches";
    }
    // Taken only once the whole row has read, so a bad row adds nothing.
    for (std::size_t i = 0; i < 4; ++i)
        if (!f[2 + i].empty())
            series[i]->push_back({t, values[i]});
    if (!f[6].empty())
        r.events.push_back({t, eventKindOf(f[6]), f[6]});
    return {};
}

void sortByTime(Recording &r)
{
    const auto earlier = [](const auto &a, const auto &b) { return a.t < b.t; };
    for (auto *series : {&r.rpm, &r.advanceDeg, &r.busVolts, &r.propAngleDeg})
        std::stable_sort(series->begin(), series->end(), earlier);
    std::stable_sort(r.events.begin(), r.events.end(), earlier);
}

} // namespace

RecordingParser::RecordingParser()
{
    startRow();
}

bool RecordingParser::feed(const char *data, std::size_t size)
{
    std::size_t i = 0;
    // The first three bytes are held back until it is known whether they are a byte order mark.
    while (!m_headDone && i < size) {
        m_head += data[i++];
        if (m_head.size() < kByteOrderMark.size())
            continue;
        m_headDone = true;
        if (m_head != kByteOrderMark)
            for (char c : m_head)
                consume(c);
    }
    for (; i < size && m_error.empty(); ++i)
        consume(data[i]);
    return m_error.empty();
}

void RecordingParser::consume(char c)
{
    if (!m_error.empty())
        return;
    if (++m_rowBytes > kMaxRowBytes)
        return fail("a row longer than " + std::to_string(kMaxRowBytes) + " characters");
    if (m_quoteSeen) {
        m_quoteSeen = false;
        if (c == '"')
            return append('"');
        m_quoted = false;
    }
    if (m_quoted) {
        if (c == '"') {
            m_quoteSeen = true;
            return;
        }
        if (c == '\n') {
            ++m_line;
            m_spansLines = true;
        }
        return append(c);
    }
    if (c == '"') {
        m_quoted = true;
    } else if (c == ',') {
        m_fields.emplace_back();
    } else if (c == '\n') {
        ++m_line;
        endRow();
    } else if (c != '\r') {
        append(c);
    }
}

void RecordingParser::append(char c)
{
    std::string &field = m_fields.back();
    if (field.size() >= kMaxFieldBytes) {
        const std::string what =
            m_quoted ? "a quoted field not closed within " : "a field longer than ";
        return fail(what + std::to_string(kMaxFieldBytes) + " characters: " + shown(field));
    }
    field += c;
}

void RecordingParser::endRow()
{
    if (!m_headerRead) {
        std::string header;
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            header += (i ? "," : "") + m_fields[i];
        if (header != kHeader)
            return fail("not a recording: the header should read " + kHeader);
        m_headerRead = true;
    } else if (m_fields.size() == 1 && m_fields[0].empty()) {
        // a blank line
    } else if (m_fields.size() != kColumns) {
        return fail("expected 7 fields, found " + std::to_string(m_fields.size()));
    } else {
        double t = 0;
        const std::string reason = takeRow(m_fields, m_recording, t);
        if (!reason.empty())
            return fail(reason);
        m_outOfOrder += t < m_latest ? 1 : 0;
        m_latest = std::max(m_latest, t);
        keepWithinLimit();
    }
    startRow();
}

void RecordingParser::keepWithinLimit()
{
    if (m_pointLimit == 0)
        return;
    Recording &r = m_recording;
    std::vector<TrendPoint> *const series[] = {&r.rpm, &r.advanceDeg, &r.busVolts, &r.propAngleDeg};
    for (std::size_t i = 0; i < m_thinning.size(); ++i)
        thinEvenly(*series[i], m_thinning[i], m_pointLimit);
    if (r.events.size() > m_pointLimit) {
        r.events.pop_back();
        m_eventsDropped = true;
    }
}

void RecordingParser::startRow()
{
    m_fields.assign(1, std::string());
    m_rowBytes = 0;
    m_spansLines = false;
    m_rowLine = m_line;
}

// The text ended without a line end: a last row cut short is left out, unless it is a quoted
// field that swallowed whole lines, which is a file broken in its middle.
void RecordingParser::takeLastRow()
{
    if (m_quoteSeen) {
        m_quoteSeen = false;
        m_quoted = false;
    }
    if (!m_headerRead)
        return endRow();
    if (m_quoted && m_spansLines)
        return fail("a quoted field is not closed");
    Recording probe;
    double t = 0;
    if (!m_quoted && m_fields.size() == kColumns && takeRow(m_fields, probe, t).empty())
        endRow();
}

void RecordingParser::fail(const std::string &reason)
{
    if (m_error.empty())
        m_error = lineText(m_rowLine) + reason;
}

RecordingRead RecordingParser::finish()
{
    if (!m_headDone) {
        m_headDone = true;
        for (char c : m_head)
            consume(c);
    }
    if (m_error.empty() && (m_rowBytes > 0 || !m_headerRead))
        takeLastRow();
    RecordingRead result;
    result.error = m_error;
    if (!m_error.empty())
        return result; // a malformed file shows nothing rather than a part
    if (m_outOfOrder > 0)
        sortByTime(m_recording);
    result.recording = std::move(m_recording);
    result.rowsOutOfOrder = m_outOfOrder;
    result.thinned =
        m_eventsDropped || std::any_of(m_thinning.begin(), m_thinning.end(),
                                       [](const EvenThinning &t) { return t.stride > 1; });
    return result;
}

RecordingRead parseRecording(const std::string &text)
{
    RecordingParser parser;
    parser.feed(text.data(), text.size());
    return parser.finish();
}

} // namespace quelo
