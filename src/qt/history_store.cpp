// SPDX-License-Identifier: GPL-3.0-or-later
#include "history_store.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(HistoryStore)
};

} // namespace

Stamp wallClockNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return Stamp{now.toMSecsSinceEpoch(), now.offsetFromUtc() / 60, 0};
}

HistoryStore::HistoryStore(const QString &folder, std::size_t keep, QObject *parent)
    : QObject(parent), m_folderPath(folder), m_folder(std::make_shared<HistoryFolder>(folder, keep))
{
    m_worker.setMaxThreadCount(1);
    m_worker.setExpiryTimeout(-1);
    reload();
}

HistoryStore::~HistoryStore()
{
    m_worker.waitForDone();
}

QString HistoryStore::filePath(const Snapshot &snapshot) const
{
    return QDir(m_folderPath).filePath(QString::fromStdString(snapshot.fileName));
}

void HistoryStore::reload()
{
    post([](HistoryFolder &folder) { return Result{folder.load(), {}, {}}; });
}

void HistoryStore::setKeeping(bool keeping)
{
    if (keeping == m_keeping)
        return;
    m_keeping = keeping;
    emit entriesChanged();
}

void HistoryStore::add(const Snapshot &snapshot)
{
    if (m_off || !m_keeping)
        return;
    post([snapshot](HistoryFolder &folder) {
        Result result;
        QString error;
        switch (folder.add(snapshot, error)) {
        case HistoryFolder::Added::Failed:
            result.error = Text::tr("History is off: %1").arg(error);
            break;
        case HistoryFolder::Added::Dropped:
            result.dropped = Text::tr("History did not keep a restore point: %1").arg(error);
            break;
        default:
            break;
        }
        result.entries = folder.entries();
        return result;
    });
}

// The worker owns the folder while a task runs; the result is handed back through the event
// loop. The store outlives every task (its destructor waits), so `this` is still there.
void HistoryStore::post(std::function<Result(HistoryFolder &)> work)
{
    m_worker.start([this, folder = m_folder, work = std::move(work)] {
        Result result = work(*folder);
        QMetaObject::invokeMethod(
            this, [this, result = std::move(result)] { take(result); }, Qt::QueuedConnection);
    });
}

void HistoryStore::take(const Result &result)
{
    if (m_off)
        return;
    m_entries = result.entries;
    if (!result.error.isEmpty()) {
        m_off = true;
        emit failed(result.error);
    }
    if (!result.dropped.isEmpty())
        emit dropped(result.dropped);
    emit entriesChanged();
}

void HistoryStore::flush()
{
    m_worker.waitForDone();
    QCoreApplication::sendPostedEvents(this);
}

} // namespace quelo
