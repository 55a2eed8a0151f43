#include "scheduler.h"

#include "window_state.h"
#include "convert.h"
#include "int16.h"

#include <array>
#include <optional>
#include <string_view>

namespace quelo {

namespace {

struct WriteRow
{
    ScrollBar WindowState::*slider;
    TextBox WindowState::*box;
    const char *command;
};

// Visited in this order; a later pending slider replaces an earlier one in the same tick.
constexpr std::array<WriteRow, 7> kWrites{{
    {&WindowState::cyclescroll, &WindowState::cycledata, "/D"},
    {&WindowState::ledscroll, &WindowState::leddata, "/L"},
    {&WindowState::pprscroll, &WindowState::pprdata, "/T"},
    {&WindowState::vscroll, &WindowState::vdata, "/V"},
    {&WindowState::conshiftscroll, &WindowState::conshiftdata, "/C"},
    {&WindowState::maxrpmscroll, &WindowState::maxrpmdata, "/M"},
    {&WindowState::maxadvancescroll, &WindowState::maxadvancedata, "/N"},
}};

// The Tag a read slot tests; slots 4 and 5 ask for nothing.
const std::string *slotFlag(const WindowState &w, int slot)
{
    switch (slot) {
    case 1:
        return &w.revdata.Tag;
    case 2:
        return &w.conshiftdata.Tag;
    case 3:
        return &w.cycledata.Tag;
    case 6:
        return &w.voltsdial.Tag;
    case 7:
        return &w.rpmdial.Tag;
    case 8:
        return &w.leddata.Tag;
    case 9:
        return &w.pprdata.Tag;
    case 10:
        return &w.vdata.Tag;
    case 11:
        return &w.maxrpmdata.Tag;
    case 12:
        return &w.maxadvancedata.Tag;
    default:
        return nullptr;
    }
}

constexpr std::array<const char *, 13> kReadCommands{
    "", "/u\r", "/c\r", "/d\r", "", "", "/w\r", "/x\r", "/l\r", "/t\r", "/v\r", "/m\r", "/n\r"};

// A slider's write is queued on every acting tick until its read-back settles it. Once a
// read-back has come back stale (it may have crossed the write on the wire), the write is
// retried at most once per standing poll, so a write the module never confirms cannot starve
// the poll: the gauges go on moving between retries.
bool writeDue(const WindowState &w, std::size_t index)
{
    const ParameterTraffic &t = w.traffic[index];
    return !(t.paced && t.sentSincePoll);
}

// Notes the write of the slider's value that this tick leaves queued; a new value starts a
// new history, so its first read-back round runs at full rate again.
void noteWrite(ParameterTraffic &t, std::int16_t value)
{
    if (!t.writeQueued || t.writtenValue != value) {
        t.writtenValue = value;
        t.echoed = false;
        t.staleRounds = 0;
        t.paced = false;
    }
    t.writeQueued = true;
    t.sentSincePoll = true;
}

} // namespace

void CommandScheduler::Timer1_Timer()
{
    if (!m_w.txqueue.empty())
        return;

    std::optional<std::size_t> written;
    for (std::size_t i = 0; i < kWrites.size(); ++i) {
        const WriteRow &row = kWrites[i];
        const ScrollBar &slider = m_w.*row.slider;
        if (tagIs(slider.Tag, 1) && writeDue(m_w, i)) {
            m_w.txqueue = row.command + decimalInteger(slider.Value()) + "\r";
            (m_w.*row.box).Tag = "0";
            written = i;
        }
    }

    m_w.readslot = toInt16(m_w.readslot + 1);
    if (m_w.readslot > 12)
        m_w.readslot = 1;

    if (const std::string *flag = slotFlag(m_w, m_w.readslot); flag && tagIs(*flag, 0)) {
        const char *read = kReadCommands[static_cast<std::size_t>(m_w.readslot)];
        m_w.txqueue = read;
        written.reset();
        if (const auto index = kParameterLetters.find(read[1]); index != std::string_view::npos)
            m_w.traffic[index].readOutstanding = true;
    }
    if (written)
        noteWrite(m_w.traffic[*written], (m_w.*kWrites[*written].slider).Value());

    if (m_w.txqueue.empty()) {
        for (ParameterTraffic &t : m_w.traffic)
            t.sentSincePoll = false;
        if (m_w.rpmtarget > 49) {
            m_w.txqueue = "/b\r%/x\r%/w\r";
            m_w.AGauge2.Visible = false;
        } else {
            m_w.txqueue = "/p\r%/x\r%/w\r";
            m_w.AGauge2.Visible = true;
        }
    }
}

} // namespace quelo
