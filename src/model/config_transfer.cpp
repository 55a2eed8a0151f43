// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_transfer.h"

#include "convert.h"
#include "window_model.h"

#include <utility>

namespace quelo {

namespace {

const std::string kConnectedPrefix = "Connected Comm Port ";

ScrollBar &sliderOf(WindowState &w, const Parameter &p)
{
    return w.*p.slider;
}
const TextBox &boxOf(const WindowState &w, const Parameter &p)
{
    return w.*p.box;
}

// The module's value as its value box reports it, once reported since the last write.
std::optional<int> reportedValue(const WindowState &w, const Parameter &p)
{
    const TextBox &box = boxOf(w, p);
    if (!reported(box))
        return std::nullopt;
    return valueFromBoxText(p, box.Text);
}

// Reported, and no write of the slider waiting: the module's value and the slider agree, or
// the model has given up writing it.
bool settled(const WindowState &w, const Parameter &p)
{
    return reportedValue(w, p) && !writePending(w.*p.slider);
}

std::string join(const std::vector<std::string> &parts)
{
    std::string out;
    for (const std::string &part : parts)
        out += (out.empty() ? "" : ", ") + part;
    return out;
}

} // namespace

std::optional<ConfigValues> reportedConfig(const WindowState &w)
{
    if (!reported(w.revdata))
        return std::nullopt;
    ConfigValues config;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        if (!settled(w, p))
            return std::nullopt;
        config.values[i] = *reportedValue(w, p);
        config.shown[i] = boxOf(w, p).Text;
    }
    config.firmware = w.revdata.Text;
    return config;
}

std::vector<std::string> missingReports(const WindowState &w)
{
    std::vector<std::string> missing;
    if (!reported(w.revdata))
        missing.push_back("firmware version");
    for (const Parameter &p : kParameters)
        if (!settled(w, p))
            missing.push_back(p.key);
    return missing;
}

bool moduleConnected(const WindowState &w)
{
    return w.statusbox.Text.rfind(kConnectedPrefix, 0) == 0;
}

// A slider that already shows the wanted value while the module holds another (the
// advance-shift read-back never moves its slider) is moved off and back in the same moment, so
// its change marks it for writing; the scheduler only ever writes the value the slider holds
// when it acts, the wanted one.
int moveSlidersTo(WindowModel &model, const ConfigValues &module, const ConfigValues &wanted)
{
    WindowState &w = model.state();
    int moved = 0;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        const int value = wanted.values[i];
        if (module.values[i] == value)
            continue;
        ScrollBar &slider = sliderOf(w, p);
        if (slider.Value() == value)
            model.moveSlider(slider,
                             static_cast<std::int16_t>(value == minOf(p) ? maxOf(p) : minOf(p)));
        model.moveSlider(slider, static_cast<std::int16_t>(value));
        ++moved;
    }
    return moved;
}

ConfigTransfer::ConfigTransfer(WindowModel &model, Clock now, std::int64_t timeoutMs,
                               Progress progress)
    : m_model(model), m_now(std::move(now)), m_deadline(m_now() + timeoutMs),
      m_progress(std::move(progress))
{
}

ConfigTransfer ConfigTransfer::exportFrom(WindowModel &model, Clock now, std::int64_t timeoutMs,
                                          Progress progress)
{
    return ConfigTransfer(model, std::move(now), timeoutMs, std::move(progress));
}

ConfigTransfer ConfigTransfer::importInto(WindowModel &model, const ConfigValues &config, Clock now,
                                          std::int64_t timeoutMs, Progress progress)
{
    ConfigTransfer transfer(model, std::move(now), timeoutMs, std::move(progress));
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
    m_stepping = false;
    if (!finished() && m_now() >= m_deadline)
        timeOut();
}

void ConfigTransfer::step()
{
    if (m_phase == Phase::Connecting && connected()) {
        const std::string &status = m_model.state().statusbox.Text;
        report("connected on Comm Port " + status.substr(kConnectedPrefix.size()));
        m_phase = Phase::Reading;
    }
    if (m_phase == Phase::Reading && allReported()) {
        if (!m_import) {
            m_phase = Phase::Done;
            return;
        }
        startWriting();
    }
    if (m_phase == Phase::Writing)
        checkWritten();
    if (m_phase == Phase::Storing)
        checkStored();
}

bool ConfigTransfer::connected()
{
    return moduleConnected(m_model.state());
}

// Counts the reports as they come in; once the firmware version and all seven values are
// reported and settled, takes them as the module's configuration.
bool ConfigTransfer::allReported()
{
    const WindowState &w = m_model.state();
    int reported = 0;
    for (const Parameter &p : kParameters)
        reported += reportedValue(w, p) ? 1 : 0;
    // While the values are being read back the count can drop for a moment; the progress line
    // only tells of new reports, so a user never sees it run backwards.
    if (reported > m_lastReported) {
        m_lastReported = reported;
        report(decimalInteger(reported) + " of 7 parameters reported");
    }
    const std::optional<ConfigValues> config = reportedConfig(w);
    if (config)
        m_values = *config;
    return config.has_value();
}

void ConfigTransfer::startWriting()
{
    const int moved = moveSlidersTo(m_model, m_values, m_wanted);
    report(moved == 0 ? "the module already holds every value"
                      : "writing " + decimalInteger(moved) + " of 7 parameters");
    m_phase = Phase::Writing;
}

// Once every parameter is settled again, either every value is the file's and the store goes
// out, or the module kept some other value and nothing is stored.
void ConfigTransfer::checkWritten()
{
    const WindowState &w = m_model.state();
    for (const Parameter &p : kParameters)
        if (!settled(w, p))
            return;
    std::vector<std::string> refused;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        m_values.values[i] = *reportedValue(w, p);
        m_values.shown[i] = boxOf(w, p).Text;
        if (m_values.values[i] != m_wanted.values[i]) {
            m_refusals.push_back({p.key, m_wanted.values[i], m_values.values[i]});
            refused.push_back(std::string(p.key) + " asked " + decimalInteger(m_wanted.values[i]) +
                              ", kept " + decimalInteger(m_values.values[i]));
        }
    }
    if (!refused.empty())
        return fail("the module did not take every value, nothing stored: " + join(refused));
    report("all 7 parameters confirmed");
    m_model.Command3_Click();
    m_phase = Phase::Storing;
}

void ConfigTransfer::checkStored()
{
    if (m_model.state().Command3.BackColor != kDarkGrey)
        return;
    report("stored");
    m_phase = Phase::Done;
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

// Names what is still missing in the phase the transfer is in.
void ConfigTransfer::timeOut()
{
    const WindowState &w = m_model.state();
    if (m_phase == Phase::Connecting)
        return fail("timed out: no module connected"); // the caller knows the ports
    if (m_phase == Phase::Storing)
        return fail("timed out: the module did not echo the store");
    std::vector<std::string> missing;
    if (m_phase == Phase::Reading && !reported(w.revdata))
        missing.push_back("firmware version");
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        if (settled(w, p))
            continue;
        std::string item = p.key;
        const TextBox &box = boxOf(w, p);
        if (m_phase == Phase::Writing)
            item += " (asked " + decimalInteger(m_wanted.values[i]) + ")";
        else if (reported(box) && !box.Text.empty() && !valueFromBoxText(p, box.Text))
            item += " (the module reports \"" + box.Text + "\", outside the slider's range)";
        missing.push_back(item);
    }
    fail(std::string(m_phase == Phase::Writing ? "timed out: not yet confirmed: "
                                               : "timed out: not yet reported: ") +
         join(missing));
}

} // namespace quelo
