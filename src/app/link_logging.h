// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "file_access.h"
#include "link_log.h"

#include <QString>
#include <QtMessageHandler>

#include <functional>

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

    // Opens FILE (a regular file or a new path) for appending whole lines and turns
    // quelo.link's info lines on. False, with errorString(), when the file cannot be opened.
    bool logToFile(const QString &path);
    QString errorString() const { return m_error; }

    // Called once, from inside the message handler, when a write to the file fails (a full
    // disk); the file is closed by then and a line cut short removed. The message names the
    // file. Without a handler the message goes to standard error.
    using Failure = std::function<void(const QString &message)>;
    void setFailureHandler(Failure failure) { m_failure = std::move(failure); }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);
    // False when the file did not take the line; the file is then closed and the failure told.
    bool writeLine(const QString &line);

    RecordFile m_file;
    QString m_error;
    Failure m_failure;
    QtMessageHandler m_previous = nullptr;
};

} // namespace quelo
