// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch_recording.h"

#include "app_window.h"
#include "link_category.h"
#include "run_file.h"

#include <cstdio>

namespace quelo {

namespace {

void sayError(const QString &text)
{
    std::fprintf(stderr, "quelo-link: %s\n", qPrintable(text));
    std::fflush(stderr);
}

} // namespace

void reportRecordingFailures(AppWindow &window, bool &failed)
{
    QObject::connect(&window, &AppWindow::recordingFailed, &window,
                     [&failed](const QString &message) {
                         failed = true;
                         sayError(message);
                     });
}

bool recordAtLaunch(AppWindow &window, const QString &path)
{
    QString error;
    if (window.startRecording(path, error))
        return true;
    sayError(error);
    return false;
}

bool recordAtLaunch(RunFile &file, const QString &path)
{
    QObject::connect(&file, &RunFile::failed, &file, [](const QString &message) {
        sayError(message);
        qCInfo(lcLink).noquote() << "note:" << message;
    });
    if (file.start(path))
        return true;
    sayError(file.errorString());
    return false;
}

} // namespace quelo
