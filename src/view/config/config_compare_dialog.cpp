// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_compare_dialog.h"

#include "config_preview_dialog.h"
#include "model_texts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace quelo {

ConfigCompareDialog::ConfigCompareDialog(const QString &windowTitle, const Side &left,
                                         const Side &right, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(windowTitle);
    auto *grid = new QGridLayout;
    grid->addWidget(configCell(this, tr("Parameter"), true), 0, 0);
    grid->addWidget(configCell(this, left.title, true, QStringLiteral("left/title")), 0, 1);
    grid->addWidget(configCell(this, right.title, true, QStringLiteral("right/title")), 0, 3);
    const bool otherFirmware = left.config.firmware != right.config.firmware;
    grid->addWidget(configCell(this, tr("Firmware"), otherFirmware), 1, 0);
    grid->addWidget(configCell(this, QString::fromStdString(left.config.firmware), otherFirmware),
                    1, 1);
    grid->addWidget(configCell(this, QString::fromStdString(right.config.firmware), otherFirmware),
                    1, 3);
    const auto leftTexts = shownTexts(left.config);
    const auto rightTexts = shownTexts(right.config);
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        const bool differs = left.config.values[i] != right.config.values[i];
        m_differences += differs ? 1 : 0;
        const int row = static_cast<int>(i) + 2;
        const QString key = QString::fromLatin1(p.key);
        grid->addWidget(configCell(this, QString::fromLatin1(p.caption), differs), row, 0);
        grid->addWidget(
            configCell(this, QString::fromStdString(leftTexts[i]), differs, key + "/left"), row, 1);
        grid->addWidget(configCell(this, QStringLiteral("\u2192"), differs), row, 2);
        grid->addWidget(
            configCell(this, QString::fromStdString(rightTexts[i]), differs, key + "/right"), row,
            3);
        grid->addWidget(
            configCell(this, differs ? tr(kDifferenceMarker) : QString(), true, key + "/marker"),
            row, 4);
    }
    auto *summary = new QLabel(
        m_differences == 0
            ? tr("The %1 values are the same.").arg(modelText(countInWords(kParameterCount)))
            : tr("%n value(s) differ.", nullptr, m_differences),
        this);
    summary->setObjectName(QStringLiteral("summary"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(summary);
    layout->addWidget(buttons);
}

} // namespace quelo
