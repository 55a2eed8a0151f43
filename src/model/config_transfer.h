// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "parameters.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quelo {

class WindowModel;

// The module's configuration as the window shows it, once the firmware version and all seven
// values are reported and no slider write is waiting; none before.
std::optional<ConfigValues> reportedConfig(const WindowState &w);
// What reportedConfig still waits for ("firmware version", "led_mode", ...); empty when ready.
std::vector<std::string> missingReports(const WindowState &w);
// The status line says the module is connected ("Connected Comm Port n").
bool moduleConnected(const WindowState &w);

// Moves each slider whose module value (`module`, as reported) differs from `wanted` to the
// wanted value, as the user would: the scheduler then writes it and the read-back confirms
// it; nothing is stored. Returns how many sliders it moved.
int moveSlidersTo(WindowModel &model, const ConfigValues &module, const ConfigValues &wanted);

// Reads the module's configuration out of the window (export), or puts a configuration into
// the module and stores it (import), through the window's own machinery: a value goes out by
// moving its slider as a user would, the scheduler writes it, the module's read-back confirms
// it, and STORE CONFIGURATION stores it. The transfer holds no timer of its own: the caller
// calls update() after every event of the model and now and then besides (so a deadline
// passes even on a silent line). Times are in ms of the caller's clock.
class ConfigTransfer
{
public:
    using Clock = std::function<std::int64_t()>;
    using Progress = std::function<void(const std::string &)>;

    enum class Phase
    {
        Connecting, // waiting for "Connected Comm Port n"
        Reading,    // waiting for the firmware version and all seven read-backs
        Writing,    // import: sliders moved, waiting for the module to report each one back
        Storing,    // import: store sent, waiting for its echo
        Done,
        Failed
    };

    // A parameter the module did not take: the file's value and the value it kept.
    struct Refusal
    {
        std::string key;
        int asked;
        int kept;
    };

    // Export: done once everything is reported; values() then holds the module's values.
    static ConfigTransfer exportFrom(WindowModel &model, Clock now, std::int64_t timeoutMs,
                                     Progress progress = {});
    // Import of a validated configuration: done once the module holds every value and has
    // echoed the store. A value the module does not take fails the import before any store.
    static ConfigTransfer importInto(WindowModel &model, const ConfigValues &config, Clock now,
                                     std::int64_t timeoutMs, Progress progress = {});

    // Looks at the window and takes the next step; does nothing once done or failed.
    void update();

    Phase phase() const { return m_phase; }
    bool finished() const { return m_phase == Phase::Done || m_phase == Phase::Failed; }
    // Why the transfer failed: what was not yet reported or confirmed, or what was refused.
    const std::string &failure() const { return m_failure; }
    const std::vector<Refusal> &refusals() const { return m_refusals; }
    // Export: the module's values, firmware text and value-box texts. Import: the module's
    // values as last reported.
    const ConfigValues &values() const { return m_values; }

private:
    ConfigTransfer(WindowModel &model, Clock now, std::int64_t timeoutMs, Progress progress);

    void step();
    bool connected();
    bool allReported();
    void startWriting();
    void checkWritten();
    void checkStored();
    void fail(std::string reason);
    void report(const std::string &text);
    void timeOut();

    WindowModel &m_model;
    Clock m_now;
    std::int64_t m_deadline;
    Progress m_progress;
    bool m_import = false;
    bool m_stepping = false;
    ConfigValues m_wanted;
    ConfigValues m_values;
    Phase m_phase = Phase::Connecting;
    int m_lastReported = -1;
    std::string m_failure;
    std::vector<Refusal> m_refusals;
};

} // namespace quelo
