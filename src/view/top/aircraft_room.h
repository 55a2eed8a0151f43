// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>

class QAction;
class QMenu;
class QWidget;

namespace quelo {

class ChangeHistory;
class FleetWindow;
class RunCapture;
class StatusNotes;
class WindowModel;

// The aircraft the module sits in, which the module cannot tell: File > Aircraft (a known name,
// a new one, or none), the fleet (File > Fleet…) and the configuration record (File > Print
// configuration record…). The name chosen goes with every restore point, recording and log; it
// is remembered for the port's device and offered again when that device connects, saying so
// in the status bar when the module's configuration differs from that aircraft's last one.
class AircraftRoom : public QObject
{
    Q_OBJECT

public:
    AircraftRoom(WindowModel &model, ChangeHistory &changes, RunCapture &capture,
                 StatusNotes &notes, QWidget &window);

    // File's entries, put before `before`: the Aircraft submenu, Fleet… and Print
    // configuration record….
    void addToMenu(QMenu &file, QAction *before);
    void setPortDevices(const QStringList &devices) { m_devices = devices; }
    // `name` is checked already (or empty: none).
    void choose(const QString &name);
    const QString &chosen() const { return m_chosen; }
    FleetWindow *fleetWindow();
    void showFleet();
    // After every model event: a device that connects is offered its remembered name.
    void modelChanged();
    // The memory of names per device is read from and written to `path` (off the window's
    // thread); without it nothing is remembered.
    void setMemoryPath(const QString &path);

signals:
    void chosenChanged(const QString &name);

private:
    void fillMenu();
    void askNewName();
    void offerRemembered();
    void remember();
    void printRecord();

    WindowModel &m_model;
    ChangeHistory &m_changes;
    RunCapture &m_capture;
    StatusNotes &m_notes;
    QWidget &m_window;
    QMenu *m_menu = nullptr;
    FleetWindow *m_fleet = nullptr;
    QString m_chosen;
    QStringList m_devices;
    QString m_memoryPath;
    QMap<QString, QString> m_memory; // device -> name used last on it
    bool m_connected = false;
    std::uint64_t m_connection = 0;
    bool m_offerPending = false;
};

} // namespace quelo
