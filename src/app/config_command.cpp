// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_command.h"

#include "config_file.h"
#include "config_transfer.h"
#include "link_logging.h"
#include "qt_serial_comm.h"
#include "qt_timer_host.h"
#include "quit_signals.h"
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

// How often the transfer looks at the window besides after the model's events, so a deadline
// passes even on a silent line.
constexpr int kCheckIntervalMs = 200;

// What the status line shows once the scan has tried ports 1..3 and given up.
const std::string kNoPortFound = "Valid comm port not found";

void say(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
}

void sayError(const QString &text)
{
    say(QStringLiteral("quelo-link: ") + text);
}

// "no module answered on ports A, B, C", then why each port was passed over.
QString noModuleMessage(const QStringList &devices, const std::string &reasons)
{
    QStringList names;
    for (const QString &device : devices)
        names << (device.isEmpty() ? QStringLiteral("(none)") : device);
    QString text =
        QStringLiteral("no module answered on ports ") + names.join(QStringLiteral(", "));
    for (const QString &line : QString::fromStdString(reasons).split('\n', Qt::SkipEmptyParts))
        text += QStringLiteral("\n  ") + line;
    return text;
}

} // namespace

bool ConfigCommand::prepare()
{
    if (m_options.importConfig.isEmpty())
        return true;
    QString error;
    if (readConfig(m_options.importConfig, m_import, error))
        return true;
    sayError(m_options.importConfig + QStringLiteral(": ") + error);
    return false;
}

ConfigTransfer ConfigCommand::startTransfer(WindowModel &model, ConfigTransfer::Clock now) const
{
    const auto timeoutMs = static_cast<std::int64_t>(std::llround(m_options.timeoutSeconds * 1000));
    const auto progress = [](const std::string &text) { say(QString::fromStdString(text)); };
    if (m_options.importConfig.isEmpty())
        return ConfigTransfer::exportFrom(model, std::move(now), timeoutMs, progress);
    return ConfigTransfer::importInto(model, m_import, std::move(now), timeoutMs, progress);
}

int ConfigCommand::run(const QStringList &devices, RunObserver *observer)
{
    QtTimerHost timers;
    QtSerialComm comm(devices);
    WindowModel model(comm, timers);
    model.linkLog().setSink(linkLogSink());
    model.setRunObserver(observer);

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
        if (transfer.phase() == ConfigTransfer::Phase::Connecting &&
            model.state().statusbox.Text == kNoPortFound) {
            sayError(noModuleMessage(devices, model.state().statusbox.ToolTip));
            return finish(kExitLink);
        }
        transfer.update();
        if (transfer.phase() == ConfigTransfer::Phase::Failed) {
            sayError(QString::fromStdString(transfer.failure()));
            return finish(kExitLink);
        }
        if (transfer.phase() == ConfigTransfer::Phase::Done)
            finish(kExitDone);
    };
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &loop, check);
    ticker.start(kCheckIntervalMs);
    const QuitSignals quitSignals([&] {
        sayError(QStringLiteral("interrupted; nothing stored"));
        finish(kExitLink);
    });
    model.setChangeListener(check);
    model.Form_Load();
    check();
    if (!exitCode)
        loop.exec();
    model.setChangeListener({});
    ticker.stop();
    // Closes the port as the window does on unload: a command half sent is finished first.
    model.Form_Unload();
    model.setRunObserver(nullptr);
    if (*exitCode == kExitDone && m_options.importConfig.isEmpty())
        return finishExport(transfer.values());
    return *exitCode;
}

int ConfigCommand::finishExport(const ConfigValues &values)
{
    const QDateTime now = QDateTime::currentDateTime();
    if (m_options.exportConfig == QStringLiteral("-")) {
        const QByteArray bytes = configToJson(values, now);
        if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) !=
                static_cast<std::size_t>(bytes.size()) ||
            std::fflush(stdout) != 0) {
            sayError(QStringLiteral("cannot write the configuration to standard output"));
            return kExitUsage;
        }
        return kExitDone;
    }
    QString error;
    if (!writeConfig(m_options.exportConfig, values, now, error)) {
        sayError(error + QStringLiteral("; the file is as it was"));
        return kExitUsage;
    }
    say(QStringLiteral("wrote ") + m_options.exportConfig);
    return kExitDone;
}

} // namespace quelo
