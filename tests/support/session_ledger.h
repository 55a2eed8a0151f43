// SPDX-License-Identifier: GPL-3.0-or-later
// The random session's bookkeeping: what each simulated module sent and was asked for by the
// user, and the checks of the program's promises against it.
#pragma once

#include "module_sim.h"
#include "parameters.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace quelo {
class WindowModel;
}

namespace quelo::test {

// One module the session can plug in on the port, and what the user asked of it.
struct PluggedModule
{
    PluggedModule(int number_, std::uint32_t seed) : number(number_), sim(seed) {}
    int number; // 1: the module the session starts with
    sim::ModuleSim sim;
    // Values the user chose while it was connected and had reported all seven in that connection.
    std::array<std::set<int>, kParameterCount> chosen;
    int storesPressed = 0; // STORE presses while it was connected, less the stores it received
};

// What one module sent since the current connection began: read-backs and firmware version.
struct Heard
{
    std::array<std::set<long long>, kParameterCount> values;
    std::array<std::optional<long long>, kParameterCount> last;
    std::optional<std::string> firmware; // as the window shows it: the version in decimal
    bool everything() const;
};

class SessionLedger
{
public:
    // invariant: 'a'..'e' as in session_property.h, 'f' the end of the session.
    using Report = std::function<void(char invariant, const std::string &text)>;
    explicit SessionLedger(Report report) : m_report(std::move(report)) {}

    // A connection began in the event that handled `chunk` (empty: not a delivery): what the
    // modules sent before is forgotten, but for the lines of that chunk.
    void connectionBegan(const PluggedModule *attached, const std::string &chunk);
    // A module sent a chunk; it reaches the program next.
    void heard(const PluggedModule *from, const std::string &chunk);
    const Heard *heardFrom(const PluggedModule *module) const;

    // The user moved parameter i to value (a slider, an undo or redo, a Load).
    void userChose(std::size_t i, int value, PluggedModule *attached, bool connected);
    void storePressed(PluggedModule *attached, bool connected);
    // A message the program has for the user.
    void told(const std::string &message);
    // The module lost power (switched off, or unplugged): what it held unstored is gone.
    void moduleLostPower(const PluggedModule *module);
    // The module was off for less than the answer timeout: the program cannot tell it from a
    // pause, so until the next connection its window may show the values from before the cut.
    void unnoticedPowerCut() { m_unnoticedCut = true; }

    // (a) and (b): what the window counts as reported came from the module connected now.
    void checkReported(const WindowModel &model, const PluggedModule *attached, bool connected);
    // (c): a command line the module `to` received.
    void checkCommand(PluggedModule &to, const std::string &line);
    // (d): "stored" said only when true; `quitting` asks as the quit question does, whatever
    // colour the store button has.
    void checkStoredClaim(const WindowModel &model, const PluggedModule *attached, bool quitting);
    // At the end, on a well-behaved module: each slider shows the module's value, and each
    // change of the user's reached it, or the user was told.
    void checkFinal(const WindowModel &model, const PluggedModule &attached);

    int refusals = 0;
    int givenUp = 0;
    int notSent = 0;
    int writes = 0;
    int stores = 0;

private:
    // The user's latest change of a parameter and what became of it.
    struct UserChange
    {
        int value = 0;
        // Connected when it was made, else the next one to connect; null: none yet.
        const PluggedModule *owner = nullptr;
        bool told = false;    // refused, not sent or given up, as the user was told
        bool inDoubt = false; // given up unconfirmed, not read back since
    };

    void checkReportedValues(const WindowModel &model, const PluggedModule &attached);
    void checkReportedConfig(const WindowModel &model, const PluggedModule &attached);
    void record(const PluggedModule *from, const std::string &line);
    std::string describe(const std::set<long long> &values) const;

    Report m_report;
    bool m_unnoticedCut = false; // since the connection began
    std::map<const PluggedModule *, Heard> m_heard;
    std::array<std::optional<UserChange>, kParameterCount> m_changes;
};

} // namespace quelo::test
