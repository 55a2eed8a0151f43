// SPDX-License-Identifier: GPL-3.0-or-later
// view/config/: the configuration dialogs: preview of a file, comparison, the undo step.
#pragma once

#include "parameters.h"

#include <QDialog>
#include <QString>

class QGridLayout;
class QLabel;

namespace quelo {

// One cell of a configuration's table, as the Load preview and the comparisons show it.
QLabel *configCell(QWidget *parent, const QString &text, bool bold, const QString &name = {});

// Asks before a configuration file is put into the module: the file's name, "saved" time and
// firmware, then each parameter as "now → file" in the value boxes' own texts, the rows that
// would change in bold with a marker. A file saved from other firmware than the module's gets a
// warning line naming both, and OK asks once more before it accepts. Accepted with OK,
// rejected with Cancel; it changes nothing itself.
class ConfigPreviewDialog : public QDialog
{
    Q_OBJECT

public:
    ConfigPreviewDialog(const ConfigValues &now, const ConfigValues &file,
                        QWidget *parent = nullptr);
    // The same for a file of that name.
    ConfigPreviewDialog(const ConfigValues &now, const ConfigValues &file, const QString &fileName,
                        QWidget *parent = nullptr);

    // How many parameters the file would change.
    int changeCount() const { return m_changes; }
    // The firmware warning shown, empty when the file's firmware is the module's.
    const QString &firmwareWarning() const { return m_firmwareWarning; }

    // A file saved for another aircraft than the one chosen: a warning line naming both, and OK
    // asks once more, as for other firmware. Nothing for an empty warning.
    void warnOtherAircraft(const QString &warning);
    const QString &aircraftWarning() const { return m_aircraftWarning; }

    // OK: with a firmware or aircraft warning, accepts only once the second question is
    // answered Yes.
    void accept() override;

    static constexpr const char *kChangeMarker = "\u25C0 changes";

private:
    QLabel *fileFacts(const ConfigValues &file, const QString &fileName);
    QGridLayout *parameterGrid(const ConfigValues &now, const ConfigValues &file);

    int m_changes = 0;
    QString m_firmwareWarning;
    QString m_aircraftWarning;
};

} // namespace quelo
