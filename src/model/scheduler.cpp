#include "scheduler.h"

#include "window_state.h"
#include "convert.h"
#include "int16.h"

#include <array>

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

} // namespace

void CommandScheduler::Timer1_Timer()
{
    if (!m_w.txqueue.empty())
        return;

    for (const WriteRow &row : kWrites) {
        const ScrollBar &slider = m_w.*row.slider;
        if (tagIs(slider.Tag, 1)) {
            m_w.txqueue = row.command + decimalInteger(slider.Value()) + "\r";
            (m_w.*row.box).Tag = "0";
        }
    }

    m_w.readslot = toInt16(m_w.readslot + 1);
    if (m_w.readslot > 12)
        m_w.readslot = 1;

    if (const std::string *flag = slotFlag(m_w, m_w.readslot); flag && tagIs(*flag, 0))
        m_w.txqueue = kReadCommands[static_cast<std::size_t>(m_w.readslot)];

    if (m_w.txqueue.empty()) {
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
