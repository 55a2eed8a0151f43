// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "parameters.h"

#include <QDialog>
#include <QString>

namespace quelo {

// Two configurations side by side, "left → right" in the value boxes' own texts, each row that
// differs in bold with a marker; the firmware versions on top. It only shows: Close closes it.
class ConfigCompareDialog : public QDialog
{
    Q_OBJECT

public:
    struct Side
    {
        QString title; // "Module now", "20 Dec 2026 17:24 stored", ...
        ConfigValues config;
    };

    ConfigCompareDialog(const QString &windowTitle, const Side &left, const Side &right,
                        QWidget *parent = nullptr);

    // How many of the seven values differ.
    int differenceCount() const { return m_differences; }

    static constexpr const char *kDifferenceMarker = "\u25C0 differs";

private:
    int m_differences = 0;
};

} // namespace quelo
