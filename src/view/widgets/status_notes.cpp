// SPDX-License-Identifier: GPL-3.0-or-later
#include "status_notes.h"

#include "link_category.h"

#include <QStatusBar>

namespace quelo {

StatusNotes::StatusNotes(QStatusBar *bar, QObject *parent) : QObject(parent), m_bar(bar)
{
    m_bar->setObjectName(QStringLiteral("statusNotes"));
    m_bar->setSizeGripEnabled(false);
    m_expiry.setSingleShot(true);
    m_expiry.setInterval(kShownMs);
    connect(&m_expiry, &QTimer::timeout, this, &StatusNotes::expire);
}

void StatusNotes::post(const QString &text)
{
    // One line on the bar; a later message replaces this one at once.
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_bar->showMessage(line);
    m_bar->setToolTip(text);
    m_expiry.start();
    qCInfo(lcLink).noquote() << "note:" << line;
}

QString StatusNotes::current() const
{
    return m_bar->currentMessage();
}

void StatusNotes::expire()
{
    m_bar->clearMessage();
    m_bar->setToolTip(QString());
}

} // namespace quelo
