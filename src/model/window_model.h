// SPDX-License-Identifier: GPL-3.0-or-later
// The model: the window without widgets; wires the link, the conversation and the window.
#pragma once

#include "animation.h"
#include "config_sliders.h"
#include "connection_panel.h"
#include "decoder.h"
#include "framing.h"
#include "link_log.h"
#include "pacing.h"
#include "port_scan.h"
#include "run_observer.h"
#include "scheduler.h"
#include "store_progress.h"
#include "window_state.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quelo {

class MSComm;
class TimerHost;

// The window without widgets: its state and the handlers of its events, wired to the serial
// component and to the timer host. Every event runs as one handler call; a handler that fails
// ends at the failing statement and the reason goes to the status line's tooltip.
class WindowModel
{
public:
    WindowModel(MSComm &comm, TimerHost &timers, ConnectionPanel::PrintWindow print = {});
    WindowModel(const WindowModel &) = delete;
    WindowModel &operator=(const WindowModel &) = delete;

    // What the window shows, for the widgets that show it; read only: features change the
    // window through the commands below and learn of the module through the queries.
    const WindowState &state() const { return m_w; }
    MSComm &comm() { return m_comm; }
    const Pacing &pacing() const { return m_pacing; }
    // The link's events; every status-line change is logged as "status: <text>".
    LinkLog &linkLog() { return m_log; }

    // Window events, each dispatched as one handler call.
    void Form_Load();
    void Form_Unload();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    // The user moved a parameter's slider: raises its change when the value differs.
    void moveSlider(const Parameter &p, std::int16_t value);
    // The same for one of this model's sliders (state().*p.slider); any other is ignored.
    void moveSlider(const ScrollBar &slider, std::int16_t value);

    // What other features ask of the link and the conversation. Connected: the module answered
    // the probe on the open port and still answers; connectedPort() is then its port (1..3).
    bool isConnected() const { return m_scan.isConnected(); }
    int connectedPort() const;
    // The module's value of a parameter as last read back in this connection, in the slider's
    // units; none before its first read-back in this connection.
    std::optional<long long> lastReported(const Parameter &p) const
    {
        return m_decoder.lastReported(p);
    }
    // The same, once read back since the last write of it: none while a written value waits for
    // its read-back.
    std::optional<long long> reported(const Parameter &p) const;
    // The value the parameter's slider shows, and whether a write of it waits to go out or to be
    // confirmed by read-back.
    int sliderValue(const Parameter &p) const;
    bool writeWaiting(const Parameter &p) const;
    // The firmware version the module answered the version poll with; none before it has, nor
    // after a silence until it answers again. A lost link leaves it: isConnected() says whether
    // it is the connected module's.
    std::optional<std::string> firmware() const;
    // The search has tried every port and no module answered (what the status line says until
    // a search starts again).
    bool searchEnded() const { return m_scan.statusKind() == RunEventKind::SearchEnded; }
    // Counts the module's echoes of the store command: a store is confirmed once it goes up.
    int storeEchoes() const { return m_decoder.storeEchoes(); }
    // The parameters the user changed (with a slider or a loaded file) that no store the module
    // confirmed holds yet, in table order: a change the module never confirmed by read-back,
    // given up, stays here. Empty is what "stored" means. Tach volts, which no store holds, is
    // never among them.
    std::vector<const Parameter *> unstoredChanges() const;
    // A store was asked for and waits for writes to be confirmed.
    bool storeWaiting() const { return m_w.store.waiting; }
    // The parameters whose writes are still going on, in table order.
    std::vector<const Parameter *> pendingWrites() const { return quelo::pendingWrites(m_w); }
    // The module never confirmed the value the parameter's slider shows (its change was given
    // up); a later read-back settles it.
    bool unconfirmed(const Parameter &p) const;

    // Told what the module reports (see LineDecoder::setObserver; telemetry only while a module
    // is connected) and, as events, every text the status line changes to, with its kind, as
    // it changes: between the lines of one read too. Not owned; null (the default) tells nobody.
    void setRunObserver(RunObserver *observer);

    // Called after every event, so a view can show what changed.
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }

    // Told every message the model has for the user (a value the module kept, ...), as it
    // also goes to the status line's tooltip. Null (the default) tells nobody.
    void setMessageListener(std::function<void(const std::string &)> listener)
    {
        m_messages = std::move(listener);
    }

    // Changes at every new connection (0 before the first): what a feature learned of the
    // module under another number belongs to another connection, perhaps another module.
    std::uint64_t connectionId() const { return m_connectionId; }
    // After a lost link, search until a module answers (on) or once, as RESET does (off, the
    // default).
    void setReconnect(bool on);
    bool reconnect() const { return m_scan.reconnect(); }

    // Why port 1..3 was passed over in the current search; empty when it has not been tried.
    std::string portNote(int port) const { return m_scan.portNote(port); }

    // Handler failures so far, and the last reason.
    int failureCount() const { return m_failures; }
    const std::string &lastFailure() const { return m_lastFailure; }

private:
    // What the decoder reports, passed on to the run's observer; telemetry only while a module
    // is connected: what a device had buffered before its port opened, or says before it has
    // answered the probe, is no part of the run.
    struct LinkedReports final : RunObserver
    {
        explicit LinkedReports(const LinkState &link) : link(link) {}
        void telemetry(const TelemetryReport &report) override;
        void event(const RunEvent &event) override;

        const LinkState &link;
        RunObserver *next = nullptr;
    };

    template <typename Handler> void dispatch(Handler &&handler);
    void reportStatus();
    ReplyEvents replyEvents();
    void tell(const std::string &text);
    // A message for the user from the configuration's handlers, logged as "<kind>: <text>".
    void tellUser(const std::string &kind, const std::string &text);
    void bindTimer(Timer &timer, TimerHost &host, std::function<void()> handler);
    void lineReceived(std::string &line);
    void endConnection(const std::string &why);
    void beginConnection();

    WindowState m_w;
    LinkLog m_log;
    MSComm &m_comm;
    ReplyEvents m_events;
    LineDecoder m_decoder;
    LineFraming m_framing;
    Pacing m_pacing;
    PortScan m_scan;
    CommandScheduler m_scheduler;
    ConfigSliders m_sliders;
    NeedleAnimation m_animation;
    ConnectionPanel m_panel;
    std::function<void()> m_changed;
    std::function<void(const std::string &)> m_messages;
    RunObserver *m_observer = nullptr;
    LinkedReports m_reports{m_w};
    std::uint64_t m_connectionId = 0;
    int m_failures = 0;
    std::string m_lastFailure;
    std::string m_reportedStatus; // the status-line text last logged
};

} // namespace quelo
