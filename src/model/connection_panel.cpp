#include "connection_panel.h"

#include "window_state.h"

namespace quelo {

void ConnectionPanel::Command4_Click()
{
    m_w.connection.Visible = true;
    m_w.Command4.BackColor = kPanelOpenOrange;
}

void ConnectionPanel::Command1_Click()
{
    m_w.connection.Visible = false;
    m_w.Command4.BackColor = kPanelClosedGreen;
}

void ConnectionPanel::Command2_Click()
{
    if (m_print)
        m_print();
}

} // namespace quelo
