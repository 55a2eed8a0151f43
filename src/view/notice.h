#pragma once

#include <QLabel>

namespace quelo {

// A short message laid over the bottom of a window for a few seconds; it asks nothing and
// goes away by itself. A newer notice replaces the one showing.
class Notice : public QLabel
{
    Q_OBJECT

public:
    static void show(QWidget &window, const QString &text, int milliseconds = 5000);

private:
    Notice(const QString &text, QWidget &window);
};

} // namespace quelo
