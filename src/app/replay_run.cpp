// SPDX-License-Identifier: GPL-3.0-or-later
#include "replay_run.h"

#include "options.h"
#include "perf_log.h"
#include "quit_signals.h"
#include "replay_opener.h"
#include "replay_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <memory>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(ReplayRun)
};

} // namespace

namespace {

// The reading, then the window; quitting at any point ends the run as closing the window does.
class ReplayRun : public QObject
{
public:
    explicit ReplayRun(const Options &options) : m_options(options), m_opener(nullptr)
    {
        connect(&m_opener, &ReplayOpener::opened, this, &ReplayRun::opened);
        connect(&m_opener, &ReplayOpener::failed, this, &ReplayRun::failed);
        connect(&m_opener, &ReplayOpener::cancelledByUser, this, &ReplayRun::quit);
    }

    int exec()
    {
        QApplication::setQuitOnLastWindowClosed(false); // the run quits when its window closes
        m_opener.open(m_options.replay);
        if (m_options.quitAfterSeconds) {
            const auto ms = static_cast<int>(std::lround(*m_options.quitAfterSeconds * 1000.0));
            QTimer::singleShot(ms, this, &ReplayRun::timeUp);
        }
        const int loopResult = QApplication::exec();
        return m_exitCode != 0 ? m_exitCode : loopResult;
    }

    void quit()
    {
        if (m_window)
            return void(m_window->close());
        m_opener.cancel();
        QCoreApplication::quit();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window.get() && event->type() == QEvent::Close)
            QCoreApplication::quit();
        return false;
    }

private:
    void opened(ReplayWindow *window)
    {
        // Owned here, so that the performance log ends before the window it watches.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        m_window.reset(window);
        m_perfLog = std::make_unique<PerfLog>(*window);
        window->installEventFilter(this);
        window->replay().setSpeed(m_options.replaySpeed);
        if (m_options.trends)
            window->showTrends();
    }

    void failed(const QString &message)
    {
        std::fprintf(stderr, "quelo-link: %s\n", qPrintable(message));
        m_exitCode = kExitUsage;
        QCoreApplication::quit();
    }

    // --quit-after: a screenshot of the window first if asked (none while the file is read).
    void timeUp()
    {
        const QString &file = m_options.screenshot;
        if (!file.isEmpty() && (!m_window || !m_window->grab().save(file, "PNG"))) {
            std::fprintf(stderr, "quelo-link: %s\n",
                         qPrintable(m_window ? Text::tr("cannot write %1").arg(file)
                                             : Text::tr("cannot write %1: the recording was "
                                                        "still being read")
                                                   .arg(file)));
            m_exitCode = 1;
        }
        quit();
    }

    const Options &m_options;
    ReplayOpener m_opener;
    std::unique_ptr<ReplayWindow> m_window;
    std::unique_ptr<PerfLog> m_perfLog; // destroyed first
    int m_exitCode = 0;
};

} // namespace

int replayRecording(const Options &options)
{
    // A FIFO or a device would keep the read waiting for ever: only a regular file is read.
    if (const QFileInfo info(options.replay); info.exists() && !info.isFile()) {
        std::fprintf(stderr, "quelo-link: %s\n",
                     qPrintable(Text::tr("%1 is not a regular file").arg(options.replay)));
        return kExitUsage;
    }
    ReplayRun run(options);
    const QuitSignals quitSignals([&run] { run.quit(); });
    return run.exec();
}

} // namespace quelo
