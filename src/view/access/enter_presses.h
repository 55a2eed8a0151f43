// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace quelo {

// Installed on buttons: Enter and Return press a focused button as Space does (Qt's push
// buttons take them only in dialogs). A held key presses once.
class EnterPresses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace quelo
