#include "decoder.h"

#include "window_state.h"
#include "mscomm.h"
#include "convert.h"
#include "int16.h"

#include <cctype>
#include <string_view>

namespace quelo {

namespace {

// A read-back must not undo a change the user made that the module has not confirmed yet:
// while a slider's flag is "1" and the module reports a different value, the slider keeps the
// user's value and its flag, so the scheduler goes on writing it.
bool userChangePending(const ScrollBar &slider, long long reported)
{
    return tagIs(slider.Tag, 1) && reported != slider.Value();
}

// A parameter read-back is its letter and two hex digits, nothing else. Line noise that starts
// with one of those letters (a garbage burst in front of any reply, or a babbling line) would
// otherwise be read as the module's value: put on the slider, taken as confirming a change the
// module never received, or even written to the module as if the user had chosen it.
bool isParameterReadBack(char letter)
{
    return std::string_view("ctvdlnm").find(letter) != std::string_view::npos;
}

bool wellFormedReadBack(const std::string &line)
{
    std::size_t end = line.size();
    if (end > 0 && line[end - 1] == '\n')
        --end;
    if (end > 0 && line[end - 1] == '\r')
        --end;
    return end == 3 && std::isxdigit(static_cast<unsigned char>(line[1])) &&
           std::isxdigit(static_cast<unsigned char>(line[2]));
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
    if (isParameterReadBack(line[0]) && !wellFormedReadBack(line))
        return; // the read slot asks again, since the value box's flag stays as it was
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
    if (line.size() < 2)
        return;
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
// value box but never put on the slider, so no write of it can follow.

void LineDecoder::tachPulsesReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const bool pending = userChangePending(m_w.pprscroll, k);
    if (!pending && m_w.pprscroll.inRange(k))
        m_w.pprscroll.setValue(k);
    m_w.pprdata.Text = decimalInteger(k);
    m_w.pprdata.Tag = "1";
    if (!pending)
        m_w.pprscroll.Tag = "0";
    m_w.pprscroll.Visible = true;
}

void LineDecoder::tachVoltsReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    if (k > 2)
        return; // not a tach-volts setting: the whole line is ignored
    const bool pending = userChangePending(m_w.vscroll, k);
    if (!pending)
        m_w.vscroll.setValue(k);
    m_w.vdata.Text = tachVoltsText(k);
    m_w.vdata.Tag = "1";
    if (!pending)
        m_w.vscroll.Tag = "0";
    m_w.vscroll.Visible = true;
}

void LineDecoder::ledModeReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const bool pending = userChangePending(m_w.ledscroll, k);
    m_w.leddata.Text = ledModeText(k);
    if (!pending && m_w.ledscroll.inRange(k))
        m_w.ledscroll.setValue(k);
    m_w.leddata.Tag = "1";
    if (!pending)
        m_w.ledscroll.Tag = "0";
    m_w.ledscroll.Visible = true;
}

void LineDecoder::startDelayReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const bool pending = userChangePending(m_w.cyclescroll, k);
    m_w.cycledata.Text = decimalInteger(k);
    m_w.cycledata.Tag = "1";
    if (!pending)
        m_w.cyclescroll.Tag = "0";
    if (!pending && m_w.cyclescroll.inRange(k))
        m_w.cyclescroll.setValue(k);
    m_w.cyclescroll.Visible = true;
}

void LineDecoder::maxAdvanceReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const bool pending = userChangePending(m_w.maxadvancescroll, k);
    m_w.maxadvancedata.Text = decimalNumber(k * 1.4);
    m_w.maxadvancedata.Tag = "1";
    if (!pending)
        m_w.maxadvancescroll.Tag = "0";
    m_w.advdial.setBandSelector(3);
    m_w.advdial.setBandEndValue(k * 1.4);
    if (!pending && m_w.maxadvancescroll.inRange(k))
        m_w.maxadvancescroll.setValue(k);
    m_w.maxadvancescroll.Visible = true;
}

void LineDecoder::maxRpmReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const bool pending = userChangePending(m_w.maxrpmscroll, k);
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
}

void LineDecoder::advanceShiftReadBack(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    const long long shift = k <= 20 ? k : k - 255;
    const bool pending = userChangePending(m_w.conshiftscroll, shift);
    m_w.conshiftdata.Text = advanceShiftText(k);
    m_w.conshiftdata.Tag = "1";
    if (!pending)
        m_w.conshiftscroll.Tag = "0";
    m_w.conshiftscroll.Visible = true;
}

void LineDecoder::shiftEnableLine(const std::string &line)
{
    cutField(line, 2, 2);
    const std::int16_t k = toInt16(Hex2Dec(m_w.hexfield));
    m_w.conshiftdata.Enabled = k != 0;
    m_w.conshiftdata.Tag = "1";
}

} // namespace quelo
