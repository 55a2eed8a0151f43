#include "notice.h"

#include <QTimer>

namespace quelo {

Notice::Notice(const QString &text, QWidget &window) : QLabel(text, &window)
{
    setObjectName(QStringLiteral("notice"));
    setWordWrap(true);
    setMargin(8);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE0));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    const int width = window.width() * 3 / 4;
    setFixedWidth(width);
    adjustSize();
    move((window.width() - width) / 2, window.height() - height() - 12);
}

void Notice::show(QWidget &window, const QString &text, int milliseconds)
{
    for (Notice *old : window.findChildren<Notice *>(Qt::FindDirectChildrenOnly))
        old->deleteLater();
    auto *notice = new Notice(text, window);
    notice->raise();
    notice->QLabel::show();
    QTimer::singleShot(milliseconds, notice, &QObject::deleteLater);
}

} // namespace quelo
