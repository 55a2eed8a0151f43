// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history.h"
#include "run_observer.h"
#include "stamp.h"

#include <functional>
#include <optional>
#include <string>

namespace quelo {

class WindowModel;

// Takes the restore points of a run: when a connection settles (the firmware version and all
// seven values reported, no write waiting), when the module confirms a store, and when a
// configuration put into the module has been written and confirmed. It only watches: it asks
// the model what the module reported and hears the store's confirmation as the run observer's
// StoreConfirmed event. A restore point waits until the module's configuration is settled, so it
// always holds values the module reported. Whether it repeats an earlier one is for the sink.
class HistoryWatcher final : public RunObserver
{
public:
    using Clock = std::function<Stamp()>;
    using Sink = std::function<void(const Snapshot &)>;

    HistoryWatcher(WindowModel &model, Clock clock, Sink sink);

    // Looks at the model; call after every model event.
    void update();
    // The configuration the module settles on next, once the writes now under way are
    // confirmed, is a restore point of this kind (a Load or a Restore in the window).
    void expect(SnapshotEvent event);
    // The next store the module confirms completes an import: its restore point is of this
    // kind instead of "stored".
    void labelNextStore(SnapshotEvent event) { m_storeLabel = event; }
    // The aircraft the restore points are taken for from now on; empty: none named.
    void setAircraft(std::string name) { m_aircraft = std::move(name); }
    const std::string &aircraft() const { return m_aircraft; }

    void telemetry(const TelemetryReport &) override {}
    void event(const RunEvent &event) override;

private:
    void take(SnapshotEvent event);

    WindowModel &m_model;
    Clock m_clock;
    Sink m_sink;
    bool m_connected = false;
    std::optional<SnapshotEvent> m_pending;
    std::optional<SnapshotEvent> m_storeLabel;
    std::string m_aircraft;
};

} // namespace quelo
