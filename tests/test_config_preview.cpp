// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_preview_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace quelo;

namespace {

QLabel *label(const QDialog &dialog, const QString &name)
{
    return dialog.findChild<QLabel *>(name);
}

} // namespace

TEST(ConfigPreviewDialog, ListsNowAndFileMarkingTheChanges)
{
    ConfigValues now;
    now.values = {2, 1, 1, 2, -4, 12, 25};
    ConfigValues file = now;
    file.values[1] = 3;  // LED mode
    file.values[4] = -5; // advance shift
    ConfigPreviewDialog dialog(now, file);
    EXPECT_EQ(dialog.changeCount(), 2);

    const struct
    {
        const char *key;
        const char *now;
        const char *file;
        bool differs;
    } rows[] = {
        {"led_mode", "Mode", "Sensor", true},          {"advance_shift", "-5.6", "-7", true},
        {"tach_volts", "12 volts", "12 volts", false}, {"max_rpm_limit", "3072", "3072", false},
        {"max_advance_limit", "35", "35", false},
    };
    for (const auto &row : rows) {
        const QString key = QString::fromLatin1(row.key);
        QLabel *nowLabel = label(dialog, key + "/now");
        QLabel *fileLabel = label(dialog, key + "/file");
        QLabel *marker = label(dialog, key + "/marker");
        ASSERT_TRUE(nowLabel && fileLabel && marker) << row.key;
        EXPECT_EQ(nowLabel->text(), row.now) << row.key;
        EXPECT_EQ(fileLabel->text(), row.file) << row.key;
        EXPECT_EQ(fileLabel->font().bold(), row.differs) << row.key;
        EXPECT_EQ(marker->text().isEmpty(), !row.differs) << row.key;
    }

    // OK accepts, Cancel rejects.
    auto *buttons = dialog.findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    buttons->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
