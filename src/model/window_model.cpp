// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_model.h"

#include "connection.h"
#include "convert.h"
#include "errors.h"
#include "mscomm.h"
#include "parameters.h"
#include "run_observer.h"
#include "store_progress.h"

#include <exception>

namespace quelo {

WindowModel::WindowModel(MSComm &comm, TimerHost &timers, ConnectionPanel::PrintWindow print)
    : m_comm(comm), m_events(replyEvents()), m_decoder(m_w, m_log, m_events),
      m_framing(m_w, comm, [this](std::string &line) { lineReceived(line); }), m_pacing(m_w, comm),
      m_scan(m_w, comm, m_pacing),
      m_scheduler(m_w, [this](const std::string &text) { tellUser("unconfirmed", text); }),
      m_sliders(m_w, m_pacing, [this](const std::string &text) { tellUser("store", text); }),
      m_animation(m_w), m_panel(m_w, std::move(print))
{
    bindTimer(m_w.Timer1, timers, [this] { m_scheduler.Timer1_Timer(); });
    bindTimer(m_w.Timer2, timers, [this] { m_animation.Timer2_Timer(); });
    bindTimer(m_w.Timer3, timers, [this] { m_pacing.Timer3_Timer(); });
    bindTimer(m_w.Timer4, timers, [this] { m_pacing.Timer4_Timer(); });
    bindTimer(m_w.Timer5, timers, [this] { m_scan.Timer5_Timer(); });
    bindTimer(m_pacing.pauseTimer(), timers, [this] { m_pacing.pauseElapsed(); });
    bindTimer(m_scan.answerTimer(), timers, [this] { m_scan.answerOverdue(); });

    // Slider Change handlers run inside whatever set the value: they are not events of their own.
    comm.setOnComm([this] { dispatch([this] { m_framing.MSComm1_OnComm(); }); });
    comm.setOnFailure([this](const std::string &reason) {
        dispatch([this, reason] {
            const std::string port = decimalInteger(m_comm.CommPort());
            if (!m_scan.portFailed(reason))
                return;
            if (m_messages)
                m_messages("Link lost on Comm Port " + port +
                           (m_scan.reconnect() ? "; searching until the module answers. "
                                               : "; searching once (RESET searches again). ") +
                           reason);
            endConnection("the link was lost");
        });
    });
}

// The decoder tells the pacing and the port scan what a reply means for them.
ReplyEvents WindowModel::replyEvents()
{
    ReplyEvents events;
    events.probeAnswered = [this] { m_pacing.stopProbeRefill(); };
    events.versionAnswered = [this] {
        const PortScan::Answer answer = m_scan.versionAnswered();
        if (answer == PortScan::Answer::NotAsked)
            return;
        beginConnection();
        if (answer == PortScan::Answer::Reconnected && m_messages)
            m_messages("Connected again on Comm Port " + decimalInteger(m_comm.CommPort()));
    };
    events.tell = [this](const std::string &text) { tell(text); };
    return events;
}

void WindowModel::tell(const std::string &text)
{
    m_scan.tell(text);
    if (m_messages)
        m_messages(text);
}

void WindowModel::tellUser(const std::string &kind, const std::string &text)
{
    m_log.event(kind + ": " + text);
    tell(text);
}

void WindowModel::LinkedReports::telemetry(const TelemetryReport &report)
{
    if (next && link.linkUp)
        next->telemetry(report);
}

void WindowModel::LinkedReports::event(const RunEvent &event)
{
    if (next)
        next->event(event);
}

void WindowModel::setRunObserver(RunObserver *observer)
{
    m_observer = observer;
    m_reports.next = observer;
    m_decoder.setObserver(observer ? &m_reports : nullptr);
}

int WindowModel::connectedPort() const
{
    return isConnected() ? m_comm.CommPort() : 0;
}

void WindowModel::bindTimer(Timer &timer, TimerHost &host, std::function<void()> handler)
{
    timer.setHandler([this, handler = std::move(handler)] { dispatch(handler); });
    timer.setHost(&host);
    if (timer.Enabled())
        host.timerEnabledChanged(timer);
}

template <typename Handler> void WindowModel::dispatch(Handler &&handler)
{
    try {
        handler();
    } catch (const std::exception &e) {
        ++m_failures;
        m_lastFailure = e.what();
        m_w.statusbox.ToolTip = m_lastFailure;
    }
    // A handler may have moved a needle directly (the telemetry frame's advance).
    m_animation.wakeIfMoving();
    reportStatus();
    if (m_changed)
        m_changed();
}

// Every change of the status line happens inside a handler, so comparing with the text last
// reported finds each one without copying the text on every tick.
void WindowModel::reportStatus()
{
    if (m_w.statusbox.Text == m_reportedStatus)
        return;
    m_reportedStatus = m_w.statusbox.Text;
    m_log.event("status: " + m_w.statusbox.Text);
    if (m_observer)
        m_observer->event({m_scan.statusKind(), m_w.statusbox.Text});
}

void WindowModel::Form_Load()
{
    dispatch([this] { m_scan.Form_Load(); });
}

void WindowModel::Form_Unload()
{
    dispatch([this] { m_scan.Form_Unload(); });
}

void WindowModel::Command1_Click()
{
    dispatch([this] { m_panel.Command1_Click(); });
}

void WindowModel::Command2_Click()
{
    dispatch([this] { m_panel.Command2_Click(); });
}

void WindowModel::Command3_Click()
{
    dispatch([this] {
        if (!m_sliders.Command3_Click())
            tellUser("store", "The module is not connected: nothing was stored");
    });
}

void WindowModel::Command4_Click()
{
    dispatch([this] { m_panel.Command4_Click(); });
}

void WindowModel::Command5_Click()
{
    dispatch([this] {
        endConnection("RESET");
        m_scan.Command5_Click();
    });
}

void WindowModel::moveSlider(const Parameter &p, std::int16_t value)
{
    dispatch([this, &p, value] {
        if (!m_sliders.userMove(m_w.*p.slider, value))
            tellUser("not changed", std::string(p.name) +
                                        " was not changed: no module is connected and "
                                        "answering, or it has not reported the value yet");
    });
}

// Whatever answers after a silence may be another module: a connection of its own, begun
// before its first line is decoded, so that nothing it says counts for the connection before.
void WindowModel::lineReceived(std::string &line)
{
    const bool replied = line.find_first_not_of("\r\n") != std::string::npos;
    if (replied && m_scan.lineArrived()) {
        endConnection("the module fell silent");
        beginConnection();
        m_w.revdata.Tag = "0"; // its firmware version is asked for again
    }
    // One read may hold several lines: the status line's change is reported between them, so
    // the run hears "Connected" before what the module said after its version answer.
    reportStatus();
    m_decoder.HandleInput(line);
    reportStatus();
}

void WindowModel::moveSlider(const ScrollBar &slider, std::int16_t value)
{
    for (const Parameter &p : kParameters)
        if (&(m_w.*p.slider) == &slider)
            return moveSlider(p, value);
}

std::optional<long long> WindowModel::reported(const Parameter &p) const
{
    if (!quelo::reported(m_w.*p.box))
        return std::nullopt;
    return m_decoder.lastReported(p);
}

int WindowModel::sliderValue(const Parameter &p) const
{
    return (m_w.*p.slider).Value();
}

bool WindowModel::writeWaiting(const Parameter &p) const
{
    return writePending(m_w.*p.slider);
}

std::optional<std::string> WindowModel::firmware() const
{
    if (!quelo::reported(m_w.revdata))
        return std::nullopt;
    return m_w.revdata.Text;
}

// A connection ends: the user hears of every change of theirs that will not be sent. The
// status line's tooltip keeps the reason the link went.
void WindowModel::endConnection(const std::string &why)
{
    const std::string dropped = dropUnconfirmedWork(m_w, why);
    if (dropped.empty())
        return;
    m_log.event("not sent: " + dropped);
    if (m_messages)
        m_messages(dropped);
}

// A module answered the probe, or answered again after a silence: nothing another connection
// learned counts for it; every value is read from it before anything is written.
void WindowModel::beginConnection()
{
    // Whole commands queued for the connection before are not sent; one already begun is
    // finished, so the module never reads it run together with the next.
    m_w.txqueue = m_pacing.unsentCommandTail();
    forgetModule(m_w);
    m_decoder.forgetReported();
    ++m_connectionId;
}

void WindowModel::setReconnect(bool on)
{
    m_scan.setReconnect(on);
}

std::vector<const Parameter *> WindowModel::unstoredChanges() const
{
    return quelo::unstoredChanges(m_w.store);
}

bool WindowModel::unconfirmed(const Parameter &p) const
{
    return m_w.traffic[indexOf(p)].unconfirmed;
}

} // namespace quelo
