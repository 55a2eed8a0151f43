// SPDX-License-Identifier: GPL-3.0-or-later
#include "warning_box.h"

#include <QMessageBox>

namespace quelo {

void showWarning(QWidget &parent, const QString &title, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, &parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

} // namespace quelo
