// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QStatusBar;

namespace quelo {

// The program's own messages in the status bar below the client area: a value the module kept
// or did not confirm, a store waiting, recording and file results. A message stays until it is
// replaced, or for kShownMs; the whole text is also the bar's tooltip, for one too long to
// show. Each also goes to the link log (category quelo.link) as "note: <text>".
class StatusNotes : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMinimumMs = 10000;
    static constexpr int kShownMs = 2 * kMinimumMs;

    explicit StatusNotes(QStatusBar *bar, QObject *parent = nullptr);

    void post(const QString &text);
    // The message shown now; empty when none.
    QString current() const;
    // How much longer the message shown now stays when nothing replaces it; -1 when none.
    int remainingMs() const { return m_expiry.isActive() ? m_expiry.remainingTime() : -1; }

private:
    void expire();

    QStatusBar *m_bar;
    QTimer m_expiry;
};

} // namespace quelo
