// SPDX-License-Identifier: GPL-3.0-or-later
// The serial link: port scan and connection, paced transmission, framing of received lines.
#pragma once

#include "run_observer.h"
#include "timer.h"
#include "window_state.h"

#include <array>
#include <string>

namespace quelo {

class MSComm;
class Pacing;

// Finds the module: tries ports 1, 2 and 3 in turn, probing each for one scan interval. Owns
// the status line while the link is up: a port that fails is reported and the module searched
// for once, as RESET does, and a module that stops answering is reported until it answers
// again. With reconnect on, a search started by a lost link does not give up: after port 3 it
// pauses for one scan interval and begins again at port 1, until a module answers or RESET
// starts a search of its own.
class PortScan
{
public:
    static constexpr const char *kProbe = "/*\r%/u\r";
    // The module answers every poll within a fraction of a second; this long without a reply
    // line means it no longer hears or no longer answers.
    static constexpr int kAnswerTimeoutMs = 3000;

    PortScan(WindowState &w, MSComm &comm, Pacing &pacing);

    // What the firmware version's arrival meant for the search.
    enum class Answer
    {
        NotAsked,   // no probe waited for it
        Connected,  // it completed a connection
        Reconnected // it completed a connection after a lost link
    };

    // After a lost link, search until a module answers (on) or once (off, the default).
    void setReconnect(bool on) { m_reconnect = on; }
    bool reconnect() const { return m_reconnect; }

    void Form_Load();
    void Form_Unload();
    void Timer5_Timer();
    void Command5_Click();

    // Called when the open port fails on its own; the reason goes to the status line's tooltip.
    // A failure while connected is shown on the status line and starts the search again: then
    // returns true, the link was lost.
    bool portFailed(const std::string &reason);
    // Called for every reply line, before the decoder takes it. True when the line ends a
    // silence of the module (the status line showed no answer): whatever answers now may be
    // another module.
    bool lineArrived();
    // The module answered the probe with its firmware version: while a probe is outstanding
    // (link state "1") the connection is complete and the scheduler starts.
    Answer versionAnswered();
    // A message for the user about the link, on the status line's tooltip.
    void tell(const std::string &text);
    // Why port 1..3 was passed over in the current search; empty when it has not been tried.
    std::string portNote(int port) const;
    // The module answered the probe on the open port and has not fallen silent since: what the
    // status line shows as "Connected Comm Port n".
    bool isConnected() const { return connected() && !m_answerMissing; }
    // What the status line's text says, set with each text: link up, lost, silent, search
    // ended, or another status (a port being tried, the line cleared).
    RunEventKind statusKind() const { return m_statusKind; }

    // Runs out when no reply line has come for kAnswerTimeoutMs while connected; its tick runs
    // answerOverdue().
    Timer &answerTimer() { return m_answerTimer; }
    void answerOverdue();

private:
    void scanningTick();
    void resetTick();
    void searchEnded();
    void note(int port, const std::string &text);
    void closePort();
    bool connected() const;
    void restartAnswerTimer();
    void showStatus(RunEventKind kind, std::string text);

    LinkState &m_link;
    TransmitState &m_tx;
    Timer &m_schedulerTimer; // Timer1, started by the connection
    Timer &m_animationTimer; // Timer2, started by the connection
    MSComm &m_comm;
    Pacing &m_pacing;
    // Why each port was passed over, shown as the status line's tooltip.
    std::array<std::string, 3> m_notes;
    // Why the last link was lost, kept at the head of the tooltip while the search runs.
    std::string m_lostReason;
    // The search follows a lost link: it starts again after port 3 instead of giving up.
    bool m_searchUntilFound = false;
    bool m_reconnect = false;
    Timer m_answerTimer{"Answer", kAnswerTimeoutMs, false};
    bool m_answerMissing = false;
    RunEventKind m_statusKind = RunEventKind::Status;
};

} // namespace quelo
