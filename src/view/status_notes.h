// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QStatusBar;

namespace quelo {

// The program's own messages in the status bar below the client area: a value the module kept
// or did not confirm, a store waiting, recording and file results. A message stays until it is
// replaced, and at least kMinimumMs on screen before the bar clears it; each also goes to the
// link log (category quelo.link) as "note: <text>".
class StatusNotes : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMinimumMs = 10000;

    explicit StatusNotes(QStatusBar *bar, QObject *parent = nullptr);

    void post(const QString &text);
    // The message shown now; empty when none.
    QString current() const;

private:
    QStatusBar *m_bar;
};

} // namespace quelo
