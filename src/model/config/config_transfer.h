// SPDX-License-Identifier: GPL-3.0-or-later
// Configuration transfer: the module's configuration read out, or put in and stored.
#pragma once

#include "parameters.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quelo {

class WindowModel;

// The connected module's configuration, once it has reported the firmware version and all
// seven values in this connection and no slider write is waiting; none before, and none while
// no module is connected and answering.
std::optional<ConfigValues> reportedConfig(const WindowModel &model);
// What reportedConfig still waits for ("firmware version", "led_mode", ...); empty when ready.
std::vector<std::string> missingReports(const WindowModel &model);

// Empty when a file saved from firmware `file` fits a module running `module`; else what
// differs, naming both ("saved from firmware 99; the connected module has firmware 26"). A
// file that names no firmware does not fit.
std::string firmwareMismatch(const std::string &file, const std::string &module);

// Moves each slider whose module value (`module`, as reported) differs from `wanted` to the
// wanted value, as the user would: the scheduler then writes it and the read-back confirms
// it; nothing is stored. Returns how many sliders it moved.
int moveSlidersTo(WindowModel &model, const ConfigValues &module, const ConfigValues &wanted);

// Reads the module's configuration out of the window (export), or puts a configuration into
// the module and stores it (import), through the window's own machinery: a value goes out by
// moving its slider as a user would, the scheduler writes it, the module's read-back confirms
// it, and STORE CONFIGURATION stores it. An import is all or nothing: when a value is not
// taken, the time runs out or the caller interrupts it before the store goes out, every value
// it changed is put back (written and confirmed again) and nothing is stored.
// The transfer holds no timer of its own: the caller calls update() after every event of the
// model and now and then besides (so a deadline passes even on a silent line). Times are in ms
// of the caller's clock.
class ConfigTransfer
{
public:
    using Clock = std::function<std::int64_t()>;
    using Progress = std::function<void(const std::string &)>;

    // Writing and confirming one value takes a few read-back rounds of the scheduler: about
    // 3.7 s on a module answering 0.9 s late, twice that is allowed. Putting values back is
    // given this much per value beyond its own base, whatever the deadline of the transfer.
    static constexpr std::int64_t kMsPerValue = 8000;
    static constexpr std::int64_t kPutBackBaseMs = 10000;
    // After an interruption, how long an import whose store is already on the wire waits for
    // its echo.
    static constexpr std::int64_t kStoreGraceMs = 3000;

    // How long a transfer may take: timeoutMs in all, plus perValueMs for each value an import
    // has to write (a default that grows with the work; 0 when the caller gave a fixed bound).
    struct Limits
    {
        Limits(std::int64_t timeout, std::int64_t perValue = 0)
            : timeoutMs(timeout), perValueMs(perValue)
        {
        }
        std::int64_t timeoutMs;
        std::int64_t perValueMs;
    };

    enum class Phase
    {
        Connecting,  // waiting for the module to connect
        Reading,     // waiting for the firmware version and all seven read-backs
        Writing,     // import: sliders moved, waiting for the module to report each one back
        Storing,     // import: store sent, waiting for its echo
        PuttingBack, // import failed: the module's earlier values written again, waiting
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
    static ConfigTransfer exportFrom(WindowModel &model, Clock now, Limits limits,
                                     Progress progress = {});
    // Import of a validated configuration: done once the module holds every value and has
    // echoed the store. A file saved from other firmware than the module's is refused before
    // anything is written, unless acceptAnyFirmware() was called.
    static ConfigTransfer importInto(WindowModel &model, const ConfigValues &config, Clock now,
                                     Limits limits, Progress progress = {});
    void acceptAnyFirmware() { m_anyFirmware = true; }

    // Looks at the window and takes the next step; does nothing once done or failed.
    void update();
    // The caller was told to stop: nothing more is written but what puts the module back as it
    // was; a store already on the wire is waited for briefly. A second call stops putting back.
    void interrupt();

    Phase phase() const { return m_phase; }
    bool finished() const { return m_phase == Phase::Done || m_phase == Phase::Failed; }
    // Why the transfer failed: what was not yet reported or confirmed, or what was refused,
    // and for an import what was put back or what is now live in the module but not stored.
    const std::string &failure() const { return m_failure; }
    // The file was refused for its firmware; nothing was written.
    bool firmwareRefused() const { return m_firmwareRefused; }
    const std::vector<Refusal> &refusals() const { return m_refusals; }
    // Export: the module's values, firmware text and value-box texts. Import: the module's
    // values as last reported.
    const ConfigValues &values() const { return m_values; }

private:
    ConfigTransfer(WindowModel &model, Clock now, Limits limits, Progress progress);

    void step();
    void stop();
    bool allReported();
    void startWriting();
    void checkWritten();
    void checkStored();
    void connectionLost();
    void startPuttingBack(std::string reason);
    void checkPutBack();
    void fail(std::string reason);
    void report(const std::string &text);
    void timeOut();
    std::string notYet() const;
    std::vector<std::size_t> notPutBack() const;
    std::string liveNotStored() const;

    WindowModel &m_model;
    Clock m_now;
    std::int64_t m_deadline;
    std::int64_t m_perValueMs;
    Progress m_progress;
    bool m_import = false;
    bool m_anyFirmware = false;
    bool m_stepping = false;
    ConfigValues m_wanted;
    ConfigValues m_values;
    // Import: the module's values before anything was written, and which ones were written.
    ConfigValues m_before;
    std::array<bool, kParameterCount> m_written{};
    std::vector<std::size_t> m_putBack; // the parameters written again with their earlier value
    bool m_interrupted = false;
    int m_storeEchoes = 0; // the module's store echoes counted when the store was asked
    std::uint64_t m_connection = 0; // the connection the values were read in
    Phase m_phase = Phase::Connecting;
    int m_lastReported = -1;
    std::string m_failure;
    bool m_firmwareRefused = false;
    std::vector<Refusal> m_refusals;
};

} // namespace quelo
