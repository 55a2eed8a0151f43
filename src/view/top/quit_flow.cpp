// SPDX-License-Identifier: GPL-3.0-or-later
#include "quit_flow.h"

#include "main_window.h"
#include "model_texts.h"
#include "parameters.h"
#include "store_progress.h"
#include "window_model.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace quelo {

QuitFlow::QuitFlow(WindowModel &model, MainWindow &client, QWidget &window)
    : QObject(&window), m_model(model), m_client(client), m_window(window)
{
}

bool QuitFlow::mayClose() const
{
    return m_approved || m_model.unstoredChanges().empty();
}

void QuitFlow::closing()
{
    if (m_question)
        m_question->close();
    if (m_storeProgress)
        endStoreWait();
}

void QuitFlow::approve()
{
    m_approved = true;
    m_window.close();
}

// The question does not stop the link: the window-modal box lets writes and polls go on.
void QuitFlow::ask()
{
    if (m_question || m_storeProgress)
        return;
    const bool connected = m_model.isConnected();
    QString text = tr("The module has not stored your changes to %1.")
                       .arg(modelText(namesOf(m_model.unstoredChanges())));
    if (!connected)
        text +=
            QLatin1Char('\n') + tr("The module is not connected, so they cannot be stored now.");
    auto *box =
        new QMessageBox(QMessageBox::Question, tr("Quit"), text, QMessageBox::NoButton, &m_window);
    box->setObjectName(QStringLiteral("quitQuestion"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *store = box->addButton(tr("Store and quit"), QMessageBox::AcceptRole);
    store->setObjectName(QStringLiteral("storeAndQuit"));
    store->setEnabled(connected);
    QPushButton *discard = box->addButton(tr("Quit without storing"), QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("quitWithoutStoring"));
    box->addButton(QMessageBox::Cancel)->setObjectName(QStringLiteral("cancelQuit"));
    box->setDefaultButton(connected ? store : discard);
    connect(store, &QPushButton::clicked, this, &QuitFlow::storeAndQuit, Qt::QueuedConnection);
    connect(discard, &QPushButton::clicked, this, &QuitFlow::approve, Qt::QueuedConnection);
    m_question = box;
    box->open();
}

// Presses STORE and waits, with the progress shown, for the pending writes and the store's echo;
// the window closes once the module confirmed a store holding every change of the user's.
void QuitFlow::storeAndQuit()
{
    m_storing = m_model.unstoredChanges();
    m_model.Command3_Click();
    auto *progress = new QProgressDialog(&m_window);
    progress->setObjectName(QStringLiteral("storeProgress"));
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setWindowTitle(tr("Store and quit"));
    progress->setRange(0, m_storeAndQuitMs / 1000);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    m_storeProgress = progress;
    m_storeStarted.start();
    connect(&m_client, &MainWindow::modelChanged, progress, [this] { storeProgressed(); });
    connect(progress, &QProgressDialog::canceled, this, &QuitFlow::storeProgressed);
    auto *deadline = new QTimer(progress);
    deadline->setInterval(250);
    connect(deadline, &QTimer::timeout, progress, [this] { storeProgressed(); });
    deadline->start();
    progress->open();
    storeProgressed();
}

// What follows the wait runs after the model's event that ended it.
void QuitFlow::storeProgressed()
{
    if (!m_storeProgress)
        return;
    if (m_storeProgress->wasCanceled()) // the user's Cancel: back to the window
        return endStoreWait();
    if (const QString why = storeCannotFinish(); !why.isEmpty()) {
        endStoreWait();
        QTimer::singleShot(0, this,
                           [this, why] { storeNotDone(why, QStringLiteral("storeNotConfirmed")); });
        return;
    }
    if (m_model.unstoredChanges().empty()) {
        endStoreWait();
        QTimer::singleShot(0, this, &QuitFlow::approve);
        return;
    }
    const qint64 elapsed = m_storeStarted.elapsed();
    if (elapsed >= m_storeAndQuitMs) {
        endStoreWait();
        const QString why =
            tr("The module did not confirm the store within %1 s: your changes to %2 may not be "
               "stored.")
                .arg(m_storeAndQuitMs / 1000)
                .arg(modelText(namesOf(m_model.unstoredChanges())));
        QTimer::singleShot(0, this,
                           [this, why] { storeNotDone(why, QStringLiteral("storeTimedOut")); });
        return;
    }
    const std::vector<const Parameter *> pending = m_model.pendingWrites();
    m_storeProgress->setLabelText(
        m_model.storeWaiting() && !pending.empty()
            ? tr("Waiting for the module to confirm %1…").arg(modelText(namesOf(pending)))
            : tr("Waiting for the module to confirm the store…"));
    m_storeProgress->setValue(int(elapsed / 1000));
}

// Why the store can never be confirmed, or nothing while it still may be: a change of the
// user's the module did not confirm (given up: no store can hold it), or the link lost.
QString QuitFlow::storeCannotFinish() const
{
    const std::vector<const Parameter *> unstored = m_model.unstoredChanges();
    const auto among = [](const std::vector<const Parameter *> &list, const Parameter *p) {
        return std::find(list.begin(), list.end(), p) != list.end();
    };
    std::vector<const Parameter *> givenUp;
    for (const Parameter &p : kParameters)
        if (m_model.unconfirmed(p) && (among(m_storing, &p) || among(unstored, &p)))
            givenUp.push_back(&p);
    if (!givenUp.empty())
        return tr("The module did not confirm your change to %1, so no store can hold it: your "
                  "changes are not stored.")
            .arg(modelText(namesOf(givenUp)));
    if (!m_model.isConnected())
        return tr("The link to the module was lost, so the store cannot be confirmed: your "
                  "changes are not stored.");
    return {};
}

// Closing the dialog marks it cancelled; it is no longer waited on by then.
void QuitFlow::endStoreWait()
{
    QProgressDialog *progress = m_storeProgress;
    m_storeProgress = nullptr;
    progress->close();
}

// The store did not finish: said so, and the user chooses again.
void QuitFlow::storeNotDone(const QString &text, const QString &name)
{
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Store and quit"), text,
                                QMessageBox::NoButton, &m_window);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *quit = box->addButton(tr("Quit without storing"), QMessageBox::DestructiveRole);
    quit->setObjectName(QStringLiteral("quitWithoutStoring"));
    box->addButton(QMessageBox::Cancel)->setObjectName(QStringLiteral("cancelQuit"));
    connect(quit, &QPushButton::clicked, this, &QuitFlow::approve, Qt::QueuedConnection);
    box->open();
}

} // namespace quelo
