// SPDX-License-Identifier: GPL-3.0-or-later
#include "link_logging.h"

#include "link_category.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>
#include <cstring>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(LinkLogging)
};

} // namespace

namespace {

// The one live LinkLogOutput: a message handler is a plain function.
LinkLogOutput *g_output = nullptr;

} // namespace

LinkLog::Sink linkLogSink()
{
    return
        [](const std::string &text) { qCInfo(lcLink).noquote() << QString::fromStdString(text); };
}

LinkLogOutput::LinkLogOutput()
{
    Q_ASSERT(!g_output);
    g_output = this;
    m_previous = qInstallMessageHandler(&LinkLogOutput::handle);
}

LinkLogOutput::~LinkLogOutput()
{
    qInstallMessageHandler(m_previous);
    g_output = nullptr;
}

bool LinkLogOutput::logToFile(const QString &path)
{
    if (!m_file.open(path, RecordFile::Mode::Append, m_error))
        return false;
    // Rules from QT_LOGGING_RULES are applied after these, so the environment still wins.
    QLoggingCategory::setFilterRules(QStringLiteral("quelo.link.info=true"));
    return true;
}

void LinkLogOutput::handle(QtMsgType type, const QMessageLogContext &context,
                           const QString &message)
{
    LinkLogOutput *self = g_output;
    QString text = message;
    if (self && context.category && std::strcmp(context.category, lcLink().categoryName()) == 0) {
        text =
            QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + QLatin1Char(' ') + message;
        if (self->m_file.isOpen()) {
            // With a log file the link's events go there only: standard error stays for the
            // program's own messages (a headless run's progress and errors). A line the file
            // did not take goes to standard error instead of being lost.
            if (self->writeLine(
                    QStringLiteral("%1: %2\n").arg(QLatin1String(context.category), text)))
                return;
        }
    }
    if (self && self->m_previous) {
        self->m_previous(type, context, text);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
        std::fflush(stderr);
    }
}

bool LinkLogOutput::writeLine(const QString &line)
{
    QString reason;
    if (m_file.write(line.toUtf8(), reason))
        return true;
    const QString message = Text::tr("logging into %1 stopped: %2").arg(m_file.path(), reason);
    m_file.close();
    if (m_failure) {
        m_failure(message);
    } else {
        std::fprintf(stderr, "quelo-link: %s\n", qPrintable(message));
        std::fflush(stderr);
    }
    return false;
}

} // namespace quelo
