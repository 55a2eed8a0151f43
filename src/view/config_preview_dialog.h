// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "parameters.h"

#include <QDialog>

class QLabel;

namespace quelo {

// Asks before a configuration file is put into the module: each parameter as "now → file" in
// the value boxes' own texts, the rows that would change in bold with a marker. Accepted with
// OK, rejected with Cancel; it changes nothing itself.
class ConfigPreviewDialog : public QDialog
{
    Q_OBJECT

public:
    ConfigPreviewDialog(const ConfigValues &now, const ConfigValues &file,
                        QWidget *parent = nullptr);

    // How many parameters the file would change.
    int changeCount() const { return m_changes; }

    static constexpr const char *kChangeMarker = "\u25C0 changes";

private:
    int m_changes = 0;
};

} // namespace quelo
