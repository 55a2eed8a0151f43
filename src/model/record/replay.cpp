// SPDX-License-Identifier: GPL-3.0-or-later
#include "replay.h"

#include "int16.h"

#include <algorithm>
#include <cmath>

namespace quelo {

namespace {

constexpr std::int16_t kLimitBand = 3;
constexpr double kRunningRpm = 50; // the engine runs: the propeller gauge hides
constexpr int kLongestWaitMs = 500;
// Targets are held within this, so that no needle is ever further from its target than the
// animation's 16-bit step can measure (a file may hold any number).
constexpr double kTargetLimit = 16000;

// A recorded value as a gauge target: rounded as the decoder rounds, held within the limit.
std::int16_t targetOf(const std::vector<TrendPoint> &series, double t)
{
    const auto sample = sampleAtOrBefore(series, t);
    if (!sample || !std::isfinite(sample->v))
        return 0;
    return roundHalfEven16(std::clamp(sample->v, -kTargetLimit, kTargetLimit));
}

void addTimes(std::vector<double> &times, const std::vector<TrendPoint> &series)
{
    for (const TrendPoint &p : series)
        times.push_back(p.t);
}

} // namespace

Replay::Replay(Recording recording, TimerHost &timers, Clock clock)
    : m_recording(std::move(recording)), m_animation(m_w), m_clock(std::move(clock))
{
    for (const auto *series : {&m_recording.rpm, &m_recording.advanceDeg, &m_recording.busVolts,
                               &m_recording.propAngleDeg})
        addTimes(m_rowTimes, *series);
    for (const RecordedEvent &e : m_recording.events)
        m_rowTimes.push_back(e.t);
    std::sort(m_rowTimes.begin(), m_rowTimes.end());
    m_rowTimes.erase(std::unique(m_rowTimes.begin(), m_rowTimes.end()), m_rowTimes.end());
    if (!m_rowTimes.empty()) {
        m_startMs = m_rowTimes.front();
        m_endMs = m_rowTimes.back();
    }
    m_marks = chartMarks(m_recording.events, m_endMs);

    m_w.Timer2.setHandler([this] {
        m_animation.Timer2_Timer();
        if (m_needles)
            m_needles();
    });
    m_w.Timer2.setHost(&timers);
    timers.timerEnabledChanged(m_w.Timer2);
    m_rowTimer.setHandler([this] { rowDue(); });
    m_rowTimer.setHost(&timers);
    apply(0);
}

double Replay::position() const
{
    if (!m_playing)
        return m_anchorPosition;
    const double run = m_anchorPosition + double(m_clock() - m_anchorClock) * m_speed;
    return std::min(run, durationMs());
}

void Replay::play()
{
    if (m_playing)
        return;
    if (m_anchorPosition >= durationMs())
        seek(0);
    m_anchorClock = m_clock();
    m_playing = true;
    scheduleNext();
    changed();
}

void Replay::pause()
{
    if (!m_playing)
        return;
    m_anchorPosition = position();
    m_playing = false;
    m_rowTimer.setEnabled(false);
    changed();
}

void Replay::setSpeed(int speed)
{
    if ((speed != 1 && speed != 4 && speed != 16) || speed == m_speed)
        return;
    m_anchorPosition = position();
    m_anchorClock = m_clock();
    m_speed = speed;
    if (m_playing)
        scheduleNext();
    changed();
}

void Replay::seek(double positionMs)
{
    m_anchorPosition = std::clamp(positionMs, 0.0, durationMs());
    m_anchorClock = m_clock();
    apply(m_anchorPosition);
    if (m_playing)
        scheduleNext();
    changed();
}

void Replay::rowDue()
{
    m_anchorPosition = position();
    m_anchorClock = m_clock();
    apply(m_anchorPosition);
    if (m_anchorPosition >= durationMs()) {
        m_playing = false;
        m_rowTimer.setEnabled(false);
    } else {
        scheduleNext();
    }
    changed();
}

// Wakes when the next row is due, and not before: the replay costs a timer tick per row.
void Replay::scheduleNext()
{
    m_rowTimer.setEnabled(false);
    const double t = m_startMs + m_anchorPosition;
    const auto next = std::upper_bound(m_rowTimes.begin(), m_rowTimes.end(), t);
    const double due = next == m_rowTimes.end() ? m_endMs : *next;
    // Across a long gap without rows the position still moves on the screen twice a second.
    const double wait = std::ceil((due - t) / m_speed);
    m_rowTimer.setInterval(int(std::clamp(wait, 1.0, double(kLongestWaitMs))));
    m_rowTimer.setEnabled(true);
}

void Replay::apply(double positionMs)
{
    const double t = m_startMs + positionMs;
    m_w.rpmtarget = targetOf(m_recording.rpm, t);
    m_w.advtarget = targetOf(m_recording.advanceDeg, t);
    m_w.voltstarget = targetOf(m_recording.busVolts, t);
    m_w.proptarget = targetOf(m_recording.propAngleDeg, t);
    m_propellerShown = m_w.rpmtarget < kRunningRpm;
    applyLimits(t);
}

void Replay::applyLimits(double t)
{
    const auto limitAt = [t](const std::vector<LimitStretch> &stretches) -> const LimitStretch * {
        const LimitStretch *found = nullptr; // the last one set at or before t
        for (const LimitStretch &s : stretches)
            if (s.from <= t)
                found = &s;
        return found;
    };
    const std::pair<Gauge *, const std::vector<LimitStretch> *> limits[] = {
        {&m_w.rpmdial, &m_marks.rpmLimit}, {&m_w.advdial, &m_marks.advanceLimit}};
    for (const auto &[gauge, stretches] : limits) {
        const LimitStretch *limit = limitAt(*stretches);
        if (!limit || !std::isfinite(limit->value))
            continue;
        gauge->setBandSelector(kLimitBand);
        gauge->setBandEndValue(limit->value);
    }
}

void Replay::changed()
{
    if (m_changed)
        m_changed();
}

} // namespace quelo
