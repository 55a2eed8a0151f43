// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace quelo::sim {

// Line faults applied to everything the module sends (replies, echoes, telemetry).
struct Faults
{
    bool silent = false;           // receive (and apply writes) but never answer
    double dropRate = 0.0;         // probability a reply line is dropped
    int delayMs = 0;               // extra reply latency (replies stay in order)
    int jitterMs = 0;              // random extra latency 0..jitter (order kept)
    double garbageRate = 0.0;      // probability of a burst of random bytes before a reply
    double unterminatedRate = 0.0; // probability a reply line is sent without its terminator
};

enum class LineEnding
{
    Cr,
    CrLf
};

// What the module does with a parameter write outside the valid range.
enum class OutOfRangePolicy
{
    EchoKeepOld, // echo the command, keep the previous value
    EchoClamp,   // echo the command, store the value clamped into range
    Ignore       // no echo, no change
};

// How the module treats one parameter's letter, beyond the line faults: a firmware that drops
// read commands while busy, one that never echoes a write, or one that ignores a letter.
struct LetterBehaviour
{
    bool echoWrites = true;  // echo a write of it
    bool answerReads = true; // answer its read command
    bool applyWrites = true; // take a written value (within the accepted range)
    // What a write outside the accepted range does for this letter; none: the module's policy.
    std::optional<OutOfRangePolicy> outOfRange;
};

struct ParameterRange
{
    int min = 0;
    int max = 0;
};

// Engine values as the module measures them, in wire units.
struct EngineState
{
    int rpm = 0;
    int advanceCount = 0; // degrees / 1.4
    int busTenths = 0;    // bus voltage, 0.1 V
    int propCount = 0;    // propeller angle / 1.406, 0..255
};

class ModuleSim
{
public:
    static constexpr std::string_view kParameterLetters = "dltvcmn";
    static constexpr std::size_t kMaxLineLength = 64;

    explicit ModuleSim(std::uint32_t seed = 1);

    void receive(std::string_view bytes, std::int64_t nowMs);
    std::string takeOutput(std::int64_t nowMs);
    std::optional<std::int64_t> nextOutputDueMs() const;
    std::int64_t nowMs() const { return m_nowMs; } // latest time seen; time never runs back

    // The engine run is a pure function of time and seed; it repeats every cycleLengthMs().
    EngineState engineAt(std::int64_t ms) const;
    std::int64_t cycleLengthMs() const { return m_cycle.totalMs; }
    // A moment in the middle of the first idle phase: the engine runs at idle speed.
    std::int64_t firstIdleMs() const;

    // Holds the engine as it is at engine time atMs: replies and telemetry report that state
    // whatever the time, so rpm, advance, volts and propeller stay still while polling goes on.
    // std::nullopt lets the engine run again.
    void holdEngine(std::optional<std::int64_t> atMs) { m_heldAtMs = atMs; }
    std::optional<std::int64_t> engineHeldAt() const { return m_heldAtMs; }

    static std::optional<ParameterRange> parameterRange(char letter);
    int parameter(char letter) const;          // 'c' as a signed shift; 0 for an unknown letter
    bool setParameter(char letter, int value); // false for an unknown letter or out of range
    // Narrows the values a write over the line may set (a module with tighter limits than
    // the protocol allows); a write outside them is handled by the out-of-range policy.
    // Returns false for an unknown letter or a range outside the parameter's own.
    bool setAcceptedRange(char letter, ParameterRange range);
    std::optional<ParameterRange> acceptedRange(char letter) const;

    int firmwareVersion() const { return m_firmwareVersion; }
    void setFirmwareVersion(int version) { m_firmwareVersion = version & 0xFF; }
    int storeCount() const { return m_storeCount; }
    // The value of a parameter the last store put in the module's stored configuration (the
    // values it started with until the first store); 'c' as a signed shift.
    int storedParameter(char letter) const;

    // Puts a value into the stored configuration as a store made elsewhere would have (a module
    // configured before it is plugged in); the value it holds changes at the next power cycle.
    // False for an unknown letter or a value out of range.
    bool setStoredParameter(char letter, int value);
    // Switched off and on again: the module holds its stored configuration; what it held but
    // had not stored, every reply on its way and any part of a command it had received are lost.
    void powerCycle();

    // Per-letter behaviour; an unknown letter is ignored.
    void setLetterBehaviour(char letter, const LetterBehaviour &behaviour);
    LetterBehaviour letterBehaviour(char letter) const;
    // Lines nobody asked for, on average every intervalMs (0: none): a read-back of a parameter
    // with its current value, an echo of a write with the current value, or noise.
    void setUnaskedLines(int intervalMs);

    const Faults &faults() const { return m_faults; }
    void setFaults(const Faults &faults) { m_faults = faults; }
    LineEnding lineEnding() const { return m_lineEnding; }
    void setLineEnding(LineEnding ending) { m_lineEnding = ending; }
    int baseLatencyMs() const { return m_baseLatencyMs; }
    void setBaseLatencyMs(int ms) { m_baseLatencyMs = ms < 0 ? 0 : ms; }
    OutOfRangePolicy outOfRangePolicy() const { return m_outOfRangePolicy; }
    void setOutOfRangePolicy(OutOfRangePolicy policy) { m_outOfRangePolicy = policy; }

    bool telemetryEnabled() const { return m_telemetryEnabled; }
    void setTelemetryEnabled(bool enabled, int intervalMs = 500);

    // Every CR-terminated line received, without the CR, exactly as sent
    // (overlong lines are discarded and not logged).
    const std::vector<std::string> &commandLog() const { return m_commandLog; }
    void clearCommandLog() { m_commandLog.clear(); }

private:
    struct Cycle
    {
        std::int64_t handMs = 0; // stopped, propeller turned by hand
        std::int64_t idle1Ms = 0;
        std::int64_t runUpMs = 0;
        std::int64_t idle2Ms = 0;
        std::int64_t totalMs = 0;
        double idleRpm = 0;
        double runUpRpm = 0;
    };
    struct Pending
    {
        std::int64_t dueMs = 0;
        std::string bytes;
    };

    EngineState engineNow(std::int64_t nowMs) const { return engineAt(m_heldAtMs.value_or(nowMs)); }
    void handleLine(const std::string &line, std::int64_t nowMs);
    void handleWrite(const std::string &line, char command, std::string_view value,
                     std::int64_t nowMs);
    std::string readReply(char command, std::int64_t nowMs) const;
    void queueReply(const std::string &text, std::int64_t nowMs);
    void generateTelemetry(std::int64_t upToMs);
    void generateUnasked(std::int64_t upToMs);
    std::string unaskedLine();
    std::optional<std::string> applyLineFaults(const std::string &text, std::mt19937 &rng);
    void insertPending(std::int64_t dueMs, std::string bytes);
    double noise(std::int64_t ms, int channel, int periodMs) const;

    std::uint32_t m_seed;
    std::mt19937 m_replyRng;
    std::mt19937 m_telemetryRng;
    Cycle m_cycle;
    std::array<int, 7> m_params{};
    std::array<ParameterRange, 7> m_accepted{};
    int m_firmwareVersion = 0x1A;
    int m_storeCount = 0;
    std::array<int, 7> m_stored{};
    std::array<LetterBehaviour, 7> m_behaviour{};
    int m_unaskedIntervalMs = 0;
    std::int64_t m_nextUnaskedMs = 0;
    std::mt19937 m_unaskedRng;
    Faults m_faults;
    LineEnding m_lineEnding = LineEnding::Cr;
    OutOfRangePolicy m_outOfRangePolicy = OutOfRangePolicy::EchoKeepOld;
    int m_baseLatencyMs = 8;
    bool m_telemetryEnabled = false;
    int m_telemetryIntervalMs = 500;
    std::int64_t m_nextTelemetryMs = 0;
    std::optional<std::int64_t> m_heldAtMs;
    std::int64_t m_nowMs = 0;
    std::int64_t m_lastReplyDueMs = 0;
    std::string m_line;
    bool m_discarding = false;
    std::deque<Pending> m_pending;
    std::vector<std::string> m_commandLog;
};

} // namespace quelo::sim
