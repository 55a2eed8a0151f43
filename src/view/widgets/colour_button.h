// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPushButton>

namespace quelo {

// A push button whose face is a colour of its own, drawn here so every style shows it.
class ColourButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ColourButton(const QString &text, QWidget *parent = nullptr);

    QColor faceColour() const { return m_face; }
    void setFaceColour(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_face = Qt::lightGray;
};

// A push button with the toolkit's own face that marks the keyboard focus as the window's
// other controls do.
class FocusMarkedButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace quelo
