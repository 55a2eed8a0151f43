// SPDX-License-Identifier: GPL-3.0-or-later
#include "replay_readout.h"

#include "chart_ticks.h"
#include "summary_report.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quelo {

namespace {

// The units of the gauges, in Quantity order: rpm whole, the rest to a tenth.
const char *const kFormats[kQuantityCount] = {QT_TRANSLATE_NOOP("ReplayReadout", "%1 rpm"),
                                              QT_TRANSLATE_NOOP("ReplayReadout", "%1° advance"),
                                              QT_TRANSLATE_NOOP("ReplayReadout", "%1 V"),
                                              QT_TRANSLATE_NOOP("ReplayReadout", "%1° propeller")};

} // namespace

ReplayReadout::ReplayReadout(const Recording &run, QWidget *parent)
    : QWidget(parent), m_run(run), m_marks(markTimes(run)), m_configuration(run.events)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *marks = new QHBoxLayout;
    m_previous = new QPushButton(tr("◀ Previous mark"), this);
    m_previous->setObjectName(QStringLiteral("replayPreviousMark"));
    m_previous->setShortcut(QKeySequence(Qt::Key_PageUp));
    m_next = new QPushButton(tr("Next mark ▶"), this);
    m_next->setObjectName(QStringLiteral("replayNextMark"));
    m_next->setShortcut(QKeySequence(Qt::Key_PageDown));
    m_markLabel = new QLabel(this);
    m_markLabel->setObjectName(QStringLiteral("replayMarks"));
    connect(m_previous, &QPushButton::clicked, this, [this] {
        if (m_position.previousMark)
            emit jump(*m_position.previousMark);
    });
    connect(m_next, &QPushButton::clicked, this, [this] {
        if (m_position.nextMark)
            emit jump(*m_position.nextMark);
    });
    marks->addWidget(m_previous);
    marks->addWidget(m_markLabel, 1);
    marks->addWidget(m_next);
    layout->addLayout(marks);
    m_config = new QLabel(this);
    m_config->setObjectName(QStringLiteral("replayConfiguration"));
    m_config->setWordWrap(true);
    m_config->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_config);
}

void ReplayReadout::placeValues(QWidget *panel, const std::array<QRect, kQuantityCount> &gauges)
{
    for (std::size_t q = 0; q < kQuantityCount; ++q) {
        m_values[q] = new QLabel(panel);
        m_values[q]->setObjectName(QStringLiteral("replayValue%1").arg(q));
        m_values[q]->setAlignment(Qt::AlignCenter);
        m_values[q]->setStyleSheet(
            QStringLiteral("QLabel { color: #00FF00; font-weight: bold; font-size: 15px; }"));
        const QRect &g = gauges[q];
        m_values[q]->setGeometry(g.x(), g.bottom() + 4, g.width(), 24);
    }
}

QString ReplayReadout::valueText(Quantity quantity) const
{
    const auto q = std::size_t(quantity);
    const std::optional<double> &v = m_position.values[q];
    return v ? QCoreApplication::translate("ReplayReadout", kFormats[q])
                   .arg(QString::number(*v, 'f', q == 0 ? 0 : 1))
             : QStringLiteral("—");
}

QString ReplayReadout::configurationText() const
{
    return m_config->text();
}

void ReplayReadout::showAt(double utcMs)
{
    m_position = positionIn(m_run, m_marks, utcMs);
    for (std::size_t q = 0; q < kQuantityCount; ++q) {
        const QString text = valueText(Quantity(q));
        if (m_values[q] && m_values[q]->text() != text)
            m_values[q]->setText(text);
    }
    m_previous->setEnabled(bool(m_position.previousMark));
    m_next->setEnabled(bool(m_position.nextMark));
    const double start = runSpan(m_run).value_or(TimeSpan{}).from;
    const auto at = [start](std::optional<double> t) {
        return t ? QString::fromStdString(elapsedText((*t - start) / 1000)) : tr("none");
    };
    const QString marks = m_marks.empty()
                              ? tr("No marks in this run")
                              : tr("Marks: previous %1, next %2 (Page Up, Page Down)")
                                    .arg(at(m_position.previousMark), at(m_position.nextMark));
    if (m_markLabel->text() != marks)
        m_markLabel->setText(marks);
    QStringList parameters;
    for (const auto &kv : m_configuration.at(utcMs))
        parameters << QString::fromStdString(printableText(kv.first) + "=" +
                                             printableText(kv.second));
    const QString config = parameters.isEmpty()
                               ? tr("No configuration reported yet at this point")
                               : tr("In force: %1").arg(parameters.join(QStringLiteral(", ")));
    if (m_config->text() != config)
        m_config->setText(config);
}

} // namespace quelo
