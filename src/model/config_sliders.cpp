#include "config_sliders.h"

#include "window_state.h"
#include "pacing.h"
#include "convert.h"

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

namespace {

// A changed slider waits for the scheduler to write it; the store button turns green because
// the module's stored configuration no longer matches.
void markChanged(WindowState &w, ScrollBar &slider)
{
    slider.Tag = "1";
    w.Command3.BackColor = kGreen;
}

} // namespace

void ConfigSliders::cyclescroll_Change()
{
    markChanged(m_w, m_w.cyclescroll);
}

void ConfigSliders::ledscroll_Change()
{
    markChanged(m_w, m_w.ledscroll);
}

void ConfigSliders::pprscroll_Change()
{
    markChanged(m_w, m_w.pprscroll);
}

// Unlike the other six, a tach-volts change leaves the store button as it is.
void ConfigSliders::vscroll_Change()
{
    m_w.vscroll.Tag = "1";
}

void ConfigSliders::conshiftscroll_Change()
{
    markChanged(m_w, m_w.conshiftscroll);
}

void ConfigSliders::maxrpmscroll_Change()
{
    markChanged(m_w, m_w.maxrpmscroll);
}

void ConfigSliders::maxadvancescroll_Change()
{
    markChanged(m_w, m_w.maxadvancescroll);
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
