// SPDX-License-Identifier: GPL-3.0-or-later
// Run events: what the running link tells whoever listens (telemetry and typed events).
// The conversation tells them; it knows nothing of who listens (the recording, the live trend,
// the history).
#pragma once

#include <optional>
#include <string>
#include <vector>

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

// What an event is. Listeners decide by the kind, never by the text, which is for people (and
// is what a recording's event column holds). A listener treats a kind it does not handle as a
// neutral event.
enum class RunEventKind
{
    LinkUp,            // the module answered: "Connected Comm Port N"
    LinkLost,          // the open port failed: "Link lost on Comm Port N"
    NoAnswer,          // the connected module fell silent: "No answer from the module on ..."
    SearchEnded,       // every port tried and none answered: "Valid comm port not found"
    Status,            // any other status-line text: a port being tried, the line cleared
    ParameterReported, // the module reported a new value: "<file key>=<value box text>"
    StoreConfirmed,    // the module confirmed a store holding every change: "stored"
    Mark,              // the user marked the moment: "mark N"
    Aircraft,          // the aircraft the run is for: "aircraft NAME"
    Unclassified,      // a text no table here knows (a recording from a later version)
};

// The kinds a recording can hold, in declaration order.
inline constexpr RunEventKind kRunEventKinds[] = {
    RunEventKind::LinkUp,         RunEventKind::LinkLost, RunEventKind::NoAnswer,
    RunEventKind::SearchEnded,    RunEventKind::Status,   RunEventKind::ParameterReported,
    RunEventKind::StoreConfirmed, RunEventKind::Mark,     RunEventKind::Aircraft,
    RunEventKind::Unclassified};

// A text the status line shows (a dotted line on a chart).
bool isStatusLine(RunEventKind kind);

struct RunEvent
{
    RunEventKind kind = RunEventKind::Unclassified;
    std::string text;
};

// Told what the module reports while the link runs. Telemetry: once per decoded telemetry line.
// Events: every change of the status line, every new value the module reports, a confirmed
// store, a mark of the user's.
class RunObserver
{
public:
    virtual ~RunObserver() = default;
    virtual void telemetry(const TelemetryReport &report) = 0;
    virtual void event(const RunEvent &event) = 0;
};

// Passes every report on to each observer added, in the order they were added. Observers are
// not owned and must outlive their membership.
class RunObservers final : public RunObserver
{
public:
    void add(RunObserver *observer);
    void remove(RunObserver *observer);
    void telemetry(const TelemetryReport &report) override;
    void event(const RunEvent &event) override;

private:
    std::vector<RunObserver *> m_observers;
};

} // namespace quelo
