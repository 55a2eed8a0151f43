// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_state.h"

namespace quelo {

class Pacing;
struct Parameter;

// The seven configuration sliders and the STORE CONFIGURATION button. A slider change marks
// the parameter for writing; the scheduler writes it and the read-back clears the mark.
class ConfigSliders
{
public:
    // Wires every slider's Change to sliderChanged with its parameter.
    ConfigSliders(WindowState &w, const Pacing &pacing);

    // The change handler of each slider (cyclescroll_Change ... maxadvancescroll_Change): runs
    // inside whatever set the slider's value, before that returns.
    void sliderChanged(const Parameter &p);
    void Command3_Click();

private:
    ParameterRows &m_rows;
    TransmitState &m_tx;
    const Pacing &m_pacing;
};

} // namespace quelo
