// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_sliders.h"

#include "convert.h"
#include "pacing.h"
#include "parameters.h"
#include "store_progress.h"


namespace quelo {

ConfigSliders::ConfigSliders(WindowState &w, const Pacing &pacing, Notice storeWaiting)
    : m_link(w), m_rows(w), m_tx(w), m_pacing(pacing), m_storeWaiting(std::move(storeWaiting))
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

// A new value of the user's starts a change of its own: no longer unconfirmed, and, where a
// store holds it (not tach volts), not stored until a store queued after it is echoed.
bool ConfigSliders::userMove(ScrollBar &slider, std::int16_t value)
{
    // Nothing of the user's is written before the module has reported all seven values.
    if (!m_link.linkUp || !allReadInConnection(m_rows))
        return false;
    const std::int16_t before = slider.Value();
    slider.setValue(value);
    if (slider.Value() == before)
        return true;
    for (const Parameter &p : kParameters) {
        if (&(m_rows.*p.slider) != &slider)
            continue;
        ParameterTraffic &t = m_rows.traffic[indexOf(p)];
        t.userChange = true;
        t.unconfirmed = false;
        if (p.turnsStoreGreen)
            noteUserChange(m_rows.store, indexOf(p));
    }
    return true;
}

bool ConfigSliders::Command3_Click()
{
    if (!m_link.linkUp)
        return false;
    m_rows.Command3.BackColor = kGreen;
    const std::vector<const Parameter *> pending = pendingWrites(m_rows);
    if (!pending.empty() || !allReadInConnection(m_rows)) {
        // A module just connected is read whole first: the store then holds what is shown.
        m_rows.store.waiting = true;
        if (m_storeWaiting)
            m_storeWaiting(pending.empty() ? "Store waiting for the module to report every value"
                                           : "Store waiting for " + namesOf(pending) +
                                                 " to be confirmed");
        return true;
    }
    // The store command goes out next; a command already half sent is finished first so the
    // module never receives the two run together.
    m_rows.store.waiting = false;
    const std::string &q = m_tx.txqueue;
    m_tx.pollDropped = q.rfind("/p\r", 0) == 0 || q.rfind("/b\r", 0) == 0;
    m_tx.txqueue =
        m_pacing.unsentCommandTail() + "/W" + decimalInteger(m_rows.cyclescroll.Value()) + "\r";
    noteStoreSent(m_rows);
    return true;
}

} // namespace quelo
