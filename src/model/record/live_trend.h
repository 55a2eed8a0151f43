// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recording_reader.h"
#include "run_recording.h"

#include <array>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace quelo {

// The charted quantities, in the order the trends chart draws them.
enum class Trend
{
    EngineSpeed,
    Advance,
    BusVolts
};
constexpr std::size_t kTrendCount = 3;

// The live trend: the points of the last `span` milliseconds before the newest one, kept apart
// from any chart so that reports cost a deque append while nothing is shown. A chart takes the
// changes since its last look with takeChanges(), or everything with takeAll() when it is shown.
// Memory is bounded by number too, whatever the line sends: once a series holds half of
// kMaxPoints, it keeps a point only when it is at least span / kMaxPoints away from the last one
// kept (a chart a few thousand pixels wide shows no more), and it never holds more than
// kMaxPoints, the oldest going first (a clock set back); events beyond kMaxEvents go oldest
// first. Points are only ever added at the end and dropped at the front, as a chart follows.
class LiveTrend
{
public:
    static constexpr double kDefaultSpanMs = 5 * 60 * 1000.0;
    static constexpr std::size_t kMaxPoints = 12000;
    static constexpr std::size_t kMaxEvents = 2000;

    struct Changes
    {
        std::size_t dropFront = 0;      // points the chart holds that have left the span
        std::vector<TrendPoint> append; // points the chart has not had yet
    };

    explicit LiveTrend(double spanMs = kDefaultSpanMs) : m_spanMs(spanMs) {}

    // Adds the reported quantities at time t (UTC ms), then drops what is older than the span.
    void add(double t, const TelemetryReport &report);
    // Adds an event (a status-line change, a reported value, a mark) at time t (UTC ms). Events
    // older than the span go with the points.
    void addEvent(double t, const RunEvent &event);
    // The events in the span, for a chart that redraws them; hasChanges() holds from an added
    // event until the next take.
    std::vector<RecordedEvent> takeEvents();
    // The first moment kept since the trend was last cleared (UTC ms), 0 before any.
    double origin() const { return m_origin; }

    Changes takeChanges(Trend which);
    std::vector<TrendPoint> takeAll(Trend which);
    void clear();

    bool hasChanges() const;
    double newest() const { return m_newest; }
    double spanMs() const { return m_spanMs; }

private:
    struct Series
    {
        std::deque<TrendPoint> points;
        std::size_t unsent = 0;      // the last `unsent` points have not been taken
        std::size_t sentDropped = 0; // taken points dropped since the last take
    };

    void keep(Series &s, double t, double v) const;
    void dropOld(Series &s);
    void dropOldEvents();

    double m_spanMs;
    double m_newest = 0;
    double m_origin = 0;
    std::array<Series, kTrendCount> m_series;
    std::deque<RecordedEvent> m_events;
    bool m_newEvents = false;
};

} // namespace quelo
