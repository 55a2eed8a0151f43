// SPDX-License-Identifier: GPL-3.0-or-later
#include "record_page.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace quelo {

namespace {

QString escaped(const std::string &text)
{
    return QString::fromStdString(text).toHtmlEscaped();
}

// The facts, then a table of the seven values, then the changes and the stored state.
QString bodyHtml(const ConfigRecord &record)
{
    const std::vector<std::string> lines = recordLines(record);
    const std::size_t facts = 4;
    QString html;
    for (std::size_t i = 0; i < facts; ++i)
        html += escaped(lines[i]) + QStringLiteral("<br>");
    html += QStringLiteral("<h3>Configuration</h3><table cellpadding=\"3\" border=\"1\" "
                           "cellspacing=\"0\">");
    const auto texts = shownTexts(record.config);
    for (std::size_t i = 0; i < kParameterCount; ++i)
        html += QStringLiteral("<tr><td>%1</td><td><b>%2</b></td></tr>")
                    .arg(escaped(kParameters[i].name), escaped(texts[i]));
    html += QStringLiteral("</table><h3>Changes</h3>");
    const std::size_t last = lines.size() - 1;
    for (std::size_t i = facts + kParameterCount; i < last; ++i)
        html += escaped(lines[i]) + QStringLiteral("<br>");
    const bool stored = record.unstored.empty();
    html += QStringLiteral("<p style=\"%1\">%2</p>")
                .arg(stored ? QString() : QStringLiteral("color:#b00000; font-weight:bold"),
                     escaped(lines[last]));
    return html;
}

} // namespace

// The printed record is English throughout, in every language: its facts and changes are the
// model's lines, and a record reads the same from the window, from --print-record and in the
// history folder, for whoever inspects the aircraft.
QString recordHtml(const ConfigRecord &record, const QString &remarks)
{
    QString html = QStringLiteral("<h2>Ignition configuration record</h2>") + bodyHtml(record);
    html += QStringLiteral("<h3>Remarks</h3><p>%1</p>")
                .arg(remarks.left(kMaxRemarksChars)
                         .toHtmlEscaped()
                         .replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    for (const char *label : {"Work performed by", "Certificate number", "Signature"})
        html += QStringLiteral("<p><br>%1: ______________________________________</p>")
                    .arg(QString::fromLatin1(label));
    return html;
}

void paintRecord(QPagedPaintDevice &device, const ConfigRecord &record, const QString &remarks)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(20, 15, 20, 15), QPageLayout::Millimeter);
    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setHtml(recordHtml(record, remarks));
    document.print(&device);
}

QByteArray recordPdf(const ConfigRecord &record, const QString &remarks)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(
            QStringLiteral("Configuration record %1").arg(QString::fromStdString(record.aircraft)));
        writer.setCreator(QStringLiteral("quelo-link"));
        paintRecord(writer, record, remarks);
    } // the writer finishes the file when it goes
    return bytes;
}

QString recordFileName(const Snapshot &restorePoint)
{
    QString name = QString::fromStdString(restorePoint.fileName);
    if (name.endsWith(QStringLiteral(".json")))
        name.chop(5);
    return name + QStringLiteral(".pdf");
}

} // namespace quelo
