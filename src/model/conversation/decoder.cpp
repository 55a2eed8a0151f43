// SPDX-License-Identifier: GPL-3.0-or-later
#include "decoder.h"

#include "convert.h"
#include "hex2dec.h"
#include "int16.h"
#include "link_log.h"
#include "parameters.h"
#include "reply.h"
#include "run_observer.h"
#include "scheduler.h"
#include "store_progress.h"

#include <algorithm>

namespace quelo {

namespace {

// After this many read-backs that disagree with a write the module has not echoed, the write
// counts as refused: the module may ignore a value without echoing it.
constexpr int kMaxStaleRounds = 3;

constexpr double kTenthsPerVolt = 10.0;

void raise(const std::function<void()> &event)
{
    if (event)
        event();
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The reply parser knows the letters of the module's lines when this program was written. A
// line it does not know that has a read-back's shape (a lower-case letter and two hex digits,
// then the line end) is taken as a read-back: the parameter table decides whether its letter
// names a parameter.
Reply withUnknownReadBack(Reply reply, const std::string &line)
{
    if (reply.kind != ReplyKind::Ignored)
        return reply;
    std::size_t size = line.size();
    if (size > 0 && line[size - 1] == '\n')
        --size;
    if (size > 0 && line[size - 1] == '\r')
        --size;
    if (size == 3 && line[0] >= 'a' && line[0] <= 'z' && isHexDigit(line[1]) &&
        isHexDigit(line[2])) {
        reply.field = line.substr(1, 2);
        reply.shapeOk = true;
    }
    return reply;
}

} // namespace

LineDecoder::LineDecoder(WindowState &w, const LinkLog &log, ReplyEvents events)
    : m_reply(w), m_rows(w), m_needles(w), m_log(log), m_events(std::move(events))
{
}

void LineDecoder::HandleInput(std::string &rBuff)
{
    try {
        decode(withUnknownReadBack(parseReply(rBuff), rBuff));
    } catch (...) {
        rBuff.clear();
        throw;
    }
    rBuff.clear();
}

// The field goes through hexfield, the window's working text, as every field does.
std::int16_t LineDecoder::fieldValue(const std::string &field)
{
    m_reply.hexfield = field;
    return toInt16(Hex2Dec(m_reply.hexfield));
}

void LineDecoder::decode(const Reply &reply)
{
    // A line not in the module's shape is noise: a read-back's slot asks again, since the value
    // box's flag stays as it was, and the version is asked again by the next probe.
    if (!reply.shapeOk)
        return;
    switch (reply.kind) {
    case ReplyKind::Telemetry:
        return telemetryFrame(reply);
    case ReplyKind::Echo:
        return echoLine(reply);
    case ReplyKind::Propeller:
        return propellerLine(reply);
    case ReplyKind::Version:
        return versionLine(reply);
    case ReplyKind::EngineSpeed:
        return engineSpeedLine(reply);
    case ReplyKind::Advance:
        return advanceLine(reply);
    case ReplyKind::ShiftEnable:
        return shiftEnableLine(reply);
    case ReplyKind::BusVolts:
        return voltsLine(reply);
    case ReplyKind::AdvanceShift:
    case ReplyKind::TachPulses:
    case ReplyKind::TachVolts:
    case ReplyKind::StartDelay:
    case ReplyKind::LedMode:
    case ReplyKind::MaxAdvance:
    case ReplyKind::MaxRpm:
    case ReplyKind::Ignored: // only in a read-back's shape: others fail the check above
        return readBackLine(reply);
    }
}

void LineDecoder::telemetryFrame(const Reply &reply)
{
    raise(m_events.probeAnswered);

    // Engine speed: four digits; a value above 7FFF is not taken.
    m_reply.hexfield = reply.field;
    const auto speed = Hex2Dec(m_reply.hexfield);
    const bool speedTaken = fitsInt16(speed);
    if (speedTaken) {
        m_reply.rpmtarget = toInt16(speed);
        m_needles.rpmdial.Tag = "1";
    }

    // Advance: jumps the advance needle, which then glides back to advtarget.
    const std::int16_t advance = fieldValue(reply.advanceField);
    m_reply.scratch = roundHalfEven16(advance * kDegreesPerCount);
    m_needles.advdial.Value = m_reply.scratch;
    m_reply.proptarget = m_reply.scratch;

    // Bus voltage in tenths of a volt, as on the "w" line.
    const std::int16_t tenths = fieldValue(reply.voltsField);
    m_reply.voltstarget = roundHalfEven16(tenths / kTenthsPerVolt);
    m_needles.voltsdial.Tag = "1";

    if (!m_observer)
        return;
    TelemetryReport report;
    if (speedTaken)
        report.rpm = m_reply.rpmtarget;
    report.advanceDeg = advance * kDegreesPerCount;
    report.busVolts = tenths / kTenthsPerVolt;
    m_observer->telemetry(report);
}

// An echo refreshes the value box from the slider, or confirms the store; it touches no flag.
// It does record that the module got the write it repeats (a bare echo repeats the last). The
// store button turns dark grey only when the module's stored configuration holds every change
// the user made, as the window shows it.
void LineDecoder::echoLine(const Reply &reply)
{
    if (reply.letter == 'W') {
        noteStoreEcho(m_rows.store);
        ++m_storeEchoes;
        // "stored" only when the stored configuration holds every change of the user's.
        if (!storeHoldsWhatIsShown(m_rows))
            return;
        m_rows.Command3.BackColor = kDarkGrey;
        if (m_observer)
            m_observer->event({RunEventKind::StoreConfirmed, "stored"});
        if (m_events.tell)
            m_events.tell("Configuration stored");
        m_log.event("store: Configuration stored");
        return;
    }
    const Parameter *p = parameterByWriteLetter(reply.letter);
    if (!p)
        return;
    ParameterTraffic &t = m_rows.traffic[indexOf(*p)];
    t.echoed = t.writeQueued && (!reply.echoValue || *reply.echoValue == t.writtenValue);
    // A module just connected has not reported this value yet: its box stays empty, whatever
    // an echo of a write to the module before repeats.
    if (m_rows.readInConnection[indexOf(*p)])
        (m_rows.*p->box).Text = p->text((m_rows.*p->slider).Value());
}

void LineDecoder::propellerLine(const Reply &reply)
{
    raise(m_events.probeAnswered);
    m_reply.propcount = fieldValue(reply.field);
    m_reply.scratch = dropFraction16(m_reply.propcount * kPropDegreesPerCount);
    if (m_reply.scratch > kMaxPropDegrees)
        m_reply.scratch = kMaxPropDegrees;
    m_reply.proptarget = m_reply.scratch;
    if (m_observer) {
        TelemetryReport report;
        report.propAngleDeg =
            std::min(m_reply.propcount * kPropDegreesPerCount, double(kMaxPropDegrees));
        m_observer->telemetry(report);
    }
}

void LineDecoder::versionLine(const Reply &reply)
{
    m_reply.hexfield = reply.field;
    m_reply.revdata.Text = hexValueText(Hex2Dec(m_reply.hexfield));
    m_reply.revdata.Tag = "1";
    raise(m_events.probeAnswered);
    raise(m_events.versionAnswered);
}

void LineDecoder::engineSpeedLine(const Reply &reply)
{
    m_reply.hexfield = reply.field;
    const auto speed = Hex2Dec(m_reply.hexfield);
    if (!fitsInt16(speed))
        return; // above 7FFF: not taken
    m_reply.scratch = toInt16(speed);
    if (m_reply.scratch < kRunningRpm)
        m_reply.scratch = 0;
    m_reply.rpmtarget = m_reply.scratch;
    m_needles.rpmdial.Tag = "1";
    if (m_observer) {
        TelemetryReport report;
        report.rpm = m_reply.rpmtarget;
        m_observer->telemetry(report);
    }
}

void LineDecoder::advanceLine(const Reply &reply)
{
    const std::int16_t count = fieldValue(reply.field);
    m_reply.advtarget = roundHalfEven16(count * kDegreesPerCount);
    if (m_observer) {
        TelemetryReport report;
        report.advanceDeg = count * kDegreesPerCount;
        m_observer->telemetry(report);
    }
}

void LineDecoder::voltsLine(const Reply &reply)
{
    const std::int16_t tenths = fieldValue(reply.field);
    m_reply.voltstarget = roundHalfEven16(tenths / kTenthsPerVolt);
    m_needles.voltsdial.Tag = "1";
    if (m_observer) {
        TelemetryReport report;
        report.busVolts = tenths / kTenthsPerVolt;
        m_observer->telemetry(report);
    }
}

void LineDecoder::shiftEnableLine(const Reply &reply)
{
    m_rows.conshiftdata.Enabled = fieldValue(reply.field) != 0;
    m_rows.conshiftdata.Tag = "1";
}

// A parameter read-back is taken only when its read command was sent since the last read-back
// of that letter: a line nobody asked for is noise. Its row in the parameter table says what
// the report means and in which order the steps run. A letter with no row is logged.
void LineDecoder::readBackLine(const Reply &reply)
{
    const Parameter *p = parameterByLetter(reply.letter);
    if (!p) {
        m_log.event("unknown: read-back " + std::string(1, reply.letter) + reply.field +
                    ", no parameter has the letter " + std::string(1, reply.letter));
        return;
    }
    ParameterTraffic &traffic = m_rows.traffic[indexOf(*p)];
    if (!traffic.readOutstanding)
        return;
    traffic.readOutstanding = false;
    const std::int16_t k = fieldValue(reply.field);
    const ReadBackRule &rule = p->readBack;
    if (rule.dropsAboveRange && k > p->range.max)
        return;
    ReadBack r = beginReadBack(*p, rule.toSlider(k));
    switch (rule.order) {
    case ReadBackOrder::SliderFirst:
        setSlider(r);
        showValue(r);
        break;
    case ReadBackOrder::BoxFirst:
        showValue(r);
        setSlider(r);
        break;
    case ReadBackOrder::FlagFirst:
        showValue(r);
        markReported(r);
        clearPending(r);
        moveLimitBand(r);
        setSlider(r);
        return finishReadBack(r);
    }
    markReported(r);
    clearPending(r);
    moveLimitBand(r);
    finishReadBack(r);
}

// The inner band of the advance and rpm gauges ends at the configured limit.
void LineDecoder::moveLimitBand(const ReadBack &r)
{
    constexpr std::int16_t kLimitBand = 3;
    if (!r.p.readBack.limitDial)
        return;
    Gauge &dial = m_needles.*r.p.readBack.limitDial;
    dial.setBandSelector(kLimitBand);
    dial.setBandEndValue(static_cast<double>(r.k) * r.p.unitsPerCount);
}

LineDecoder::ReadBack LineDecoder::beginReadBack(const Parameter &p, long long k)
{
    ScrollBar &slider = m_rows.*p.slider;
    const std::int16_t asked = slider.Value();
    const bool current = !m_rows.traffic[indexOf(p)].writtenSinceRead;
    const Verdict verdict = judge(p, slider, k, current);
    return ReadBack{p, slider, m_rows.*p.box, k, asked, current, verdict};
}

// A value outside the slider's range is shown in the value box but never put on the slider,
// so no write of it can follow.
void LineDecoder::setSlider(ReadBack &r)
{
    if (r.verdict != Verdict::KeepUsers && r.slider.inRange(r.k))
        r.slider.setValue(static_cast<std::int16_t>(r.k));
}

void LineDecoder::showValue(ReadBack &r)
{
    r.box.Text = r.p.text(r.k);
}

// A read-back answering a read command that a write of the parameter followed does not report
// the value since it was last written: the flag stays, so its read slot asks again.
void LineDecoder::markReported(ReadBack &r)
{
    if (r.current)
        r.box.Tag = "1";
}

void LineDecoder::clearPending(ReadBack &r)
{
    if (r.verdict != Verdict::KeepUsers)
        r.slider.Tag = "0";
}

// The slider shows, and the user is told once of a refused change, without interrupting
// anything. The refused value is not written again: the slider now holds the module's value,
// which "d", "n" and "m" (their flag cleared before the slider moved) write back once and read
// back once more, as at connection.
void LineDecoder::finishReadBack(ReadBack &r)
{
    tellReported(r.p, r.k);
    m_rows.readInConnection[indexOf(r.p)] = true;
    r.slider.Visible = true;
    if (r.verdict != Verdict::Refused)
        return;
    const std::string text = std::string("The module kept ") + r.p.name + " at " + r.p.text(r.k) +
                             " (asked " + r.p.text(r.asked) + ")";
    if (m_events.tell)
        m_events.tell(text);
    m_log.event("refused: " + text);
}

std::optional<long long> LineDecoder::lastReported(const Parameter &p) const
{
    return m_lastReported[indexOf(p)];
}

// The observer hears of a parameter when the module reports another value than it last did
// (or the first one), whoever changed it.
void LineDecoder::tellReported(const Parameter &p, long long k)
{
    std::optional<long long> &last = m_lastReported[indexOf(p)];
    if (last == k)
        return;
    last = k;
    if (m_observer)
        m_observer->event({RunEventKind::ParameterReported, std::string(p.key) + "=" + p.text(k)});
}

// A read-back that disagrees with a pending change is a refusal once the module has echoed
// the write of the slider's current value: replies come in order, so the module read its
// value after it took the write. Without that echo the read-back may have crossed the write
// on the wire and the user's value stays pending, but only for kMaxStaleRounds read-backs and
// only while the value is still being written. A read-back answering a read command that a
// write followed says nothing of that write: it neither confirms nor refuses. A value given up
// unconfirmed that the module reports otherwise was refused.
LineDecoder::Verdict LineDecoder::judge(const Parameter &p, const ScrollBar &slider,
                                        long long reported, bool current)
{
    ParameterTraffic &t = m_rows.traffic[indexOf(p)];
    const bool refusedEarlier = t.unconfirmed && reported != slider.Value();
    if (refusedEarlier) {
        t = ParameterTraffic{t.readOutstanding};
        t.afterRefusal = true;
        return Verdict::Refused;
    }
    // No change of the user's pending (none, or the module's own value being written back):
    // the module's value is taken as it comes.
    if (!writePending(slider) || !t.userChange) {
        t = ParameterTraffic{t.readOutstanding};
        return Verdict::Take;
    }
    if (!current)
        return Verdict::KeepUsers;
    if (reported == slider.Value()) {
        t = ParameterTraffic{t.readOutstanding};
        return Verdict::Take;
    }
    if (!t.writeQueued || t.writtenValue != slider.Value())
        return Verdict::KeepUsers; // the user's latest value has not been written yet
    const bool writesOver = t.readRounds >= CommandScheduler::kWriteRounds;
    if (!t.echoed && !writesOver && ++t.staleRounds < kMaxStaleRounds)
        return Verdict::KeepUsers;
    t = ParameterTraffic{t.readOutstanding};
    t.afterRefusal = true;
    return Verdict::Refused;
}

} // namespace quelo
