// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_sliders.h"

#include "convert.h"
#include "pacing.h"
#include "parameters.h"

namespace quelo {

ConfigSliders::ConfigSliders(WindowState &w, const Pacing &pacing)
    : m_rows(w), m_tx(w), m_pacing(pacing)
{
    for (const Parameter &p : kParameters)
        (m_rows.*p.slider).Change = [this, &p] { sliderChanged(p); };
}

// A changed slider waits for the scheduler to write it. The store button turns green because
// the module's stored configuration no longer matches; tach volts alone leaves it as it is.
void ConfigSliders::sliderChanged(const Parameter &p)
{
    (m_rows.*p.slider).Tag = "1";
    if (p.turnsStoreGreen)
        m_rows.Command3.BackColor = kGreen;
}

void ConfigSliders::Command3_Click()
{
    // The store command goes out next; a command already half sent is finished first so the
    // module never receives the two run together.
    m_tx.txqueue =
        m_pacing.unsentCommandTail() + "/W" + decimalInteger(m_rows.cyclescroll.Value()) + "\r";
    m_rows.Command3.BackColor = kGreen;
}

} // namespace quelo
