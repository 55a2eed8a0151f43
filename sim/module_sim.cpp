// SPDX-License-Identifier: GPL-3.0-or-later
#include "module_sim.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace quelo::sim {

namespace {

constexpr std::array<ParameterRange, 7> kRanges = {{
    {0, 8},   // d: run mode start delay
    {0, 3},   // l: LED mode
    {0, 2},   // t: tach pulses per revolution
    {0, 2},   // v: tach volts
    {-9, 9},  // c: advance shift
    {0, 16},  // m: max rpm limit, x256
    {14, 35}, // n: max advance limit, x1.4 degrees
}};
constexpr std::array<int, 7> kDefaults = {2, 1, 1, 2, -4, 12, 25};

constexpr std::int64_t kCrankMs = 2500;
constexpr std::int64_t kRampUpMs = 4000;
constexpr std::int64_t kRampDownMs = 3000;
constexpr std::int64_t kShutdownMs = 4000;
constexpr std::int64_t kRestMs = 4000;

int letterIndex(char letter)
{
    const auto pos = ModuleSim::kParameterLetters.find(letter);
    return pos == std::string_view::npos ? -1 : int(pos);
}

std::string hex(int value, int width)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", width, unsigned(value) & ((1u << (4 * width)) - 1));
    return buf;
}

double smoothstep(double x)
{
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

double lerp(double a, double b, double x)
{
    return a + (b - a) * x;
}

std::uint64_t mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

bool chance(std::mt19937 &rng, double probability)
{
    if (probability <= 0.0)
        return false;
    if (probability >= 1.0)
        return true;
    return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < probability;
}

} // namespace

ModuleSim::ModuleSim(std::uint32_t seed)
    : m_seed(seed), m_replyRng(seed), m_telemetryRng(seed ^ 0x5A5A5A5Au), m_params(kDefaults),
      m_accepted(kRanges), m_unaskedRng(seed ^ 0x0DDBA11u)
{
    m_stored = m_params;
    // Each seed gets its own run: phase lengths and speeds vary a little.
    std::mt19937 rng(seed ^ 0xC0FFEEu);
    auto between = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    m_cycle.handMs = between(8000, 12000);
    m_cycle.idle1Ms = between(15000, 20000);
    m_cycle.runUpMs = between(10000, 14000);
    m_cycle.idle2Ms = between(10000, 15000);
    m_cycle.idleRpm = between(980, 1020);
    m_cycle.runUpRpm = between(2600, 2700);
    m_cycle.totalMs = m_cycle.handMs + kCrankMs + m_cycle.idle1Ms + kRampUpMs + m_cycle.runUpMs +
                      kRampDownMs + m_cycle.idle2Ms + kShutdownMs + kRestMs;
}

std::optional<ParameterRange> ModuleSim::parameterRange(char letter)
{
    const int index = letterIndex(letter);
    if (index < 0)
        return std::nullopt;
    return kRanges[index];
}

int ModuleSim::parameter(char letter) const
{
    const int index = letterIndex(letter);
    return index < 0 ? 0 : m_params[index];
}

bool ModuleSim::setParameter(char letter, int value)
{
    const int index = letterIndex(letter);
    if (index < 0 || value < kRanges[index].min || value > kRanges[index].max)
        return false;
    m_params[index] = value;
    return true;
}

bool ModuleSim::setAcceptedRange(char letter, ParameterRange range)
{
    const int index = letterIndex(letter);
    if (index < 0 || range.min > range.max || range.min < kRanges[index].min ||
        range.max > kRanges[index].max)
        return false;
    m_accepted[index] = range;
    return true;
}

std::optional<ParameterRange> ModuleSim::acceptedRange(char letter) const
{
    const int index = letterIndex(letter);
    if (index < 0)
        return std::nullopt;
    return m_accepted[index];
}

int ModuleSim::storedParameter(char letter) const
{
    const int index = letterIndex(letter);
    return index < 0 ? 0 : m_stored[index];
}

bool ModuleSim::setStoredParameter(char letter, int value)
{
    const int index = letterIndex(letter);
    if (index < 0 || value < kRanges[index].min || value > kRanges[index].max)
        return false;
    m_stored[index] = value;
    return true;
}

void ModuleSim::powerCycle()
{
    m_params = m_stored;
    m_pending.clear();
    m_lastReplyDueMs = m_nowMs;
    m_line.clear();
    m_discarding = false;
}

void ModuleSim::setLetterBehaviour(char letter, const LetterBehaviour &behaviour)
{
    const int index = letterIndex(letter);
    if (index >= 0)
        m_behaviour[index] = behaviour;
}

LetterBehaviour ModuleSim::letterBehaviour(char letter) const
{
    const int index = letterIndex(letter);
    return index < 0 ? LetterBehaviour{} : m_behaviour[index];
}

void ModuleSim::setUnaskedLines(int intervalMs)
{
    m_unaskedIntervalMs = std::max(0, intervalMs);
    m_nextUnaskedMs = m_nowMs + m_unaskedIntervalMs;
}

std::string ModuleSim::unaskedLine()
{
    const int kind = std::uniform_int_distribution<int>(0, 9)(m_unaskedRng);
    const char letter =
        kParameterLetters[std::uniform_int_distribution<std::size_t>(0, 6)(m_unaskedRng)];
    if (kind < 6)
        return readReply(letter, m_nowMs);
    if (kind < 9)
        return std::string("/") + char(std::toupper(static_cast<unsigned char>(letter))) +
               std::to_string(parameter(letter));
    return "zq";
}

void ModuleSim::generateUnasked(std::int64_t upToMs)
{
    while (m_unaskedIntervalMs > 0 && m_nextUnaskedMs <= upToMs) {
        const std::int64_t at = m_nextUnaskedMs;
        if (auto bytes = applyLineFaults(unaskedLine(), m_unaskedRng)) {
            // Sent after whatever reply is due: a line is never cut into another.
            const std::int64_t due = std::max(at, m_lastReplyDueMs);
            m_lastReplyDueMs = due;
            insertPending(due, std::move(*bytes));
        }
        m_nextUnaskedMs +=
            std::uniform_int_distribution<int>(1, 2 * m_unaskedIntervalMs)(m_unaskedRng);
    }
}

void ModuleSim::setTelemetryEnabled(bool enabled, int intervalMs)
{
    m_telemetryEnabled = enabled;
    m_telemetryIntervalMs = std::max(1, intervalMs);
    m_nextTelemetryMs = (m_nowMs / m_telemetryIntervalMs + 1) * m_telemetryIntervalMs;
}

std::int64_t ModuleSim::firstIdleMs() const
{
    return m_cycle.handMs + kCrankMs + m_cycle.idle1Ms / 2;
}

// Smooth noise in [-1, 1]: values hashed per period, interpolated in between.
double ModuleSim::noise(std::int64_t ms, int channel, int periodMs) const
{
    const std::int64_t bucket = ms / periodMs;
    auto at = [this, channel](std::int64_t b) {
        const std::uint64_t h = mix(mix(m_seed * 131ull + channel) ^ std::uint64_t(b));
        return double(h >> 11) / double(1ull << 53) * 2.0 - 1.0;
    };
    return lerp(at(bucket), at(bucket + 1), smoothstep(double(ms % periodMs) / periodMs));
}

EngineState ModuleSim::engineAt(std::int64_t ms) const
{
    ms = std::max<std::int64_t>(ms, 0);
    const Cycle &c = m_cycle;
    std::int64_t t = ms % c.totalMs;
    double rpm = 0.0;
    bool cranking = false;

    // Walk the phases: hand turning, crank, idle, run-up, idle, shutdown, rest.
    auto in = [&t](std::int64_t length) {
        if (t < length)
            return true;
        t -= length;
        return false;
    };
    if (in(c.handMs)) {
        rpm = 0.0;
    } else if (in(kCrankMs)) {
        cranking = t < 1600;
        if (t < 600)
            rpm = 300.0 * t / 600.0;
        else if (t < 1600)
            rpm = 300.0 + 15.0 * noise(ms, 1, 150);
        else
            rpm = lerp(300.0, c.idleRpm, smoothstep((t - 1600) / 900.0));
    } else if (in(c.idle1Ms)) {
        rpm = c.idleRpm + 15.0 * noise(ms, 2, 200);
    } else if (in(kRampUpMs)) {
        rpm = lerp(c.idleRpm, c.runUpRpm, smoothstep(double(t) / kRampUpMs)) +
              20.0 * noise(ms, 2, 200);
    } else if (in(c.runUpMs)) {
        rpm = c.runUpRpm + 25.0 * noise(ms, 2, 200);
    } else if (in(kRampDownMs)) {
        rpm = lerp(c.runUpRpm, c.idleRpm, smoothstep(double(t) / kRampDownMs)) +
              20.0 * noise(ms, 2, 200);
    } else if (in(c.idle2Ms)) {
        rpm = c.idleRpm + 15.0 * noise(ms, 2, 200);
    } else if (in(kShutdownMs)) {
        rpm = c.idleRpm * std::exp(-double(t) / 600.0);
        if (rpm < 40.0)
            rpm = 0.0;
    }

    EngineState s;
    s.rpm = std::max(0, int(std::lround(rpm)));
    const int limit = parameter('m') * 256;
    if (limit > 0)
        s.rpm = std::min(s.rpm, limit);

    const double load = std::clamp((s.rpm - 1000.0) / 1700.0, 0.0, 1.0);
    s.advanceCount = int(std::lround((21.0 + 14.0 * load) / 1.4)); // 21..35 degrees
    s.advanceCount = std::min(s.advanceCount, parameter('n'));

    double volts;
    if (cranking)
        volts = 116.0 + 2.0 * noise(ms, 3, 100);
    else if (s.rpm == 0)
        volts = 124.0 + 0.8 * noise(ms, 3, 1000);
    else
        volts = 138.0 + 4.0 * load + 0.8 * noise(ms, 3, 500);
    s.busTenths = int(std::lround(volts));

    if (s.rpm == 0) // turned by hand: creeps one count every 150 ms
        s.propCount = int((std::int64_t(m_seed) + ms / 150) & 0xFF);
    else
        s.propCount = int(std::llround(double(ms) * s.rpm * 0.006 / 1.406) & 0xFF);
    return s;
}

void ModuleSim::receive(std::string_view bytes, std::int64_t nowMs)
{
    m_nowMs = std::max(m_nowMs, nowMs);
    for (const char ch : bytes) {
        if (ch == '\r') {
            if (!m_discarding)
                handleLine(m_line, m_nowMs);
            m_line.clear();
            m_discarding = false;
        } else if (!m_discarding) {
            if (m_line.size() >= kMaxLineLength) {
                m_line.clear();
                m_discarding = true;
            } else {
                m_line.push_back(ch);
            }
        }
    }
}

void ModuleSim::handleLine(const std::string &line, std::int64_t nowMs)
{
    m_commandLog.push_back(line);
    if (line.size() < 2 || line[0] != '/')
        return;
    const char command = line[1];
    const std::string_view rest = std::string_view(line).substr(2);
    if (std::islower(static_cast<unsigned char>(command))) {
        if (!rest.empty() || !letterBehaviour(command).answerReads)
            return;
        const std::string reply = readReply(command, nowMs);
        if (!reply.empty())
            queueReply(reply, nowMs);
    } else if (std::isupper(static_cast<unsigned char>(command))) {
        handleWrite(line, command, rest, nowMs);
    }
    // "/*" (probe) and everything else: no answer.
}

std::string ModuleSim::readReply(char command, std::int64_t nowMs) const
{
    const int index = letterIndex(command);
    if (index >= 0) {
        int value = m_params[index];
        if (command == 'c' && value < 0)
            value += 255;
        return command + hex(value, 2);
    }
    const EngineState engine = engineNow(nowMs);
    switch (command) {
    case 'u':
        return "u" + hex(m_firmwareVersion, 2);
    case 'p':
        return "p" + hex(engine.propCount, 2) + "00";
    case 'x':
        return "x" + hex(engine.rpm, 4);
    case 'b':
        return "b" + hex(engine.advanceCount, 2);
    case 'w':
        return "w" + hex(engine.busTenths, 2);
    default:
        return {};
    }
}

void ModuleSim::handleWrite(const std::string &line, char command, std::string_view value,
                            std::int64_t nowMs)
{
    int number = 0;
    const char *end = value.data() + value.size();
    if (value.empty() || value.size() > 6 ||
        std::from_chars(value.data(), end, number).ptr != end) {
        return;
    }
    if (command == 'W') {
        ++m_storeCount;
        m_stored = m_params;
        queueReply(line, nowMs);
        return;
    }
    const char letter = char(std::tolower(static_cast<unsigned char>(command)));
    const auto range = acceptedRange(letter);
    if (!range)
        return;
    const LetterBehaviour behaviour = letterBehaviour(letter);
    const OutOfRangePolicy policy = behaviour.outOfRange.value_or(m_outOfRangePolicy);
    // Writing the value it already holds changes nothing, whatever its limits are by now.
    const bool holds = number == parameter(letter);
    if (!holds && number >= range->min && number <= range->max) {
        if (behaviour.applyWrites)
            setParameter(letter, number);
    } else if (!holds) {
        if (policy == OutOfRangePolicy::Ignore)
            return;
        if (policy == OutOfRangePolicy::EchoClamp && behaviour.applyWrites)
            setParameter(letter, std::clamp(number, range->min, range->max));
    }
    if (behaviour.echoWrites)
        queueReply(line, nowMs);
}

std::optional<std::string> ModuleSim::applyLineFaults(const std::string &text, std::mt19937 &rng)
{
    if (m_faults.silent || chance(rng, m_faults.dropRate))
        return std::nullopt;
    std::string bytes;
    if (chance(rng, m_faults.garbageRate)) {
        // Line noise: never a line terminator, so the burst corrupts the front of the reply.
        const int length = std::uniform_int_distribution<int>(1, 12)(rng);
        std::uniform_int_distribution<int> byte(0, 255);
        while (int(bytes.size()) < length) {
            const char ch = char(byte(rng));
            if (ch != '\r' && ch != '\n')
                bytes.push_back(ch);
        }
    }
    bytes += text;
    if (!chance(rng, m_faults.unterminatedRate))
        bytes += m_lineEnding == LineEnding::CrLf ? "\r\n" : "\r";
    return bytes;
}

void ModuleSim::insertPending(std::int64_t dueMs, std::string bytes)
{
    const auto pos =
        std::upper_bound(m_pending.begin(), m_pending.end(), dueMs,
                         [](std::int64_t due, const Pending &p) { return due < p.dueMs; });
    m_pending.insert(pos, Pending{dueMs, std::move(bytes)});
}

void ModuleSim::queueReply(const std::string &text, std::int64_t nowMs)
{
    auto bytes = applyLineFaults(text, m_replyRng);
    if (!bytes)
        return;
    std::int64_t due = nowMs + m_baseLatencyMs + std::max(0, m_faults.delayMs);
    if (m_faults.jitterMs > 0)
        due += std::uniform_int_distribution<int>(0, m_faults.jitterMs)(m_replyRng);
    due = std::max(due, m_lastReplyDueMs);
    m_lastReplyDueMs = due;
    insertPending(due, std::move(*bytes));
}

void ModuleSim::generateTelemetry(std::int64_t upToMs)
{
    while (m_telemetryEnabled && m_nextTelemetryMs <= upToMs) {
        const EngineState e = engineNow(m_nextTelemetryMs);
        const std::string frame =
            "=" + hex(e.rpm, 4) + hex(e.advanceCount, 2) + "00" + "00" + hex(e.busTenths, 2);
        if (auto bytes = applyLineFaults(frame, m_telemetryRng))
            insertPending(m_nextTelemetryMs, std::move(*bytes));
        m_nextTelemetryMs += m_telemetryIntervalMs;
    }
}

std::string ModuleSim::takeOutput(std::int64_t nowMs)
{
    m_nowMs = std::max(m_nowMs, nowMs);
    generateTelemetry(m_nowMs);
    generateUnasked(m_nowMs);
    std::string out;
    while (!m_pending.empty() && m_pending.front().dueMs <= m_nowMs) {
        out += m_pending.front().bytes;
        m_pending.pop_front();
    }
    return out;
}

std::optional<std::int64_t> ModuleSim::nextOutputDueMs() const
{
    std::optional<std::int64_t> due;
    if (!m_pending.empty())
        due = m_pending.front().dueMs;
    if (m_telemetryEnabled && !m_faults.silent)
        due = due ? std::min(*due, m_nextTelemetryMs) : m_nextTelemetryMs;
    if (m_unaskedIntervalMs > 0 && !m_faults.silent)
        due = due ? std::min(*due, m_nextUnaskedMs) : m_nextUnaskedMs;
    return due;
}

} // namespace quelo::sim
