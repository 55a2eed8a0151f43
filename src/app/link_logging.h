// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link_log.h"

#include <QFile>
#include <QString>
#include <QtMessageHandler>

namespace quelo {

// Sends the model's link events to the quelo.link category at info level.
LinkLog::Sink linkLogSink();

// Puts a time (ISO 8601, milliseconds) on every quelo.link line and, with a file, appends those
// lines to it instead of standard error; every other message goes on to the handler that was
// installed before.
// Qt's message handler is process-wide, so only one LinkLogOutput may be alive at a time; the
// previous handler is restored when it goes.
class LinkLogOutput
{
public:
    LinkLogOutput();
    ~LinkLogOutput();
    LinkLogOutput(const LinkLogOutput &) = delete;
    LinkLogOutput &operator=(const LinkLogOutput &) = delete;

    // Opens FILE for appending and turns quelo.link's info lines on. False, with errorString(),
    // when the file cannot be opened.
    bool logToFile(const QString &path);
    QString errorString() const { return m_file.errorString(); }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);

    QFile m_file;
    QtMessageHandler m_previous = nullptr;
};

} // namespace quelo
