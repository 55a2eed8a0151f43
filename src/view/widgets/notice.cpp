// SPDX-License-Identifier: GPL-3.0-or-later
#include "notice.h"

#include <QTimer>

#include <algorithm>

namespace quelo {

namespace {

// A path has no blanks to wrap at; a zero-width space after each separator gives it some.
QString withPathBreaks(QString text)
{
    const QString gap(QChar(0x200B));
    text.replace(QLatin1Char('/'), QStringLiteral("/") + gap);
    text.replace(QLatin1Char('\\'), QStringLiteral("\\") + gap);
    return text;
}

} // namespace

Notice::Notice(const QString &text, QWidget &window)
    : QLabel(withPathBreaks(text), &window), m_message(text)
{
    setObjectName(QStringLiteral("notice"));
    setWordWrap(true);
    setMargin(6);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE0));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setGeometry(kArea.x(), kArea.y(), kArea.width(),
                std::min(heightForWidth(kArea.width()), kArea.height()));
}

void Notice::post(QWidget &window, const QString &text, int milliseconds)
{
    dismissAll(window);
    auto *notice = new Notice(text, window);
    notice->raise();
    notice->show();
    QTimer::singleShot(milliseconds, notice, &QObject::deleteLater);
}

void Notice::dismissAll(QWidget &window)
{
    for (Notice *old : window.findChildren<Notice *>(Qt::FindDirectChildrenOnly)) {
        old->hide();
        old->deleteLater();
    }
}

} // namespace quelo
