// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "aircraft.h"

#include <QDialog>
#include <QString>

#include <vector>

class QPlainTextEdit;

namespace quelo {

// File > Print configuration record: the record's text, a remarks field, and Print… (a printer,
// or a PDF through the print dialog) or Save PDF…. The PDF of a record printed or saved also
// goes into the history folder beside the restore point that holds these values, when there is
// one. result() says what was done, for the status bar.
class RecordDialog : public QDialog
{
    Q_OBJECT

public:
    RecordDialog(ConfigRecord record, QString historyFolder, std::vector<Snapshot> entries,
                 QWidget *parent = nullptr);

    QPlainTextEdit &remarks() { return *m_remarks; }
    // Writes the record as a PDF to `path`, whole or not at all, and its copy into the history.
    bool savePdf(const QString &path, QString &error);
    const QString &result() const { return m_result; }

private:
    void print();
    void chooseAndSave();
    void copyIntoHistory(const QByteArray &pdf);

    ConfigRecord m_record;
    QString m_historyFolder;
    std::vector<Snapshot> m_entries;
    QPlainTextEdit *m_remarks;
    QString m_result;
};

} // namespace quelo
