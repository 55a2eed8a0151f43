// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run_position.h"

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

namespace quelo {

// The numbers of a replay: each quantity's recorded value at the position, as a label under its
// gauge; the marks either side, with buttons (Page Up, Page Down) that jump to them; and the
// configuration in force at the position, from the values the module reported.
class ReplayReadout final : public QWidget
{
    Q_OBJECT

public:
    // `run` must outlive the readout.
    ReplayReadout(const Recording &run, QWidget *parent = nullptr);

    // Puts the value labels on `panel`, each under the gauge at `gauges[i]` (in Quantity order).
    void placeValues(QWidget *panel, const std::array<QRect, kQuantityCount> &gauges);
    void showAt(double utcMs);

    QString valueText(Quantity quantity) const;
    QString configurationText() const;

signals:
    // A mark button was pressed: go to that moment (UTC ms).
    void jump(double utcMs);

private:
    const Recording &m_run;
    std::vector<double> m_marks;
    ConfigurationTrack m_configuration;
    RunPosition m_position;
    std::array<QLabel *, kQuantityCount> m_values{};
    QLabel *m_markLabel = nullptr;
    QLabel *m_config = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_next = nullptr;
};

} // namespace quelo
