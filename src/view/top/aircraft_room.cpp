// SPDX-License-Identifier: GPL-3.0-or-later
#include "aircraft_room.h"

#include "aircraft.h"
#include "aircraft_memory.h"
#include "change_history.h"
#include "config_transfer.h"
#include "fleet_window.h"
#include "history_store.h"
#include "history_window.h"
#include "model_texts.h"
#include "record_dialog.h"
#include "run_capture.h"
#include "run_recording.h"
#include "status_notes.h"
#include "window_model.h"

#include <QAction>
#include <QActionGroup>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>

namespace quelo {

AircraftRoom::AircraftRoom(WindowModel &model, ChangeHistory &changes, RunCapture &capture,
                           StatusNotes &notes, QWidget &window)
    : QObject(&window), m_model(model), m_changes(changes), m_capture(capture), m_notes(notes),
      m_window(window)
{
}

void AircraftRoom::addToMenu(QMenu &file, QAction *before)
{
    m_menu = new QMenu(tr("A&ircraft"), &file);
    file.insertMenu(before, m_menu);
    m_menu->setObjectName(QStringLiteral("menuAircraft"));
    connect(m_menu, &QMenu::aboutToShow, this, &AircraftRoom::fillMenu);
    fillMenu();
    QAction *fleet = new QAction(tr("Fl&eet…"), &file);
    file.insertAction(before, fleet);
    fleet->setObjectName(QStringLiteral("actionFleet"));
    connect(fleet, &QAction::triggered, this, &AircraftRoom::showFleet);
    QAction *record = new QAction(tr("Print &configuration record…"), &file);
    file.insertAction(before, record);
    record->setObjectName(QStringLiteral("actionPrintRecord"));
    connect(record, &QAction::triggered, this, &AircraftRoom::printRecord);
}

// The names known from the history, the one chosen, none, and a new one.
void AircraftRoom::fillMenu()
{
    m_menu->clear();
    auto *group = new QActionGroup(m_menu);
    const auto add = [&](const QString &text, const QString &name) {
        QAction *action = m_menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(sameAircraft(name.toStdString(), m_chosen.toStdString()));
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, name] { choose(name); });
    };
    add(tr("&None"), QString());
    QStringList names;
    if (const HistoryStore *store = m_changes.store())
        for (const FleetAircraft &aircraft : fleetOf(store->entries()))
            names << QString::fromStdString(aircraft.name);
    const bool known = std::any_of(names.begin(), names.end(), [this](const QString &n) {
        return sameAircraft(n.toStdString(), m_chosen.toStdString());
    });
    if (!m_chosen.isEmpty() && !known)
        names << m_chosen;
    // A name's own '&' is shown as it is; the first nine get a number to pick them by.
    for (int i = 0; i < names.size(); ++i) {
        QString text = names[i];
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        add(i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(text) : text, names[i]);
    }
    m_menu->addSeparator();
    QAction *other = m_menu->addAction(tr("Ne&w aircraft…"));
    other->setObjectName(QStringLiteral("actionNewAircraft"));
    connect(other, &QAction::triggered, this, &AircraftRoom::askNewName);
}

void AircraftRoom::askNewName()
{
    bool ok = false;
    const QString text = QInputDialog::getText(
        &m_window, tr("Aircraft"),
        tr("The aircraft's name (a registration such as N123AB, or any short name):"),
        QLineEdit::Normal, m_chosen, &ok);
    if (!ok)
        return;
    std::string why;
    const std::optional<std::string> name = aircraftName(text.toStdString(), why);
    if (!name) {
        QMessageBox::warning(&m_window, tr("Aircraft"),
                             tr("That is not an aircraft name: %1.\nA name has 1 to %2 printable "
                                "characters.")
                                 .arg(modelText(why))
                                 .arg(kMaxAircraftNameChars));
        return;
    }
    choose(QString::fromStdString(*name));
}

void AircraftRoom::choose(const QString &name)
{
    if (name == m_chosen)
        return;
    m_chosen = name;
    const std::string text = name.toStdString();
    m_changes.watcher().setAircraft(text);
    m_capture.setAircraft(text);
    if (!text.empty())
        m_model.linkLog().event(aircraftEventText(text));
    remember();
    emit chosenChanged(name);
}

// A module that connects on a device an aircraft was named on last gets that name, unless the
// user has chosen one in this session; once it has reported its values, a configuration that
// differs from that aircraft's last restore point is said.
void AircraftRoom::modelChanged()
{
    const bool connected = m_model.isConnected();
    const bool newConnection =
        connected && (!m_connected || m_model.connectionId() != m_connection);
    m_connected = connected;
    m_connection = m_model.connectionId();
    if (newConnection) {
        const QString remembered = m_memory.value(m_devices.value(m_model.connectedPort() - 1));
        m_offerPending = !remembered.isEmpty() && m_chosen.isEmpty();
        if (m_offerPending)
            choose(remembered);
        else
            remember();
    }
    if (m_offerPending && connected && reportedConfig(m_model))
        offerRemembered();
}

void AircraftRoom::offerRemembered()
{
    m_offerPending = false;
    const HistoryStore *store = m_changes.store();
    if (!store)
        return;
    const std::vector<Snapshot> own = entriesOf(store->entries(), m_chosen.toStdString());
    if (!own.empty() && !sameConfiguration(own.front().config, *reportedConfig(m_model)))
        m_notes.post(modelText(differsFromLastText(m_chosen.toStdString())));
}

// The name goes with the device it is used on, written off the window's thread.
void AircraftRoom::remember()
{
    if (!m_model.isConnected() || m_chosen.isEmpty() || m_memoryPath.isEmpty())
        return;
    const QString device = m_devices.value(m_model.connectedPort() - 1);
    if (device.isEmpty() || m_memory.value(device) == m_chosen)
        return;
    m_memory.insert(device, m_chosen);
    QThreadPool::globalInstance()->start([path = m_memoryPath, memory = m_memory] {
        QString error;
        writeAircraftMemory(path, memory, error); // a name not remembered is only offered less
    });
}

void AircraftRoom::setMemoryPath(const QString &path)
{
    m_memoryPath = path;
    QPointer<AircraftRoom> self(this);
    QThreadPool::globalInstance()->start([self, path] {
        const QMap<QString, QString> read = readAircraftMemory(path);
        QMetaObject::invokeMethod(
            self.data(),
            [self, read] {
                if (self)
                    for (auto it = read.begin(); it != read.end(); ++it)
                        self->m_memory.insert(it.key(), it.value()); // this run's names win
            },
            Qt::QueuedConnection);
    });
}

FleetWindow *AircraftRoom::fleetWindow()
{
    HistoryStore *store = m_changes.store();
    if (!m_fleet && store) {
        m_fleet = new FleetWindow(*store, &m_window);
        m_fleet->setWindowFlag(Qt::Window);
        connect(m_fleet, &FleetWindow::openHistory, this, [this](const QString &name) {
            m_changes.showHistory();
            if (HistoryWindow *history = m_changes.historyWindow())
                history->showAircraft(name);
        });
    }
    return m_fleet;
}

void AircraftRoom::showFleet()
{
    if (FleetWindow *fleet = fleetWindow()) {
        fleet->show();
        fleet->raise();
        fleet->activateWindow();
    }
}

void AircraftRoom::printRecord()
{
    const std::optional<ConfigValues> config = reportedConfig(m_model);
    if (!m_model.isConnected() || !config) {
        QMessageBox::information(&m_window, tr("Print configuration record"),
                                 tr("A record can be printed once the module is connected and "
                                    "has reported all its values."));
        return;
    }
    ConfigRecord record;
    record.aircraft = m_chosen.toStdString();
    const Stamp now = wallClockNow();
    record.utcMs = now.utcMs;
    record.utcOffsetMinutes = now.utcOffsetMinutes;
    record.port = m_model.connectedPort();
    record.device = m_devices.value(record.port - 1).toStdString();
    record.config = *config;
    record.config.aircraft = record.aircraft;
    for (const Parameter *p : m_model.unstoredChanges())
        record.unstored.push_back(p->name);
    const HistoryStore *store = m_changes.store();
    if (store)
        addChangesFromHistory(record, store->entries());
    RecordDialog dialog(record, store ? store->folder() : QString(),
                        store ? store->entries() : std::vector<Snapshot>{}, &m_window);
    dialog.exec();
    if (!dialog.result().isEmpty())
        m_notes.post(dialog.result());
}

} // namespace quelo
