// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_preview_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace quelo {

namespace {

QLabel *cell(QWidget *parent, const QString &text, bool bold, const QString &name)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

ConfigPreviewDialog::ConfigPreviewDialog(const ConfigValues &now, const ConfigValues &file,
                                         QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Load configuration"));
    auto *grid = new QGridLayout;
    grid->addWidget(cell(this, tr("Parameter"), true, {}), 0, 0);
    grid->addWidget(cell(this, tr("Now"), true, {}), 0, 1);
    grid->addWidget(cell(this, tr("File"), true, {}), 0, 3);
    const auto nowTexts = shownTexts(now);
    const auto fileTexts = shownTexts(file);
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        const bool differs = now.values[i] != file.values[i];
        m_changes += differs ? 1 : 0;
        const int row = static_cast<int>(i) + 1;
        const QString key = QString::fromLatin1(p.key);
        grid->addWidget(cell(this, QString::fromLatin1(p.caption), differs, key + "/caption"), row,
                        0);
        grid->addWidget(cell(this, QString::fromStdString(nowTexts[i]), differs, key + "/now"), row,
                        1);
        grid->addWidget(cell(this, QStringLiteral("\u2192"), differs, {}), row, 2);
        grid->addWidget(cell(this, QString::fromStdString(fileTexts[i]), differs, key + "/file"),
                        row, 3);
        grid->addWidget(cell(this, differs ? tr(kChangeMarker) : QString(), true, key + "/marker"),
                        row, 4);
    }
    auto *summary = new QLabel(m_changes == 0 ? tr("The module already holds every value.")
                                              : tr("%n parameter(s) will change; store them with "
                                                   "STORE CONFIGURATION afterwards.",
                                                   nullptr, m_changes),
                               this);
    summary->setObjectName(QStringLiteral("summary"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(summary);
    layout->addWidget(buttons);
}

} // namespace quelo
