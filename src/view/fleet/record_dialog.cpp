// SPDX-License-Identifier: GPL-3.0-or-later
#include "record_dialog.h"

#include "file_access.h"
#include "record_page.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>

namespace quelo {

RecordDialog::RecordDialog(ConfigRecord record, QString historyFolder,
                           std::vector<Snapshot> entries, QWidget *parent)
    : QDialog(parent), m_record(std::move(record)), m_historyFolder(std::move(historyFolder)),
      m_entries(std::move(entries)), m_remarks(new QPlainTextEdit(this))
{
    setWindowTitle(tr("Print configuration record"));
    QStringList lines;
    for (const std::string &line : recordLines(m_record))
        lines << QString::fromStdString(line);
    auto *text = new QLabel(lines.join(QLatin1Char('\n')), this);
    text->setObjectName(QStringLiteral("recordText"));
    text->setTextFormat(Qt::PlainText);
    m_remarks->setObjectName(QStringLiteral("remarks"));
    m_remarks->setPlaceholderText(tr("Remarks (work done, reason for the change, …)"));
    m_remarks->setMaximumHeight(90);
    connect(m_remarks, &QPlainTextEdit::textChanged, this, [this] {
        if (m_remarks->toPlainText().size() > kMaxRemarksChars)
            m_remarks->setPlainText(m_remarks->toPlainText().left(kMaxRemarksChars));
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *print = buttons->addButton(tr("&Print…"), QDialogButtonBox::ActionRole);
    QPushButton *pdf = buttons->addButton(tr("Save &PDF…"), QDialogButtonBox::ActionRole);
    connect(print, &QPushButton::clicked, this, &RecordDialog::print);
    connect(pdf, &QPushButton::clicked, this, &RecordDialog::chooseAndSave);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(new QLabel(tr("Remarks:"), this));
    layout->addWidget(m_remarks);
    layout->addWidget(buttons);
}

void RecordDialog::print()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    paintRecord(printer, m_record, m_remarks->toPlainText());
    copyIntoHistory(recordPdf(m_record, m_remarks->toPlainText()));
    m_result = tr("Configuration record printed");
    accept();
}

void RecordDialog::chooseAndSave()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name = QStringLiteral("quelo-record-%1.pdf")
                             .arg(QString::fromStdString(aircraftFileTag(m_record.aircraft)));
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save configuration record"), QDir(folder).filePath(name), tr("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!savePdf(path, error)) {
        QMessageBox::warning(this, windowTitle(), tr("The record was not saved.\n%1").arg(error));
        return;
    }
    accept();
}

bool RecordDialog::savePdf(const QString &path, QString &error)
{
    const QByteArray pdf = recordPdf(m_record, m_remarks->toPlainText());
    if (!writeFileAtomically(path, pdf, error)) {
        error = tr("cannot write %1: %2").arg(QDir::toNativeSeparators(path), error);
        m_result = tr("The configuration record was not saved: %1").arg(error);
        return false;
    }
    m_result = tr("Configuration record saved to %1").arg(QDir::toNativeSeparators(path));
    copyIntoHistory(pdf);
    return true;
}

// Beside the newest restore point of the aircraft that holds these values.
void RecordDialog::copyIntoHistory(const QByteArray &pdf)
{
    const std::vector<Snapshot> own = entriesOf(m_entries, m_record.aircraft);
    const auto holder = std::find_if(own.begin(), own.end(), [this](const Snapshot &s) {
        return sameConfiguration(s.config, m_record.config);
    });
    if (m_historyFolder.isEmpty() || holder == own.end())
        return;
    QString error;
    writeFileAtomically(QDir(m_historyFolder).filePath(recordFileName(*holder)), pdf, error);
}

} // namespace quelo
