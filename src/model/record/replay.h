// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation.h"
#include "chart_marks.h"
#include "recording_reader.h"
#include "timer.h"
#include "window_state.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace quelo {

// Plays a recorded run back on a set of gauges. The replay position runs in the recording's
// time at 1, 4 or 16 times the pace of the program's clock; each recorded row sets the gauges'
// targets to the values it holds when the position reaches its time, and the needles glide to
// them with the main window's animation. The limits the recording reports move the gauges'
// limit bands. Touches no serial port: it owns nothing but its gauges and two timers.
class Replay
{
public:
    // The program's clock: a steady millisecond count.
    using Clock = std::function<std::int64_t()>;

    Replay(Recording recording, TimerHost &timers, Clock clock);
    Replay(const Replay &) = delete;
    Replay &operator=(const Replay &) = delete;

    const Recording &recording() const { return m_recording; }
    const Needles &gauges() const { return m_w; }
    const ReplyState &targets() const { return m_w; }
    // The propeller gauge shows while the engine stands, as in the main window.
    const bool &propellerShown() const { return m_propellerShown; }

    // The run's first and last moments (UTC ms), and its length.
    double startMs() const { return m_startMs; }
    double durationMs() const { return m_endMs - m_startMs; }
    // Milliseconds from the run's start, 0 .. durationMs().
    double position() const;
    bool playing() const { return m_playing; }
    int speed() const { return m_speed; }

    void play(); // from the start again when at the end
    void pause();
    void setSpeed(int speed); // 1, 4 or 16; others are ignored
    void seek(double positionMs);

    // Called after each change of the position, the targets or the playing state.
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }
    // Called after each animation tick that may have moved a needle.
    void setNeedleListener(std::function<void()> listener) { m_needles = std::move(listener); }

private:
    void rowDue();
    void apply(double positionMs);
    void applyLimits(double t);
    void scheduleNext();
    void changed();

    Recording m_recording;
    ChartMarks m_marks;
    std::vector<double> m_rowTimes; // distinct row times, in order (UTC ms)
    double m_startMs = 0;
    double m_endMs = 0;
    WindowState m_w; // the gauges and their targets; nothing else of it runs
    NeedleAnimation m_animation;
    Timer m_rowTimer{"Replay", 1, false};
    Clock m_clock;
    double m_anchorPosition = 0; // the position when the clock read m_anchorClock
    std::int64_t m_anchorClock = 0;
    bool m_playing = false;
    int m_speed = 1;
    bool m_propellerShown = true;
    std::function<void()> m_changed;
    std::function<void()> m_needles;
};

} // namespace quelo
