// SPDX-License-Identifier: GPL-3.0-or-later
#include "aircraft.h"
#include "config_preview_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

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
    now.firmware = "26";
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

namespace {

// Answers the question the dialog asks from inside accept() with `button`; returns whether a
// question was asked.
bool answerQuestion(ConfigPreviewDialog &dialog, QMessageBox::StandardButton button)
{
    bool asked = false;
    QTimer answer; // runs inside the question's own event loop, if one is asked
    answer.setSingleShot(true);
    QObject::connect(&answer, &QTimer::timeout, &dialog, [&] {
        auto *question = dialog.findChild<QMessageBox *>(QStringLiteral("firmwareQuestion"));
        if (!question)
            return;
        asked = question->text().contains(dialog.firmwareWarning());
        question->button(button)->click();
    });
    answer.start(0);
    dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    return asked;
}

} // namespace

// The file's name, saved time and firmware head the preview; a file from other firmware is
// warned of, naming both versions, and OK takes a second Yes.
TEST(ConfigPreviewDialog, FileFromOtherFirmwareIsWarnedOfAndNeedsASecondConfirmation)
{
    ConfigValues now;
    now.values = {2, 1, 1, 2, -4, 12, 25};
    now.firmware = "26";
    ConfigValues file = now;
    file.saved = "2026-03-01T09:15:30.000+01:00";

    {
        ConfigPreviewDialog same(now, file, QStringLiteral("hangar.json"));
        const QString facts = label(same, QStringLiteral("fileFacts"))->text();
        EXPECT_TRUE(facts.contains("File: hangar.json")) << facts.toStdString();
        EXPECT_TRUE(facts.contains("Saved: 2026-03-01 09:15:30")) << facts.toStdString();
        EXPECT_TRUE(facts.contains("Firmware: 26")) << facts.toStdString();
        EXPECT_EQ(label(same, QStringLiteral("firmwareWarning")), nullptr);
        EXPECT_TRUE(same.firmwareWarning().isEmpty());
        EXPECT_FALSE(answerQuestion(same, QMessageBox::No));
        EXPECT_EQ(same.result(), QDialog::Accepted); // one OK is enough
    }

    file.firmware = "99";
    ConfigPreviewDialog other(now, file, QStringLiteral("hangar.json"));
    QLabel *warning = label(other, QStringLiteral("firmwareWarning"));
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->text().contains("firmware 99")) << warning->text().toStdString();
    EXPECT_TRUE(warning->text().contains("firmware 26")) << warning->text().toStdString();
    EXPECT_TRUE(label(other, QStringLiteral("fileFacts"))->text().contains("Firmware: 99"));
    other.setResult(QDialog::Rejected);
    EXPECT_TRUE(answerQuestion(other, QMessageBox::No));
    EXPECT_EQ(other.result(), QDialog::Rejected); // OK alone does not load it
    EXPECT_TRUE(answerQuestion(other, QMessageBox::Yes));
    EXPECT_EQ(other.result(), QDialog::Accepted);
}

// A file saved for another aircraft is warned of, naming both, and OK takes a second Yes; a
// file without a name is taken with one OK, as before names existed.
TEST(ConfigPreviewDialog, FileForAnotherAircraftNeedsASecondConfirmation)
{
    ConfigValues now;
    now.firmware = "26";
    ConfigValues file = now;
    file.aircraft = "N1";
    ConfigPreviewDialog unnamed(now, now);
    unnamed.warnOtherAircraft(QString::fromStdString(otherAircraftWarning("", "N2")));
    EXPECT_FALSE(answerQuestion(unnamed, QMessageBox::No));
    EXPECT_EQ(unnamed.result(), QDialog::Accepted);

    ConfigPreviewDialog other(now, file);
    other.warnOtherAircraft(QString::fromStdString(otherAircraftWarning(file.aircraft, "N2")));
    QLabel *warning = label(other, QStringLiteral("aircraftWarning"));
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->text().contains("aircraft N1")) << warning->text().toStdString();
    EXPECT_TRUE(warning->text().contains("chosen is N2")) << warning->text().toStdString();
    other.setResult(QDialog::Rejected);
    EXPECT_TRUE(answerQuestion(other, QMessageBox::No));
    EXPECT_EQ(other.result(), QDialog::Rejected);
    EXPECT_TRUE(answerQuestion(other, QMessageBox::Yes));
    EXPECT_EQ(other.result(), QDialog::Accepted);
}

// A file's texts are shown, never trusted: a huge firmware or saved text is cut short.
TEST(ConfigPreviewDialog, LongFileTextsAreShortened)
{
    ConfigValues now;
    now.firmware = "26";
    ConfigValues file = now;
    file.firmware = std::string(100000, '9');
    file.saved = std::string(100000, 'x');
    ConfigPreviewDialog dialog(now, file, QString(10000, QLatin1Char('n')));
    EXPECT_LT(label(dialog, QStringLiteral("fileFacts"))->text().size(), 300);
    EXPECT_LT(label(dialog, QStringLiteral("firmwareWarning"))->text().size(), 300);
}
