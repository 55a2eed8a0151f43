// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_command.h"

#include "aircraft.h"
#include "config_file.h"
#include "config_transfer.h"
#include "file_paths.h"
#include "history_command.h"
#include "link_logging.h"
#include "model_texts.h"
#include "qt_serial_comm.h"
#include "qt_timer_host.h"
#include "quit_signals.h"
#include "run_recording.h"
#include "window_model.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <optional>
#include <utility>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(ConfigCommand)
};

} // namespace

namespace {

// How often the transfer looks at the window besides after the model's events, so a deadline
// passes even on a silent line.
constexpr int kCheckIntervalMs = 200;

void say(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
}

void sayError(const QString &text)
{
    say(QStringLiteral("quelo-link: ") + text);
}

// `lead` + " on ports A, B, C", then what became of each port: why it was passed over, or that
// the search had not reached it yet.
QString noModuleMessage(const QString &lead, const QStringList &devices, const WindowModel &model)
{
    QStringList names;
    for (const QString &device : devices)
        names << (device.isEmpty() ? Text::tr("(none)") : device);
    QString text = Text::tr("%1 on ports %2").arg(lead, names.join(QStringLiteral(", ")));
    for (int port = 1; port <= 3; ++port) {
        const std::string note = model.portNote(port);
        text += QStringLiteral("\n  ") +
                Text::tr("Port %1: %2")
                    .arg(port)
                    .arg(note.empty() ? Text::tr("not tried yet") : modelText(note));
    }
    return text;
}

} // namespace

bool ConfigCommand::prepare()
{
    QString error;
    if (!m_options.exportConfig.isEmpty() && !isStandardStream(m_options.exportConfig)) {
        if (m_export.open(m_options.exportConfig, error))
            return true;
        sayError(Text::tr("cannot write %1: %2").arg(m_options.exportConfig, error));
        return false;
    }
    if (m_options.importConfig.isEmpty())
        return true;
    if (!readConfig(m_options.importConfig, m_import, error)) {
        sayError(m_options.importConfig + QStringLiteral(": ") + error);
        return false;
    }
    // Another aircraft's file is refused before the port is touched: nothing is written.
    const std::string other =
        otherAircraftWarning(m_import.aircraft, m_options.aircraft.toStdString());
    if (other.empty() || m_options.anyAircraft)
        return true;
    sayError(m_options.importConfig + QStringLiteral(": ") +
             Text::tr("%1 (--any-aircraft imports it all the same)").arg(modelText(other)));
    return false;
}

ConfigTransfer ConfigCommand::startTransfer(WindowModel &model, ConfigTransfer::Clock now) const
{
    const auto timeoutMs = static_cast<std::int64_t>(std::llround(m_options.timeoutSeconds * 1000));
    const auto progress = [](const std::string &text) { say(modelText(text)); };
    if (m_options.importConfig.isEmpty())
        return ConfigTransfer::exportFrom(model, std::move(now), timeoutMs, progress);
    // Without --timeout the bound grows with the values to write, so a slow module still has
    // time for a whole import.
    const ConfigTransfer::Limits limits(timeoutMs,
                                        m_options.timeoutGiven ? 0 : ConfigTransfer::kMsPerValue);
    ConfigTransfer transfer =
        ConfigTransfer::importInto(model, m_import, std::move(now), limits, progress);
    if (m_options.anyFirmware)
        transfer.acceptAnyFirmware();
    return transfer;
}

// A file saved from other firmware is a bad file for this module: nothing was written.
int ConfigCommand::failed(const ConfigTransfer &transfer) const
{
    const QString reason = modelText(transfer.failure());
    if (!transfer.firmwareRefused()) {
        sayError(reason);
        return kExitLink;
    }
    sayError(m_options.importConfig + QStringLiteral(": ") +
             Text::tr("%1 (--any-firmware imports it all the same)").arg(reason));
    return kExitUsage;
}

std::optional<int> ConfigCommand::step(WindowModel &model, ConfigTransfer &transfer,
                                       RunHistory &history, const QStringList &devices) const
{
    const bool connecting = transfer.phase() == ConfigTransfer::Phase::Connecting;
    if (connecting && model.searchEnded()) {
        sayError(noModuleMessage(Text::tr("no module answered"), devices, model));
        return kExitLink;
    }
    // The restore point of the connection is taken before the import moves a slider.
    history.update();
    transfer.update();
    if (transfer.phase() == ConfigTransfer::Phase::Failed) {
        if (!connecting)
            return failed(transfer);
        sayError(noModuleMessage(modelText(transfer.failure()), devices, model));
        return kExitLink;
    }
    if (transfer.phase() == ConfigTransfer::Phase::Done)
        return kExitDone;
    return std::nullopt;
}

int ConfigCommand::run(const QStringList &devices, RunObserver *observer)
{
    QtTimerHost timers;
    QtSerialComm comm(devices);
    WindowModel model(comm, timers);
    model.linkLog().setSink(linkLogSink());
    if (!m_options.aircraft.isEmpty())
        model.linkLog().event(aircraftEventText(m_options.aircraft.toStdString()));
    model.setReconnect(m_options.reconnect);
    std::optional<RunHistory> history(std::in_place, model, m_options);
    RunObservers observers;
    observers.add(observer);
    observers.add(&history->observer());
    model.setRunObserver(&observers);

    QElapsedTimer clock;
    clock.start();
    ConfigTransfer transfer = startTransfer(model, [&clock] { return clock.elapsed(); });

    QEventLoop loop;
    std::optional<int> exitCode;
    const auto finish = [&](int code) {
        if (exitCode)
            return;
        exitCode = code;
        loop.quit();
    };
    const auto check = [&] {
        if (exitCode)
            return;
        if (const std::optional<int> code = step(model, transfer, *history, devices))
            finish(*code);
    };
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &loop, check);
    ticker.start(kCheckIntervalMs);
    // A signal ends the transfer as the transfer sees fit: an import puts back what it wrote
    // before it ends, and a second signal stops that.
    const QuitSignals quitSignals([&] {
        transfer.interrupt();
        check();
    });
    model.setChangeListener(check);
    model.Form_Load();
    check();
    if (!exitCode)
        loop.exec();
    model.setChangeListener({});
    ticker.stop();
    const int port = model.connectedPort();
    std::vector<std::string> unstored;
    for (const Parameter *p : model.unstoredChanges())
        unstored.push_back(p->name);
    // Closes the port as the window does on unload: a command half sent is finished first.
    model.Form_Unload();
    model.setRunObserver(nullptr);
    history.reset(); // the run's restore points are on disk from here
    if (*exitCode == kExitDone && m_recordSink)
        return m_recordSink(transfer.values(), port, unstored);
    if (*exitCode == kExitDone && m_options.importConfig.isEmpty())
        return finishExport(transfer.values());
    return *exitCode;
}

int ConfigCommand::finishExport(const ConfigValues &reported)
{
    ConfigValues values = reported;
    values.aircraft = m_options.aircraft.toStdString();
    const QDateTime now = QDateTime::currentDateTime();
    if (isStandardStream(m_options.exportConfig)) {
        const QByteArray bytes = configToJson(values, now);
        if (!writeStandardOutput(bytes.constData(), static_cast<std::size_t>(bytes.size()))) {
            sayError(Text::tr("cannot write the configuration to standard output"));
            return kExitUsage;
        }
        return kExitDone;
    }
    QString error;
    if (!m_export.write(configToJson(values, now), error)) {
        sayError(
            Text::tr("cannot write %1: %2; the file is as it was").arg(m_export.target(), error));
        return kExitUsage;
    }
    say(Text::tr("wrote %1").arg(m_export.target()));
    return kExitDone;
}

} // namespace quelo
