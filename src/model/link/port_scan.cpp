// SPDX-License-Identifier: GPL-3.0-or-later
#include "port_scan.h"

#include "convert.h"
#include "int16.h"
#include "mscomm.h"
#include "pacing.h"

#include <exception>

namespace quelo {

PortScan::PortScan(WindowState &w, MSComm &comm, Pacing &pacing)
    : m_link(w), m_tx(w), m_schedulerTimer(w.Timer1), m_animationTimer(w.Timer2), m_comm(comm),
      m_pacing(pacing)
{
}

void PortScan::showStatus(RunEventKind kind, std::string text)
{
    m_link.statusbox.Text = std::move(text);
    m_statusKind = kind;
}

void PortScan::Form_Load()
{
    showStatus(RunEventKind::Status, {});
    m_link.statusbox.ToolTip.clear();
    m_notes = {};
    m_lostReason.clear();
    m_searchUntilFound = false;
    m_answerTimer.setEnabled(false);
    m_answerMissing = false;
    m_link.linkUp = false;
    m_link.Tag = "0";
    m_link.Timer5.setEnabled(true);
    m_link.Timer5.Tag = "0";
}

void PortScan::Form_Unload()
{
    m_answerTimer.setEnabled(false);
    m_link.linkUp = false;
    if (m_comm.PortOpen())
        closePort();
}

void PortScan::Command5_Click()
{
    if (m_comm.PortOpen())
        closePort();
    Form_Load();
}

// The module keeps what it has received of a command across a close of the port, and would
// read it run together with the next command it gets, a write with its value cut short. So a
// command whose first characters have gone out is finished before the port closes.
void PortScan::closePort()
{
    const std::string tail = m_pacing.unsentCommandTail();
    if (!tail.empty()) {
        try {
            m_comm.Output(tail);
        } catch (const std::exception &) {
            // The port is failing: it reports that itself; closing it is all that is left.
        }
        m_tx.txqueue.erase(0, tail.size());
    }
    m_comm.setPortOpen(false);
}

void PortScan::Timer5_Timer()
{
    if (tagIs(m_link.Tag, 0))
        scanningTick();
    else
        resetTick();
}

void PortScan::scanningTick()
{
    // Every step runs even when one before it failed; a failure only stops the probe.
    bool failed = false;
    std::string reason;
    auto step = [&](auto &&action) {
        try {
            action();
        } catch (const std::exception &e) {
            if (!failed)
                reason = e.what();
            failed = true;
        }
    };

    int port = 0;
    step([&] {
        port = static_cast<int>(std::stod(m_link.Timer5.Tag)) + 1;
        m_link.Timer5.Tag = decimalInteger(port);
    });
    if (port > 3)
        return searchEnded();
    step([&] {
        if (m_comm.PortOpen())
            closePort();
    });
    step([&] { showStatus(RunEventKind::Status, "Comm port: " + m_link.Timer5.Tag); });
    step([&] { m_comm.setCommPort(toInt16(port)); });
    step([&] { m_comm.setPortOpen(true); });
    if (failed) {
        note(port, reason);
        return;
    }
    note(port, "opened; the module did not answer");

    step([&] { m_link.pollstring = kProbe; });
    step([&] { m_tx.Timer4.setEnabled(true); });
    step([&] { m_tx.txqueue = m_link.pollstring; });
    step([&] {
        showStatus(RunEventKind::Status, "Waiting for connection - Port " + m_link.Timer5.Tag);
    });
    step([&] { m_link.Tag = "1"; });
}

// Every port has had its turn. A search after a lost link pauses for this tick, with the scan's
// own text on the status line, and the next tick tries port 1 again; an adapter that comes back
// at any time is found within one round. Otherwise the scan stops until RESET.
void PortScan::searchEnded()
{
    showStatus(RunEventKind::SearchEnded, "Valid comm port not found");
    if (m_searchUntilFound)
        m_link.Timer5.Tag = "0";
    else
        m_link.Timer5.setEnabled(false);
}

void PortScan::resetTick()
{
    m_tx.Timer4.setEnabled(false);
    m_link.Tag = "0";
    showStatus(RunEventKind::Status, {});
}

void PortScan::note(int port, const std::string &text)
{
    if (port < 1 || port > 3)
        return;
    m_notes[static_cast<std::size_t>(port - 1)] = text;
    std::string tip = m_lostReason;
    for (int i = 0; i < 3; ++i) {
        if (m_notes[static_cast<std::size_t>(i)].empty())
            continue;
        if (!tip.empty())
            tip += '\n';
        tip += "Port " + std::to_string(i + 1) + ": " + m_notes[static_cast<std::size_t>(i)];
    }
    m_link.statusbox.ToolTip = tip;
}

// The decoder completes a connection by stopping the scan timer with the port counter still
// on the port that answered; giving up leaves the counter past the last port.
bool PortScan::connected() const
{
    if (m_link.Timer5.Enabled())
        return false;
    const double port = std::stod(m_link.Timer5.Tag);
    return port >= 1 && port <= 3;
}

bool PortScan::portFailed(const std::string &reason)
{
    const int port = m_comm.CommPort();
    if (!connected()) {
        // The scan is still looking, or has given up: it reports this port like any other.
        note(port, reason);
        return false;
    }
    // The same search RESET starts. By default it tries each port once, as RESET does, so
    // nothing is sent to whatever device appears on those ports later; with reconnect on it goes
    // on until a module answers, so a re-plugged adapter is found without a click. The loss
    // stays on the status line until the first scan tick.
    Command5_Click();
    m_searchUntilFound = m_reconnect;
    m_lostReason = "Link lost: " + reason +
                   (m_reconnect ? "\nSearching ports 1-3 until the module answers."
                                : "\nSearching ports 1-3 once; RESET searches again.");
    showStatus(RunEventKind::LinkLost, "Link lost on Comm Port " + decimalInteger(port));
    m_link.statusbox.ToolTip = m_lostReason;
    return true;
}

PortScan::Answer PortScan::versionAnswered()
{
    m_link.pollstring.clear();
    if (!tagIs(m_link.Tag, 1))
        return Answer::NotAsked;
    m_link.Tag = "0";
    m_link.linkUp = true;
    showStatus(RunEventKind::LinkUp, "Connected Comm Port " + decimalInteger(m_comm.CommPort()));
    m_link.statusbox.ToolTip.clear();
    m_tx.Timer3.setEnabled(true);
    m_schedulerTimer.setEnabled(true);
    m_animationTimer.setEnabled(true);
    m_link.Timer5.setEnabled(false);
    restartAnswerTimer(); // the silence watch runs from the connection on
    const bool wasLost = !m_lostReason.empty();
    m_searchUntilFound = false;
    m_lostReason.clear();
    return wasLost ? Answer::Reconnected : Answer::Connected;
}

void PortScan::tell(const std::string &text)
{
    m_link.statusbox.ToolTip = text;
}

std::string PortScan::portNote(int port) const
{
    return port >= 1 && port <= 3 ? m_notes[static_cast<std::size_t>(port - 1)] : std::string();
}

bool PortScan::lineArrived()
{
    if (!connected()) {
        m_answerTimer.setEnabled(false);
        return false;
    }
    restartAnswerTimer();
    if (!m_answerMissing)
        return false;
    m_answerMissing = false;
    m_link.linkUp = true;
    showStatus(RunEventKind::LinkUp, "Connected Comm Port " + decimalInteger(m_comm.CommPort()));
    m_link.statusbox.ToolTip.clear();
    return true;
}

void PortScan::restartAnswerTimer()
{
    m_answerTimer.setEnabled(false);
    m_answerTimer.setEnabled(true);
}

void PortScan::answerOverdue()
{
    m_answerTimer.setEnabled(false);
    if (!connected() || m_answerMissing)
        return;
    // Polling goes on as before, but nothing is written: whatever answers next may be another
    // module. The first reply line puts the connected text back and begins a new connection.
    m_answerMissing = true;
    m_link.linkUp = false;
    showStatus(RunEventKind::NoAnswer,
               "No answer from the module on Comm Port " + decimalInteger(m_comm.CommPort()));
    m_link.statusbox.ToolTip =
        "No reply from the module for " + std::to_string(kAnswerTimeoutMs / 1000) +
        " s; the program keeps asking. Check the cable and the module's power.";
}

} // namespace quelo
