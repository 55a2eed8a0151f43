// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

namespace quelo {

// A plain etched frame with its caption on the top edge, in colours of its own. Children are
// placed relative to the frame's top-left corner.
class CaptionFrame : public QWidget
{
    Q_OBJECT

public:
    CaptionFrame(const QString &caption, const QColor &background, const QColor &captionColour,
                 QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QColor m_background;
    QColor m_captionColour;
};

} // namespace quelo
