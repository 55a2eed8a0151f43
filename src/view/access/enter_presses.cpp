// SPDX-License-Identifier: GPL-3.0-or-later
#include "enter_presses.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace quelo {

bool EnterPresses::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || key->isAutoRepeat() || (key->modifiers() & ~Qt::KeypadModifier))
        return false;
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (button && button->isEnabled())
        button->click();
    return button != nullptr;
}

} // namespace quelo
