// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <vector>

class QMessageBox;
class QProgressDialog;
class QWidget;

namespace quelo {

class MainWindow;
struct Parameter;
class WindowModel;

// Quitting while a change the user made is not in the module's stored configuration asks
// first: Store and quit (waits, at most the store-and-quit time, for the pending writes and the
// store's echo), Quit without storing, or Cancel. A store that can no longer be confirmed (a
// change the module did not confirm, the link lost) or that runs out of time is reported and the
// window stays open. None of the boxes stops the link: they are window-modal.
class QuitFlow : public QObject
{
    Q_OBJECT

public:
    static constexpr int kStoreAndQuitMs = 45000;

    // `window` is the top window: the boxes are its children and it is closed once quitting is
    // approved. `client`'s model changes drive the store's wait.
    QuitFlow(WindowModel &model, MainWindow &client, QWidget &window);

    // How long Store and quit waits; kStoreAndQuitMs unless set.
    void setStoreAndQuitMs(int ms) { m_storeAndQuitMs = ms; }
    // True when the window may close now: quitting was approved or nothing is unstored.
    bool mayClose() const;
    // Asks what to do with the unstored changes, unless a question or a wait is up already.
    void ask();
    // Closes the question or the wait still up, as the window closes.
    void closing();
    // Closes the window without asking again.
    void approve();

private:
    void storeAndQuit();
    void storeProgressed();
    QString storeCannotFinish() const;
    void endStoreWait();
    void storeNotDone(const QString &text, const QString &name);

    WindowModel &m_model;
    MainWindow &m_client;
    QWidget &m_window;
    bool m_approved = false;
    QPointer<QMessageBox> m_question;
    QPointer<QProgressDialog> m_storeProgress;
    QElapsedTimer m_storeStarted;
    int m_storeAndQuitMs = kStoreAndQuitMs;
    std::vector<const Parameter *> m_storing; // the changes unstored when Store and quit began
};

} // namespace quelo
