// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_model.h"

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quelo::sim {
class ModuleSim;
}

namespace quelo::soak {

// Watches what a connection promises, from the window's side and the module's: a new
// connection shows nothing it has not read (its sliders hidden at their start values until
// their value is reported), and in a connection the module's values and stored configuration
// change only through what the user did in that connection, so a change cut off by the end of
// the one before never reaches the module. Also reads the link log's "not sent" lines.
class ConnectionWatch
{
public:
    using Report = std::function<void(const std::string &)>;
    // A change the program told the user it did not send: the parameter's letter and its value
    // as the message names it.
    using Told = std::pair<char, std::string>;

    ConnectionWatch(WindowModel &model, const sim::ModuleSim &module, Report problem);

    // After every event of the model's.
    void modelChanged(qint64 nowMs);
    // Every few tens of milliseconds: the module's side.
    void sample(qint64 nowMs);
    // The changes a "not sent: ..." line of the link log names; none for any other line.
    std::vector<Told> notSent(const std::string &logLine) const;

    // The user's accepted actions in the current connection.
    void userMoved(char letter);
    void userStored() { m_storedHere = true; }

    // Every value the module answers reads of has been reported in the current connection.
    bool allReported() const;
    // The parameters with a change of the user's being written (not yet confirmed).
    std::vector<char> pendingUserChanges() const;

    int connections() const { return m_connections; }
    int afterSilence() const { return m_afterSilence; }

private:
    void begin(qint64 nowMs, bool wasUp);
    void checkUnreported();

    WindowModel &m_model;
    const WindowState &m_w;
    const sim::ModuleSim &m_module;
    Report m_problem;

    std::uint64_t m_id = 0;
    bool m_wasUp = false;
    int m_connections = 0;
    int m_afterSilence = 0;
    qint64 m_beganMs = 0;
    bool m_snapshotTaken = false;
    std::array<int, 7> m_moduleAtStart{};
    int m_storesAtStart = 0;
    std::array<bool, 7> m_movedHere{};
    bool m_storedHere = false;
    std::array<bool, 7> m_frozenReported{}; // each breach once per connection
    bool m_storeReported = false;
    int m_unreportedProblems = 0;
};

} // namespace quelo::soak
