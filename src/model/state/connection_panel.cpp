// SPDX-License-Identifier: GPL-3.0-or-later
#include "connection_panel.h"

namespace quelo {

void ConnectionPanel::Command4_Click()
{
    m_panel.connection.Visible = true;
    m_panel.Command4.BackColor = kPanelOpenOrange;
}

void ConnectionPanel::Command1_Click()
{
    m_panel.connection.Visible = false;
    m_panel.Command4.BackColor = kPanelClosedGreen;
}

void ConnectionPanel::Command2_Click()
{
    if (m_print)
        m_print();
}

} // namespace quelo
