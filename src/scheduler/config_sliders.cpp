#include "scheduler/config_sliders.h"

#include "app/window_state.h"
#include "link/pacing.h"
#include "protocol/convert.h"

namespace quelo {

ConfigSliders::ConfigSliders(WindowState &w, const Pacing &pacing) : m_w(w), m_pacing(pacing)
{
    m_w.cyclescroll.Change = [this] { cyclescroll_Change(); };
    m_w.ledscroll.Change = [this] { ledscroll_Change(); };
    m_w.pprscroll.Change = [this] { pprscroll_Change(); };
    m_w.vscroll.Change = [this] { vscroll_Change(); };
    m_w.conshiftscroll.Change = [this] { conshiftscroll_Change(); };
    m_w.maxrpmscroll.Change = [this] { maxrpmscroll_Change(); };
    m_w.maxadvancescroll.Change = [this] { maxadvancescroll_Change(); };
}

void ConfigSliders::cyclescroll_Change()
{
    m_w.cyclescroll.Tag = "1";
    m_w.Command3.BackColor = kGreen;
}

void ConfigSliders::ledscroll_Change()
{
    m_w.ledscroll.Tag = "1";
    m_w.Command3.BackColor = kGreen;
}

void ConfigSliders::pprscroll_Change()
{
    m_w.pprscroll.Tag = "1";
    m_w.Command3.BackColor = kGreen;
}

// Unlike the other six, a tach-volts change leaves the store button as it is.
void ConfigSliders::vscroll_Change()
{
    m_w.vscroll.Tag = "1";
}

void ConfigSliders::conshiftscroll_Change()
{
    m_w.conshiftscroll.Tag = "1";
    m_w.Command3.BackColor = kGreen;
}

void ConfigSliders::maxrpmscroll_Change()
{
    m_w.maxrpmscroll.Tag = "1";
    m_w.Command3.BackColor = kGreen;
}

void ConfigSliders::maxadvancescroll_Change()
{
    m_w.maxadvancescroll.Tag = "1";
    m_w.Command3.BackColor = kGreen;
}

void ConfigSliders::Command3_Click()
{
    // The store command goes out next; a command already half sent is finished first so the
    // module never receives the two run together.
    m_w.txqueue = m_pacing.unsentCommandTail() + "/W" + decimalInteger(m_w.cyclescroll.Value()) +
                  "\r";
    m_w.Command3.BackColor = kGreen;
}

} // namespace quelo
