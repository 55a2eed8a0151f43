// SPDX-License-Identifier: GPL-3.0-or-later
// What the module reports while the link runs, as told to whoever listens: the recording, the
// live trend. The conversation tells it; it knows nothing of who listens.
#pragma once

#include <optional>
#include <string>

namespace quelo {

// What the module reported in one reply line, in the units the gauges show, unrounded: engine
// speed in rpm (an integer), advance in degrees (count x 1.4), bus voltage in volts (tenths / 10,
// so 12.5 stays 12.5 where the gauge target holds 12), propeller angle in degrees (count x 1.406,
// at most 360). A single-value line fills one field; the telemetry frame fills several.
struct TelemetryReport
{
    std::optional<double> rpm;
    std::optional<double> advanceDeg;
    std::optional<double> busVolts;
    std::optional<double> propAngleDeg;
};

// Told what the module reports while the link runs. Telemetry: once per decoded telemetry line.
// Events: link and configuration events as one line of text ("Connected Comm Port 1",
// "maxrpm=2560", "stored").
class RunObserver
{
public:
    virtual ~RunObserver() = default;
    virtual void telemetry(const TelemetryReport &report) = 0;
    virtual void event(const std::string &text) = 0;
};

} // namespace quelo
