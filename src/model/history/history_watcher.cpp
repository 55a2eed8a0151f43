// SPDX-License-Identifier: GPL-3.0-or-later
#include "history_watcher.h"

#include "config_transfer.h"
#include "window_model.h"

namespace quelo {

HistoryWatcher::HistoryWatcher(WindowModel &model, Clock clock, Sink sink)
    : m_model(model), m_clock(std::move(clock)), m_sink(std::move(sink))
{
}

// Cheap on the many events that change nothing here (the animation's ticks): the reported
// configuration is worked out only while a restore point waits for it.
void HistoryWatcher::update()
{
    const bool connected = m_model.isConnected();
    if (connected && !m_connected && !m_pending)
        m_pending = SnapshotEvent::Connected;
    m_connected = connected;
    if (!connected) {
        // A connection that never settled leaves nothing behind; an import or restore still
        // waits for its values, which the next connection reports.
        if (m_pending == SnapshotEvent::Connected)
            m_pending.reset();
        return;
    }
    if (m_pending)
        take(*m_pending);
}

void HistoryWatcher::expect(SnapshotEvent event)
{
    m_pending = event;
    update();
}

void HistoryWatcher::event(const RunEvent &event)
{
    if (event.kind != RunEventKind::StoreConfirmed)
        return;
    m_pending = m_storeLabel.value_or(SnapshotEvent::Stored);
    m_storeLabel.reset();
}

void HistoryWatcher::take(SnapshotEvent event)
{
    const std::optional<ConfigValues> config = reportedConfig(m_model);
    if (!config)
        return;
    m_pending.reset();
    const Stamp now = m_clock();
    Snapshot snapshot;
    snapshot.utcMs = now.utcMs;
    snapshot.utcOffsetMinutes = now.utcOffsetMinutes;
    snapshot.event = event;
    snapshot.port = m_model.connectedPort();
    snapshot.config = *config;
    snapshot.config.aircraft = m_aircraft;
    if (m_sink)
        m_sink(snapshot);
}

} // namespace quelo
