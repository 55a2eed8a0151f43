// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_state.h"

#include <functional>

namespace quelo {

// The wiring panel: CONNECTION INFO opens it, RETURN closes it, PRINT prints the window.
class ConnectionPanel
{
public:
    // Prints an image of the window as displayed, as one page, asking nothing.
    using PrintWindow = std::function<void()>;

    ConnectionPanel(WindowState &w, PrintWindow print) : m_panel(w), m_print(std::move(print)) {}

    void Command4_Click();
    void Command1_Click();
    void Command2_Click();

private:
    PanelState &m_panel;
    PrintWindow m_print;
};

} // namespace quelo
