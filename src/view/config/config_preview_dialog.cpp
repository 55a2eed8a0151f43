// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_preview_dialog.h"

#include "config_transfer.h"
#include "model_texts.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

namespace quelo {

namespace {

// A file's texts are untrusted: a name or a firmware of any length shows no longer than this.
constexpr int kMaxShownChars = 60;

QString shortened(const QString &text)
{
    return text.size() <= kMaxShownChars ? text : text.left(kMaxShownChars - 1) + QChar(0x2026);
}

// The "saved" time as a reader wants it, in the file's own local time; a text that is not a
// time is shown as it is.
QString savedText(const std::string &saved)
{
    const QString text = QString::fromStdString(saved);
    if (text.isEmpty())
        return QObject::tr("(not given)");
    const QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : shortened(text);
}

} // namespace

ConfigPreviewDialog::ConfigPreviewDialog(const ConfigValues &now, const ConfigValues &file,
                                         QWidget *parent)
    : ConfigPreviewDialog(now, file, QString(), parent)
{
}

ConfigPreviewDialog::ConfigPreviewDialog(const ConfigValues &now, const ConfigValues &file,
                                         const QString &fileName, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Load configuration"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fileFacts(file, fileName));
    const std::string mismatch = firmwareMismatch(file.firmware, now.firmware);
    if (!mismatch.empty()) {
        m_firmwareWarning =
            tr("Warning: this file was %1. Its values may mean something else on this module.")
                .arg(modelText(mismatch));
        auto *warning =
            configCell(this, m_firmwareWarning, true, QStringLiteral("firmwareWarning"));
        warning->setWordWrap(true);
        warning->setStyleSheet(QStringLiteral("color: #b00000"));
        layout->addWidget(warning);
    }
    layout->addLayout(parameterGrid(now, file));
    auto *summary = new QLabel(m_changes == 0 ? tr("The module already holds every value.")
                                              : tr("%n parameter(s) will change; store them with "
                                                   "STORE CONFIGURATION afterwards.",
                                                   nullptr, m_changes),
                               this);
    summary->setObjectName(QStringLiteral("summary"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(summary);
    layout->addWidget(buttons);
}

QLabel *ConfigPreviewDialog::fileFacts(const ConfigValues &file, const QString &fileName)
{
    QStringList lines;
    if (!fileName.isEmpty())
        lines << tr("File: %1").arg(shortened(fileName));
    lines << tr("Saved: %1").arg(savedText(file.saved));
    lines << tr("Firmware: %1")
                 .arg(file.firmware.empty() ? tr("(not given)")
                                            : shortened(QString::fromStdString(file.firmware)));
    auto *facts = new QLabel(lines.join(QLatin1Char('\n')), this);
    facts->setObjectName(QStringLiteral("fileFacts"));
    facts->setTextFormat(Qt::PlainText);
    return facts;
}

QGridLayout *ConfigPreviewDialog::parameterGrid(const ConfigValues &now, const ConfigValues &file)
{
    auto *grid = new QGridLayout;
    grid->addWidget(configCell(this, tr("Parameter"), true, {}), 0, 0);
    grid->addWidget(configCell(this, tr("Now"), true, {}), 0, 1);
    grid->addWidget(configCell(this, tr("File"), true, {}), 0, 3);
    const auto nowTexts = shownTexts(now);
    const auto fileTexts = shownTexts(file);
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        const bool differs = now.values[i] != file.values[i];
        m_changes += differs ? 1 : 0;
        const int row = static_cast<int>(i) + 1;
        const QString key = QString::fromLatin1(p.key);
        grid->addWidget(configCell(this, QString::fromLatin1(p.caption), differs, key + "/caption"),
                        row, 0);
        grid->addWidget(
            configCell(this, QString::fromStdString(nowTexts[i]), differs, key + "/now"), row, 1);
        grid->addWidget(configCell(this, QStringLiteral("\u2192"), differs, {}), row, 2);
        grid->addWidget(
            configCell(this, QString::fromStdString(fileTexts[i]), differs, key + "/file"), row, 3);
        grid->addWidget(
            configCell(this, differs ? tr(kChangeMarker) : QString(), true, key + "/marker"), row,
            4);
    }
    return grid;
}

void ConfigPreviewDialog::warnOtherAircraft(const QString &warning)
{
    if (warning.isEmpty())
        return;
    m_aircraftWarning = tr("Warning: this file was %1.").arg(shortened(warning));
    auto *label = configCell(this, m_aircraftWarning, true, QStringLiteral("aircraftWarning"));
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #b00000"));
    static_cast<QVBoxLayout *>(layout())->insertWidget(1, label);
}

void ConfigPreviewDialog::accept()
{
    if (!m_firmwareWarning.isEmpty() || !m_aircraftWarning.isEmpty()) {
        QStringList warnings{m_aircraftWarning, m_firmwareWarning};
        warnings.removeAll(QString());
        QMessageBox question(QMessageBox::Warning, windowTitle(),
                             warnings.join(QLatin1Char('\n')) + QStringLiteral("\n\n") +
                                 tr("Load it into this module all the same?"),
                             QMessageBox::Yes | QMessageBox::No, this);
        question.setObjectName(QStringLiteral("firmwareQuestion"));
        question.setDefaultButton(QMessageBox::No);
        if (question.exec() != QMessageBox::Yes)
            return;
    }
    QDialog::accept();
}

QLabel *configCell(QWidget *parent, const QString &text, bool bold, const QString &name)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace quelo
