// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_state.h"

#include <functional>
#include <string>

namespace quelo {

class Pacing;
struct Parameter;

// The seven configuration sliders and the STORE CONFIGURATION button. A slider change marks
// the parameter for writing; the scheduler writes it and the read-back clears the mark. The
// user's own moves are told apart from the read-backs', so that a store can be judged against
// the changes the user made.
class ConfigSliders
{
public:
    using Notice = std::function<void(const std::string &)>;

    // Wires every slider's Change to sliderChanged with its parameter. `storeWaiting` is told
    // when a store has to wait for writes to be confirmed.
    ConfigSliders(WindowState &w, const Pacing &pacing, Notice storeWaiting = {});

    // The change handler of each slider (cyclescroll_Change ... maxadvancescroll_Change): runs
    // inside whatever set the slider's value, before that returns.
    void sliderChanged(const Parameter &p);
    // The user moves a slider: its change handler runs when the value differs, and the change
    // counts as the user's. Only once the connected module has reported all seven values in
    // this connection; false, and nothing changes, otherwise.
    bool userMove(ScrollBar &slider, std::int16_t value);
    // The store goes out at once when no write is pending; otherwise it waits until each
    // pending write is confirmed or given up, and the scheduler sends it then. Without a
    // connected module nothing is sent or changed: false.
    bool Command3_Click();

private:
    const LinkState &m_link;
    ParameterRows &m_rows;
    TransmitState &m_tx;
    const Pacing &m_pacing;
    Notice m_storeWaiting;
};

} // namespace quelo
