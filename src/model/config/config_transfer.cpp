// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_transfer.h"

#include "convert.h"
#include "window_model.h"

#include <algorithm>
#include <utility>

namespace quelo {

namespace {

// " of 7 parameters": the end of a progress line counting parameters.
std::string ofAllParameters()
{
    return " of " + decimalInteger(static_cast<long long>(kParameterCount)) + " parameters";
}

bool inRange(const Parameter &p, long long k)
{
    return k >= minOf(p) && k <= maxOf(p);
}

// The module's value as it last read it back, once reported since the last write and inside
// the slider's range.
std::optional<int> reportedValue(const WindowModel &model, const Parameter &p)
{
    const std::optional<long long> k = model.reported(p);
    if (!k || !inRange(p, *k))
        return std::nullopt;
    return static_cast<int>(*k);
}

// Reported, and no write of the slider waiting: the module's value and the slider agree, or
// the model has given up writing it.
bool settled(const WindowModel &model, const Parameter &p)
{
    return reportedValue(model, p) && !model.writeWaiting(p);
}

std::string join(const std::vector<std::string> &parts)
{
    std::string out;
    for (const std::string &part : parts)
        out += (out.empty() ? "" : ", ") + part;
    return out;
}

// Moves the slider so that its change marks it for writing `value`. A slider that already shows
// the value while the module holds another (the advance-shift read-back never moves its
// slider) is moved off and back in the same moment; the scheduler only ever writes the value
// the slider holds when it acts, so the value in between never goes out.
void moveForWrite(WindowModel &model, const Parameter &p, int value)
{
    if (model.sliderValue(p) == value)
        model.moveSlider(p, value == minOf(p) ? maxOf(p) : minOf(p));
    model.moveSlider(p, static_cast<std::int16_t>(value));
}

} // namespace

std::optional<ConfigValues> reportedConfig(const WindowModel &model)
{
    const std::optional<std::string> firmware = model.firmware();
    if (!model.isConnected() || !firmware)
        return std::nullopt;
    ConfigValues config;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        if (!settled(model, p))
            return std::nullopt;
        config.values[i] = *reportedValue(model, p);
    }
    config.shown = shownTexts(config);
    config.firmware = *firmware;
    return config;
}

std::vector<std::string> missingReports(const WindowModel &model)
{
    std::vector<std::string> missing;
    if (!model.firmware())
        missing.push_back("firmware version");
    for (const Parameter &p : kParameters)
        if (!settled(model, p))
            missing.push_back(p.key);
    return missing;
}

std::string firmwareMismatch(const std::string &file, const std::string &module)
{
    // The file's text is untrusted: it is named, never repeated at any length.
    constexpr std::size_t kMaxNamed = 24;
    if (!file.empty() && file == module)
        return {};
    std::string named = file.empty()               ? "(not named in the file)"
                        : file.size() <= kMaxNamed ? file
                                                   : file.substr(0, kMaxNamed) + "...";
    for (char &ch : named)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            ch = '?'; // a control character would reach the terminal
    return "saved from firmware " + named + "; the connected module has firmware " + module;
}

int moveSlidersTo(WindowModel &model, const ConfigValues &module, const ConfigValues &wanted)
{
    int moved = 0;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        if (module.values[i] == wanted.values[i])
            continue;
        moveForWrite(model, kParameters[i], wanted.values[i]);
        ++moved;
    }
    return moved;
}

ConfigTransfer::ConfigTransfer(WindowModel &model, Clock now, Limits limits, Progress progress)
    : m_model(model), m_now(std::move(now)), m_deadline(m_now() + limits.timeoutMs),
      m_perValueMs(limits.perValueMs), m_progress(std::move(progress))
{
}

ConfigTransfer ConfigTransfer::exportFrom(WindowModel &model, Clock now, Limits limits,
                                          Progress progress)
{
    return ConfigTransfer(model, std::move(now), limits, std::move(progress));
}

ConfigTransfer ConfigTransfer::importInto(WindowModel &model, const ConfigValues &config, Clock now,
                                          Limits limits, Progress progress)
{
    ConfigTransfer transfer(model, std::move(now), limits, std::move(progress));
    transfer.m_import = true;
    transfer.m_wanted = config;
    return transfer;
}

void ConfigTransfer::update()
{
    // Moving a slider is a model event, whose change notification may call back in here.
    if (m_stepping || finished())
        return;
    m_stepping = true;
    step();
    if (!finished() && m_now() >= m_deadline)
        timeOut();
    m_stepping = false;
}

void ConfigTransfer::step()
{
    if (m_phase == Phase::Connecting && m_model.isConnected()) {
        report("connected on Comm Port " + decimalInteger(m_model.connectedPort()));
        m_phase = Phase::Reading;
        m_connection = m_model.connectionId();
    }
    // What was read, written or stored belongs to the connection it happened in: after a lost
    // link nothing of it is carried over to whatever module answers next.
    if (m_phase != Phase::Connecting && m_connection != m_model.connectionId())
        return connectionLost();
    if (m_phase == Phase::Reading && allReported()) {
        if (!m_import) {
            m_phase = Phase::Done;
            return;
        }
        const std::string mismatch = firmwareMismatch(m_wanted.firmware, m_values.firmware);
        if (!mismatch.empty() && !m_anyFirmware) {
            m_firmwareRefused = true;
            return fail("the file was " + mismatch + "; nothing written");
        }
        startWriting();
    }
    if (m_phase == Phase::Writing)
        checkWritten();
    if (m_phase == Phase::Storing)
        checkStored();
    if (m_phase == Phase::PuttingBack)
        checkPutBack();
}

void ConfigTransfer::interrupt()
{
    if (m_stepping || finished())
        return;
    m_stepping = true;
    stop();
    m_stepping = false;
}

void ConfigTransfer::stop()
{
    switch (m_phase) {
    case Phase::Connecting:
    case Phase::Reading:
        return fail("interrupted; nothing written");
    case Phase::Writing:
        return startPuttingBack("interrupted");
    case Phase::Storing:
        // The store is on the wire: the module may take it whatever happens now.
        m_interrupted = true;
        report("interrupted: waiting for the echo of the store already sent");
        m_deadline = std::min(m_deadline, m_now() + kStoreGraceMs);
        return;
    case Phase::PuttingBack:
        return fail(m_failure + "; interrupted again while putting back: " + liveNotStored());
    case Phase::Done:
    case Phase::Failed:
        return;
    }
}

// Counts the reports as they come in; once the firmware version and all seven values are
// reported and settled, takes them as the module's configuration.
bool ConfigTransfer::allReported()
{
    int reported = 0;
    for (const Parameter &p : kParameters)
        reported += reportedValue(m_model, p) ? 1 : 0;
    // While the values are being read back the count can drop for a moment; the progress line
    // only tells of new reports, so a user never sees it run backwards.
    if (reported > m_lastReported) {
        m_lastReported = reported;
        report(decimalInteger(reported) + ofAllParameters() + " reported");
    }
    const std::optional<ConfigValues> config = reportedConfig(m_model);
    if (config)
        m_values = *config;
    return config.has_value();
}

// The time allowed grows with the values to write when the caller asked for that.
void ConfigTransfer::startWriting()
{
    m_before = m_values;
    int moved = 0;
    for (std::size_t i = 0; i < kParameterCount; ++i)
        moved += (m_written[i] = m_before.values[i] != m_wanted.values[i]) ? 1 : 0;
    m_deadline += m_perValueMs * moved;
    moveSlidersTo(m_model, m_before, m_wanted);
    report(moved == 0 ? "the module already holds every value"
                      : "writing " + decimalInteger(moved) + ofAllParameters());
    m_phase = Phase::Writing;
}

// Once every parameter is settled again, either every value is the file's and the store goes
// out, or the module kept some other value and what was written is put back.
void ConfigTransfer::checkWritten()
{
    for (const Parameter &p : kParameters)
        if (!settled(m_model, p))
            return;
    std::vector<std::string> refused;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        m_values.values[i] = *reportedValue(m_model, p);
        if (m_values.values[i] != m_wanted.values[i]) {
            m_refusals.push_back({p.key, m_wanted.values[i], m_values.values[i]});
            refused.push_back(std::string(p.key) + " asked " + decimalInteger(m_wanted.values[i]) +
                              ", kept " + decimalInteger(m_values.values[i]));
        }
    }
    m_values.shown = shownTexts(m_values);
    if (!refused.empty())
        return startPuttingBack("the module did not take every value: " + join(refused));
    report("all " + decimalInteger(static_cast<long long>(kParameterCount)) +
           " parameters confirmed");
    m_storeEchoes = m_model.storeEchoes();
    m_model.Command3_Click();
    m_phase = Phase::Storing;
}

void ConfigTransfer::checkStored()
{
    if (m_model.storeEchoes() == m_storeEchoes)
        return;
    if (!m_model.unstoredChanges().empty())
        return fail("the module echoed the store, but it does not hold every value written: " +
                    liveNotStored());
    report("stored");
    m_phase = Phase::Done;
}

void ConfigTransfer::connectionLost()
{
    switch (m_phase) {
    case Phase::Reading:
        return fail("the link to the module was lost; nothing written");
    case Phase::Writing:
    case Phase::Storing:
    case Phase::PuttingBack:
        return fail("the link to the module was lost while writing: the module may hold some "
                    "of the file's values, and they are not stored");
    default:
        return;
    }
}

// Writes the module's earlier value back into each parameter the import wrote that may hold
// another now, with a time of its own so that a timeout of the import still leaves room.
void ConfigTransfer::startPuttingBack(std::string reason)
{
    m_failure = std::move(reason);
    m_putBack = notPutBack();
    for (std::size_t i : m_putBack) {
        const Parameter &p = kParameters[i];
        // A pending write of the earlier value is already on its way.
        if (!(m_model.sliderValue(p) == m_before.values[i] && m_model.writeWaiting(p)))
            moveForWrite(m_model, p, m_before.values[i]);
    }
    const auto count = static_cast<std::int64_t>(m_putBack.size());
    m_deadline = m_now() + kPutBackBaseMs + kMsPerValue * count;
    m_phase = Phase::PuttingBack;
    if (count > 0)
        report("putting back " + decimalInteger(count) + ofAllParameters());
    checkPutBack();
}

// Ends once every written parameter is settled: put back when each is at its earlier value,
// failed when the module settled one on another value (waiting will not bring it back).
void ConfigTransfer::checkPutBack()
{
    const std::vector<std::size_t> left = notPutBack();
    for (std::size_t i : left)
        if (!settled(m_model, kParameters[i]))
            return;
    if (!left.empty())
        return fail(m_failure + "; putting back failed: " + liveNotStored());
    std::vector<std::string> back;
    for (std::size_t i : m_putBack)
        back.push_back(std::string(kParameters[i].key) + " to " +
                       decimalInteger(m_before.values[i]));
    m_values = m_before;
    fail(m_failure + (back.empty() ? "; nothing was changed" : "; put back " + join(back)) +
         "; nothing stored");
}

// The written parameters that are not confirmed at their earlier value.
std::vector<std::size_t> ConfigTransfer::notPutBack() const
{
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        if (!m_written[i])
            continue;
        const Parameter &p = kParameters[i];
        if (!settled(m_model, p) || *reportedValue(m_model, p) != m_before.values[i])
            out.push_back(i);
    }
    return out;
}

// Each written value that may be live in the module though not stored: the value the module
// reports, or, not confirmed, both values it may hold.
std::string ConfigTransfer::liveNotStored() const
{
    std::vector<std::string> live;
    for (std::size_t i : notPutBack()) {
        const Parameter &p = kParameters[i];
        const std::string earlier = decimalInteger(m_before.values[i]);
        if (settled(m_model, p))
            live.push_back(std::string(p.key) + " " + decimalInteger(*reportedValue(m_model, p)) +
                           " (was " + earlier + ")");
        else
            live.push_back(std::string(p.key) + " unconfirmed (file's value " +
                           decimalInteger(m_wanted.values[i]) + ", earlier value " + earlier + ")");
    }
    return "live in the module but not stored: " + join(live);
}

void ConfigTransfer::fail(std::string reason)
{
    m_failure = std::move(reason);
    m_phase = Phase::Failed;
}

void ConfigTransfer::report(const std::string &text)
{
    if (m_progress)
        m_progress(text);
}

// Names what is still missing in the phase the transfer is in. An import that has written
// values and not yet sent the store puts them back first.
void ConfigTransfer::timeOut()
{
    switch (m_phase) {
    case Phase::Connecting:
        return fail("timed out: no module connected");
    case Phase::Reading:
        return fail("timed out: not yet reported: " + notYet());
    case Phase::Writing:
        return startPuttingBack("timed out: not yet confirmed: " + notYet());
    case Phase::Storing:
        return fail(std::string(m_interrupted ? "interrupted" : "timed out") +
                    ": the module did not echo the store; the file's values are live in the "
                    "module, and whether it stored them is not known");
    case Phase::PuttingBack:
        return fail(m_failure + "; putting back timed out: " + liveNotStored());
    case Phase::Done:
    case Phase::Failed:
        return;
    }
}

// The parameters (and the firmware version) not yet reported or confirmed.
std::string ConfigTransfer::notYet() const
{
    std::vector<std::string> missing;
    if (m_phase == Phase::Reading && !m_model.firmware())
        missing.push_back("firmware version");
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        if (settled(m_model, p))
            continue;
        std::string item = p.key;
        const std::optional<long long> k = m_model.reported(p);
        if (m_phase == Phase::Writing)
            item += " (asked " + decimalInteger(m_wanted.values[i]) + ")";
        else if (k && !inRange(p, *k))
            item += " (the module reports \"" +
                    (p.text(*k).empty() ? decimalInteger(*k) : p.text(*k)) +
                    "\", outside the slider's range)";
        missing.push_back(item);
    }
    return join(missing);
}

} // namespace quelo
