// SPDX-License-Identifier: GPL-3.0-or-later
#include "status_notes.h"

#include "link_category.h"

#include <QStatusBar>

namespace quelo {

StatusNotes::StatusNotes(QStatusBar *bar, QObject *parent) : QObject(parent), m_bar(bar)
{
    m_bar->setObjectName(QStringLiteral("statusNotes"));
    m_bar->setSizeGripEnabled(false);
}

void StatusNotes::post(const QString &text)
{
    // A later message replaces this one; otherwise it goes after a while, never before 10 s.
    m_bar->showMessage(text, 2 * kMinimumMs);
    qCInfo(lcLink).noquote() << "note:" << text;
}

QString StatusNotes::current() const
{
    return m_bar->currentMessage();
}

} // namespace quelo
