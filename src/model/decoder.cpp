#include "decoder.h"

#include "window_state.h"
#include "mscomm.h"
#include "convert.h"
#include "int16.h"
#include "link_log.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

namespace quelo {

namespace {

// After this many read-backs that disagree with a write the module has not echoed, the write
// counts as refused: the module may ignore a value without echoing it.
constexpr int kMaxStaleRounds = 3;

bool isParameterReadBack(char letter)
{
    return kParameterLetters.find(letter) != std::string_view::npos;
}

std::string_view withoutLineEnd(const std::string &line)
{
    std::size_t end = line.size();
    if (end > 0 && line[end - 1] == '\n')
        --end;
    if (end > 0 && line[end - 1] == '\r')
        --end;
    return std::string_view(line).substr(0, end);
}

bool isHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The module answers a read with its letter and two hex digits, nothing else. Line noise that
// starts with one of those letters (a garbage burst in front of any reply, or a babbling line)
// would otherwise be taken as the module's value: put on the slider or in the version box,
// taken as confirming a change the module never received, or written back to the module.
bool wellFormedReadBack(const std::string &line)
{
    const std::string_view body = withoutLineEnd(line);
    return body.size() == 3 && isHexDigit(body[1]) && isHexDigit(body[2]);
}

// The module echoes a write as it got it: "/", the upper-case letter and, optionally, the
// decimal value ("/N35", "/C-9", "/W3", "/W").
bool wellFormedEcho(const std::string &line)
{
    std::string_view body = withoutLineEnd(line);
    if (body.size() < 2 || body[0] != '/' || body[1] < 'A' || body[1] > 'Z')
        return false;
    body.remove_prefix(2);
    if (!body.empty() && body[0] == '-')
        body.remove_prefix(1);
    else if (body.empty())
        return true;
    return !body.empty() && body.size() <= 6 &&
           std::all_of(body.begin(), body.end(), [](char c) { return isDigit(c); });
}

// The value an echo repeats, if it carries one that fits a slider.
std::optional<long long> echoedValue(const std::string &line)
{
    const std::string_view body = withoutLineEnd(line).substr(2);
    if (body.empty())
        return std::nullopt;
    return std::stoll(std::string(body));
}

} // namespace

std::string ledModeText(long long k)
{
    switch (k) {
    case 0:
        return "Kill Sw";
    case 1:
        return "Mode";
    case 2:
        return "Diag";
    case 3:
        return "Sensor";
    default:
        return {};
    }
}

std::string tachVoltsText(long long k)
{
    switch (k) {
    case 0:
        return "OC";
    case 1:
        return "5 volts";
    case 2:
        return "12 volts";
    default:
        return {};
    }
}

std::string advanceShiftText(long long k)
{
    const long long shift = k <= 20 ? k : k - 255;
    return decimalNumber(static_cast<double>(shift) * 1.4);
}

void LineDecoder::HandleInput(std::string &rBuff)
{
    m_comm.Tag = "1";
    try {
        decode(rBuff);
    } catch (...) {
        m_comm.Tag = "0";
        rBuff.clear();
        throw;
    }
    m_comm.Tag = "0";
    rBuff.clear();
}

void LineDecoder::cutField(const std::string &line, std::size_t first, std::size_t count)
{
    m_w.hexfield = first - 1 < line.size() ? line.substr(first - 1, count) : std::string();
}

void LineDecoder::decode(const std::string &line)
{
    if (line.empty())
        return;
    if (isParameterReadBack(line[0]) && !takeReadBack(line))
        return; // the read slot asks again, since the value box's flag stays as it was
    if ((line[0] == 'u' || line[0] == 'j') && !wellFormedReadBack(line))
        return; // noise: the version is asked again by the next probe, "j" when sent
    if (line[0] == '/' && !wellFormedEcho(line))
        return;
    switch (line[0]) {
    case '=':
        return telemetryFrame(line);
    case '/':
        return echoLine(line);
    case 'p':
        return propellerLine(line);
    case 'c':
        return advanceShiftReadBack(line);
    case 'u':
        return versionLine(line);
    case 't':
        return tachPulsesReadBack(line);
    case 'v':
        return tachVoltsReadBack(line);
    case 'd':
        return startDelayReadBack(line);
    case 'l':
        return ledModeReadBack(line);
    case 'n':
        return maxAdvanceReadBack(line);
    case 'm':
        return maxRpmReadBack(line);
    case 'x':
        return engineSpeedLine(line);
    case 'b':
        return advanceLine(line);
    case 'j':
        return shiftEnableLine(line);
    case 'w':
        return voltsLine(line);
    default:
        return;
    }
}

// A parameter read-back is taken only when it is well formed and its read command was sent
// since the last read-back of that letter: a line nobody asked for is noise.
bool LineDecoder::takeReadBack(const std::string &line)
{
    if (!wellFormedReadBack(line))
        return false;
    ParameterTraffic &t = m_w.traffic[kParameterLetters.find(line[0])];
    if (!t.readOutstanding)
        return false;
    t.readOutstanding = false;
    return true;
}

// A read-back that disagrees with a pending change is a refusal once the module has echoed
// the write of the slider's current value: replies come in order, so the module read its
// value after it took the write. Without that echo the read-back may have crossed the write
// on the wire and the user's value stays pending, but only for kMaxStaleRounds read-backs.
LineDecoder::Verdict LineDecoder::judge(char letter, const ScrollBar &slider, long long reported)
{
    ParameterTraffic &t = m_w.traffic[kParameterLetters.find(letter)];
    if (!tagIs(slider.Tag, 1) || reported == slider.Value()) {
        t = ParameterTraffic{t.readOutstanding};
        return Verdict::Take;
    }
    if (!t.writeQueued || t.writtenValue != slider.Value())
        return Verdict::KeepUsers; // the user's latest value has not been written yet
    if (!t.echoed && ++t.staleRounds < kMaxStaleRounds) {
        t.paced = true;
        return Verdict::KeepUsers;
    }
    t = ParameterTraffic{t.readOutstanding};
    return Verdict::Refused;
}

// The module's value has won: nothing stays pending, and the user is told once, on the status
// line's tooltip and in the link log, without interrupting anything.
void LineDecoder::refused(ScrollBar &slider, const char *name, const std::string &kept,
                          const std::string &asked)
{
    slider.Tag = "0";
    const std::string text =
        std::string("The module kept ") + name + " at " + kept + " (asked " + asked + ")";
    m_w.statusbox.ToolTip = text;
    m_log.event("refused: " + text);
}

void LineDecoder::telemetryFrame(const std::string &line)
{
    m_w.Timer4.setEnabled(false);

    // Engine speed: four digits; a value above 7FFF is not taken.
    cutField(line, 2, 4);
    const auto speed = Hex2Dec(m_w.hexfield);
    if (fitsInt16(speed)) {
        m_w.rpmtarget = toInt16(speed);
        m_w.rpmdial.Tag = "1";
    }

    // Advance: jumps the advance needle, which then glides back to advtarget.
    cutField(line, 6, 2);
    m_w.scratch = roundHalfEven16(toInt16(Hex2Dec(m_w.hexfield)) * 1.4);
    m_w.advdial.Value = m_w.scratch;
    m_w.proptarget = m_w.scratch;

    // Bus voltage in tenths of a volt, as on the "w" line.
    cutField(line, 12, 2);
    m_w.voltstarget = roundHalfEven16(toInt16(Hex2Dec(m_w.hexfield)) / 10.0);
    m_w.voltsdial.Tag = "1";
}

void LineDecoder::echoLine(const std::string &line)
{
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(line[1])));
    if (const auto index = kParameterLetters.find(letter); index != std::string_view::npos) {
        // The echo proves the module got the write it repeats; a bare echo repeats the last.
        ParameterTraffic &t = m_w.traffic[index];
        const auto value = echoedValue(line);
        t.echoed = t.writeQueued && (!value || *value == t.writtenValue);
    }
    switch (line[1]) {
    case 'W':
        m_w.Command3.BackColor = kDarkGrey;
        break;
    case 'D':
        m_w.cycledata.Text = decimalInteger(m_w.cyclescroll.Value());
        break;
    case 'L':
        m_w.leddata.Text = ledModeText(m_w.ledscroll.Value());
        break;
    case 'T':
        m_w.pprdata.Text = decimalInteger(m_w.pprscroll.Value());
        break;
    case 'V':
        m_w.vdata.Text = tachVoltsText(m_w.vscroll.Value());
        break;
    case 'C':
        m_w.conshiftdata.Text = decimalNumber(m_w.conshiftscroll.Value() * 1.4);
        break;
    case 'M':
        m_w.maxrpmdata.Text = decimalInteger(m_w.maxrpmscroll.Value() * 256);
        break;
    case 'N':
        m_w.maxadvancedata.Text = decimalNumber(m_w.maxadvancescroll.Value() * 1.4);
        break;
    default:
        break;
    }
}

void LineDecoder::propellerLine(const std::string &line)
{
    m_w.Timer4.setEnabled(false);
    cutField(line, 2, 2);
    m_w.propcount = toInt16(Hex2Dec(m_w.hexfield));
    m_w.scratch = dropFraction16(m_w.propcount * 1.406);
    if (m_w.scratch > 360)
        m_w.scratch = 360;
    m_w.proptarget = m_w.scratch;
}

void LineDecoder::versionLine(const std::string &line)
{
    cutField(line, 2, 2);
    m_w.revdata.Text = hexValueText(Hex2Dec(m_w.hexfield));
    m_w.revdata.Tag = "1";
    m_w.Timer4.setEnabled(false);
    m_w.pollstring.clear();
    if (tagIs(m_w.Tag, 1)) {
        m_w.Tag = "0";
        m_w.statusbox.Text = "Connected Comm Port " + decimalInteger(m_comm.CommPort());
        m_w.statusbox.ToolTip.clear();
        m_w.Timer3.setEnabled(true);
        m_w.Timer1.setEnabled(true);
        m_w.Timer2.setEnabled(true);
        m_w.Timer5.setEnabled(false);
    }
}

void LineDecoder::engineSpeedLine(const std::string &line)
{
    cutField(line, 2, 4);
    const auto speed = Hex2Dec(m_w.hexfield);
    if (!fitsInt16(speed))
        return; // above 7FFF: not taken
    m_w.scratch = toInt16(speed);
    if (m_w.scratch < 50)
        m_w.scratch = 0;
    m_w.rpmtarget = m_w.scratch;
    m_w.rpmdial.Tag = "1";
}

void LineDecoder::advanceLine(const std::string &line)
{
    cutField(line, 2, 2);
    m_w.advtarget = roundHalfEven16(toInt16(Hex2Dec(m_w.hexfield)) * 1.4);
}

void LineDecoder::voltsLine(const std::string &line)
{
    cutField(line, 2, 2);
    m_w.voltstarget = roundHalfEven16(toInt16(Hex2Dec(m_w.hexfield)) / 10.0);
    m_w.voltsdial.Tag = "1";
}

// The read-backs run their steps in a fixed order: where the slider is set before its flag is
// cleared, a changed value raises no write; where the flag is cleared first, the value the
// module reported is written back once. A value outside the slider's range is shown in the
// value box but never put on the slider, so no write of it can follow. A refused change runs
// the same steps and then clears the flag: the module's value is not written back to it.

void LineDecoder::tachPulsesReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const std::int16_t asked = m_w.pprscroll.Value();
    const Verdict verdict = judge('t', m_w.pprscroll, k);
    const bool pending = verdict == Verdict::KeepUsers;
    if (!pending && m_w.pprscroll.inRange(k))
        m_w.pprscroll.setValue(k);
    m_w.pprdata.Text = decimalInteger(k);
    m_w.pprdata.Tag = "1";
    if (!pending)
        m_w.pprscroll.Tag = "0";
    m_w.pprscroll.Visible = true;
    if (verdict == Verdict::Refused)
        refused(m_w.pprscroll, "TACH - Pulse / Rev", decimalInteger(k), decimalInteger(asked));
}

void LineDecoder::tachVoltsReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    if (k > 2)
        return; // not a tach-volts setting: the whole line is ignored
    const std::int16_t asked = m_w.vscroll.Value();
    const Verdict verdict = judge('v', m_w.vscroll, k);
    const bool pending = verdict == Verdict::KeepUsers;
    if (!pending)
        m_w.vscroll.setValue(k);
    m_w.vdata.Text = tachVoltsText(k);
    m_w.vdata.Tag = "1";
    if (!pending)
        m_w.vscroll.Tag = "0";
    m_w.vscroll.Visible = true;
    if (verdict == Verdict::Refused)
        refused(m_w.vscroll, "TACH - VOLTS", tachVoltsText(k), tachVoltsText(asked));
}

void LineDecoder::ledModeReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const std::int16_t asked = m_w.ledscroll.Value();
    const Verdict verdict = judge('l', m_w.ledscroll, k);
    const bool pending = verdict == Verdict::KeepUsers;
    m_w.leddata.Text = ledModeText(k);
    if (!pending && m_w.ledscroll.inRange(k))
        m_w.ledscroll.setValue(k);
    m_w.leddata.Tag = "1";
    if (!pending)
        m_w.ledscroll.Tag = "0";
    m_w.ledscroll.Visible = true;
    if (verdict == Verdict::Refused)
        refused(m_w.ledscroll, "LED MODE", ledModeText(k), ledModeText(asked));
}

void LineDecoder::startDelayReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const std::int16_t asked = m_w.cyclescroll.Value();
    const Verdict verdict = judge('d', m_w.cyclescroll, k);
    const bool pending = verdict == Verdict::KeepUsers;
    m_w.cycledata.Text = decimalInteger(k);
    m_w.cycledata.Tag = "1";
    if (!pending)
        m_w.cyclescroll.Tag = "0";
    if (!pending && m_w.cyclescroll.inRange(k))
        m_w.cyclescroll.setValue(k);
    m_w.cyclescroll.Visible = true;
    if (verdict == Verdict::Refused)
        refused(m_w.cyclescroll, "RUN MODE START DELAY", decimalInteger(k), decimalInteger(asked));
}

void LineDecoder::maxAdvanceReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const std::int16_t asked = m_w.maxadvancescroll.Value();
    const Verdict verdict = judge('n', m_w.maxadvancescroll, k);
    const bool pending = verdict == Verdict::KeepUsers;
    m_w.maxadvancedata.Text = decimalNumber(k * 1.4);
    m_w.maxadvancedata.Tag = "1";
    if (!pending)
        m_w.maxadvancescroll.Tag = "0";
    m_w.advdial.setBandSelector(3);
    m_w.advdial.setBandEndValue(k * 1.4);
    if (!pending && m_w.maxadvancescroll.inRange(k))
        m_w.maxadvancescroll.setValue(k);
    m_w.maxadvancescroll.Visible = true;
    if (verdict == Verdict::Refused)
        refused(m_w.maxadvancescroll, "MAX ADVANCE LIMIT", decimalNumber(k * 1.4),
                decimalNumber(asked * 1.4));
}

void LineDecoder::maxRpmReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const std::int16_t asked = m_w.maxrpmscroll.Value();
    const Verdict verdict = judge('m', m_w.maxrpmscroll, k);
    const bool pending = verdict == Verdict::KeepUsers;
    const long long limit = static_cast<long long>(k) * 256; // up to 65280: wider than 16 bits
    m_w.maxrpmdata.Text = decimalInteger(limit);
    m_w.maxrpmdata.Tag = "1";
    if (!pending)
        m_w.maxrpmscroll.Tag = "0";
    m_w.rpmdial.setBandSelector(3);
    m_w.rpmdial.setBandEndValue(static_cast<double>(limit));
    if (!pending && m_w.maxrpmscroll.inRange(k))
        m_w.maxrpmscroll.setValue(k);
    m_w.maxrpmscroll.Visible = true;
    if (verdict == Verdict::Refused)
        refused(m_w.maxrpmscroll, "MAX RPM LIMIT", decimalInteger(limit),
                decimalInteger(asked * 256LL));
}

// The module reports a negative shift s as 255 + s; the comparison with the slider is made in
// slider units, so a matching report confirms a pending change. The slider itself never moves.
void LineDecoder::advanceShiftReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const long long shift = k <= 20 ? k : k - 255;
    const Verdict verdict = judge('c', m_w.conshiftscroll, shift);
    m_w.conshiftdata.Text = advanceShiftText(k);
    m_w.conshiftdata.Tag = "1";
    if (verdict != Verdict::KeepUsers)
        m_w.conshiftscroll.Tag = "0";
    m_w.conshiftscroll.Visible = true;
    if (verdict == Verdict::Refused)
        refused(m_w.conshiftscroll, "ADVANCE SHIFT", advanceShiftText(k),
                decimalNumber(m_w.conshiftscroll.Value() * 1.4));
}

void LineDecoder::shiftEnableLine(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    m_w.conshiftdata.Enabled = k != 0;
    m_w.conshiftdata.Tag = "1";
}

} // namespace quelo
