// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QRect>

namespace quelo {

// A short message on the window for a few seconds; it asks nothing and goes away by itself. A
// newer notice replaces the one showing. It stands in the narrow free column under the RESET
// button, over the logo, where it hides no reading and no control whether the connection panel
// is open or not; long paths wrap after any slash to fit it.
class Notice : public QLabel
{
    Q_OBJECT

public:
    // Where a notice may stand: its top-left corner and width; it grows downwards with its text
    // up to the height given.
    static constexpr QRect kArea{8, 408, 136, 200};

    static void post(QWidget &window, const QString &text, int milliseconds = 5000);
    // Takes every notice off the window at once, e.g. before the window is grabbed as a picture.
    static void dismissAll(QWidget &window);

    // The text as posted (the label's own text has break points added).
    const QString &message() const { return m_message; }

private:
    Notice(const QString &text, QWidget &window);

    QString m_message;
};

} // namespace quelo
