// SPDX-License-Identifier: GPL-3.0-or-later
#include "session_property.h"

#include "config_change.h"
#include "config_transfer.h"
#include "conversation_property.h"
#include "property_support.h"
#include "session_ledger.h"
#include "window_model.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <map>
#include <type_traits>
#include <utility>

namespace quelo::test {

namespace {

// A model that numbers its connections tells when one begins; without that number a
// connection begins whenever the model becomes connected.
template <typename M, typename = void> struct HasConnectionId : std::false_type
{
};
template <typename M>
struct HasConnectionId<M, std::void_t<decltype(std::declval<const M &>().connectionId())>>
    : std::true_type
{
};
template <typename M> std::optional<long long> connectionIdOf(const M &model)
{
    if constexpr (HasConnectionId<M>::value)
        return static_cast<long long>(model.connectionId());
    else
        return std::nullopt;
}

std::string escaped(const std::string &text)
{
    std::string out;
    for (const char ch : text)
        out += ch == '\r' ? std::string("\\r") : std::string(1, ch);
    return out;
}

class Session
{
public:
    Session(std::uint32_t seed, SessionTrace trace);
    SessionRun run(std::int64_t hostileMs);

private:
    void report(char invariant, const std::string &text);
    void trace(const std::string &text)
    {
        if (m_trace)
            m_trace(std::to_string(m_clock.now()) + " " + text);
    }
    bool connected() const { return m_model.isConnected(); }
    bool settledAndConnected() const { return connected() && settled(m_w); }

    void afterEvent();
    void noteConnection();
    void commandSent(const std::string &line, std::int64_t atMs);
    void checkPollGap(std::int64_t atMs, bool pollNow);

    void step();
    void moveSlider();
    void pressStore();
    void undoOrRedo(bool redo);
    void load();
    void askToQuit();
    void disrupt();
    void silence();
    void loseLink();
    void powerCycle();
    void replaceDuringSilence();
    void plug(PluggedModule &module);
    PluggedModule &anotherModule();
    void drawLineFaults();
    void endQuietly();

    std::uint32_t m_seed;
    SessionTrace m_trace;
    Dice m_dice;
    VirtualClock m_clock;
    std::deque<PluggedModule> m_modules; // every module of the session; addresses stay
    PluggedModule *m_attached;           // on the far side of the cable; null: none or off
    PluggedModule *m_current;            // the module that belongs on the port
    TimedComm m_comm;
    WindowModel m_model{m_comm, m_clock};
    WindowState &m_w = m_model.state();
    SessionLedger m_ledger{
        [this](char invariant, const std::string &text) { report(invariant, text); }};
    SessionRun m_result;

    bool m_disrupted = false; // a silence, lost link or power cycle is under way
    std::string m_chunk;      // the module's chunk the program is handling, if any
    bool m_wasConnected = false;
    std::optional<long long> m_connectionId;
    std::int64_t m_lastPollMs = -1; // while connected
    bool m_gapTold = false;
    std::vector<ConfigChange> m_undo, m_redo;
    std::map<char, std::string> m_lastProblem; // traced once until another takes its place
};

Session::Session(std::uint32_t seed, SessionTrace traceSink)
    : m_seed(seed), m_trace(std::move(traceSink)), m_dice(seed),
      m_modules(1, PluggedModule(1, seed)), m_attached(&m_modules.front()), m_current(m_attached),
      m_comm(m_clock, m_attached->sim)
{
    m_comm.setListener([this](const std::string &line, std::int64_t at) { commandSent(line, at); });
    m_comm.setChunkListener([this](const std::string &chunk) {
        m_chunk = chunk;
        if (m_trace)
            trace("< " + escaped(chunk));
        m_ledger.heard(m_attached, chunk);
    });
    m_model.setChangeListener([this] { afterEvent(); });
    m_model.setMessageListener([this](const std::string &text) {
        trace("told: " + text);
        m_ledger.told(text);
    });
}

void Session::report(char invariant, const std::string &text)
{
    ++m_result.problemCount;
    std::string &last = m_lastProblem[invariant];
    if (m_trace && text != last)
        trace(std::string("PROBLEM (") + invariant + ") " + text);
    last = text;
    m_result.firstProblem.emplace(invariant, "seed " + std::to_string(m_seed) + " at " +
                                                 std::to_string(m_clock.now()) + " ms: (" +
                                                 invariant + ") " + text);
}

// After every event of the model: a connection may have begun, and every promise still holds.
void Session::afterEvent()
{
    noteConnection();
    m_ledger.checkReported(m_model, m_attached, connected());
    m_ledger.checkStoredClaim(m_model, m_attached, false);
    checkPollGap(m_clock.now(), false);
}

void Session::noteConnection()
{
    const bool now = connected();
    bool began = now && !m_wasConnected;
    if (const std::optional<long long> id = connectionIdOf(m_model)) {
        began = id != m_connectionId;
        m_connectionId = id;
    }
    if (now != m_wasConnected || began)
        trace(now ? "connected" : "not connected");
    m_wasConnected = now;
    if (began) {
        ++m_result.connections;
        m_ledger.connectionBegan(m_attached, m_comm.delivering() ? m_chunk : std::string());
    }
    // The standing poll is timed from the moment the connection has settled: the connected
    // module reported all seven values and the write-backs that follow the read-out are done.
    // The read-out and its write-backs ask for nothing else (some 8 s on a prompt module).
    const Heard *heard = m_ledger.heardFrom(m_attached);
    if (!now || !heard || !heard->everything())
        m_lastPollMs = -1;
    else if (m_lastPollMs < 0 && settled(m_w))
        m_lastPollMs = m_clock.now();
}

// The program's lines: standing polls are timed; what a module received of them is checked
// as the module logged it (a command cut short by a closing port reaches no module whole).
void Session::commandSent(const std::string &line, std::int64_t atMs)
{
    if (m_trace)
        trace("> " + line + (m_attached ? "" : " (nothing attached)"));
    if (line == "/p" || line == "/b")
        checkPollGap(atMs, true);
    if (!m_attached)
        return;
    sim::ModuleSim &module = m_attached->sim;
    for (const std::string &received : module.commandLog())
        if (received.size() >= 3 && received[0] == '/' &&
            std::isupper(static_cast<unsigned char>(received[1])))
            m_ledger.checkCommand(*m_attached, received);
    module.clearCommandLog();
}

void Session::checkPollGap(std::int64_t atMs, bool pollNow)
{
    if (!connected() || m_lastPollMs < 0)
        return;
    const std::int64_t gap = atMs - m_lastPollMs;
    m_result.longestPollGapMs = std::max(m_result.longestPollGapMs, gap);
    if (gap > kMaxPollGapMs && !m_gapTold) {
        m_gapTold = true;
        report('e', "no standing poll for " + std::to_string(gap) + " ms while connected");
    }
    if (pollNow) {
        m_lastPollMs = atMs;
        m_gapTold = false;
    }
}

void Session::step()
{
    const int pick = m_dice.between(0, 99);
    if (pick < 32)
        moveSlider();
    else if (pick < 43)
        pressStore();
    else if (pick < 50)
        undoOrRedo(false);
    else if (pick < 54)
        undoOrRedo(true);
    else if (pick < 61)
        load();
    else if (pick < 67)
        askToQuit();
    else if (pick < 69) {
        ++m_result.resets;
        trace("user presses RESET");
        m_model.Command5_Click();
    } else if (pick < 78) {
        drawBehaviour(m_dice, m_current->sim, kLetters[std::size_t(m_dice.between(0, 6))]);
    } else if (pick < 84) {
        drawLineFaults();
    } else if (!m_disrupted) {
        disrupt();
    }
}

void Session::moveSlider()
{
    std::vector<std::size_t> visible;
    for (std::size_t i = 0; i < kParameterCount; ++i)
        if ((m_w.*kParameters[i].slider).Visible)
            visible.push_back(i);
    if (visible.empty())
        return;
    const std::size_t i = visible[std::size_t(m_dice.between(0, int(visible.size()) - 1))];
    ScrollBar &slider = m_w.*kParameters[i].slider;
    const auto value = std::int16_t(m_dice.between(slider.Min(), slider.Max()));
    if (value == slider.Value())
        return;
    ++m_result.userMoves;
    trace(std::string("user moves ") + kParameters[i].name + " to " + std::to_string(value));
    m_undo.push_back(ConfigChange::sliderMove(i, slider.Value(), value));
    m_redo.clear();
    m_ledger.userChose(i, value, m_attached, connected());
    m_model.moveSlider(slider, value);
}

void Session::pressStore()
{
    ++m_result.storeClicks;
    trace("user presses STORE");
    m_ledger.storePressed(m_attached, connected());
    m_model.Command3_Click();
}

// As the view's undo stack does: each slider of the change moved back to its value before
// (or on to its value after) as the user would.
void Session::undoOrRedo(bool redo)
{
    std::vector<ConfigChange> &from = redo ? m_redo : m_undo;
    if (from.empty())
        return;
    const ConfigChange change = from.back();
    from.pop_back();
    ++(redo ? m_result.redos : m_result.undos);
    trace(std::string("user ") + (redo ? "redoes " : "undoes ") + change.text());
    for (const ConfigChange::Move &move : change.moves()) {
        const int value = redo ? move.after : move.before;
        if ((m_w.*kParameters[move.parameter].slider).Value() != value)
            m_ledger.userChose(move.parameter, value, m_attached, connected());
    }
    if (redo)
        change.redo(m_model);
    else
        change.undo(m_model);
    (redo ? m_undo : m_redo).push_back(change);
}

// A Load, offered once the module has reported everything: two to four values at once.
void Session::load()
{
    const std::optional<ConfigValues> module = reportedConfig(m_model);
    if (!connected() || !module)
        return;
    ConfigValues wanted = *module;
    for (int n = m_dice.between(2, 4); n > 0; --n) {
        const std::size_t i = std::size_t(m_dice.between(0, int(kParameterCount) - 1));
        wanted.values[i] = m_dice.between(minOf(kParameters[i]), maxOf(kParameters[i]));
    }
    ++m_result.loads;
    trace("user loads " + ConfigChange::fileLoad("a file", *module, wanted).text());
    for (std::size_t i = 0; i < kParameterCount; ++i)
        if (wanted.values[i] != module->values[i])
            m_ledger.userChose(i, wanted.values[i], m_attached, connected());
    moveSlidersTo(m_model, *module, wanted);
    m_undo.push_back(ConfigChange::fileLoad("Load", *module, wanted));
    m_redo.clear();
}

// The program quits without asking when nothing is unstored: that must be true.
void Session::askToQuit()
{
    ++m_result.quitQuestions;
    trace(std::string("user would quit: ") +
          (m_model.unstoredChanges().empty() ? "without asking" : "asked"));
    if (!m_model.unstoredChanges().empty())
        return;
    ++m_result.quitsWithoutAsking;
    m_ledger.checkStoredClaim(m_model, m_attached, true);
}

void Session::disrupt()
{
    m_disrupted = true;
    switch (m_dice.between(0, 3)) {
    case 0:
        return silence();
    case 1:
        return loseLink();
    case 2:
        return powerCycle();
    default:
        return replaceDuringSilence();
    }
}

// The module hears (and takes writes) but does not answer, shorter or longer than the answer
// timeout.
void Session::silence()
{
    ++m_result.silences;
    sim::ModuleSim &module = m_current->sim;
    const sim::Faults before = module.faults();
    sim::Faults silent = before;
    silent.silent = true;
    module.setFaults(silent);
    const int ms = m_dice.chance(0.5) ? m_dice.between(200, 2800) : m_dice.between(3200, 9000);
    trace("module " + std::to_string(m_current->number) + " silent for " + std::to_string(ms));
    m_clock.callAfter(ms, [this, &module, before] {
        trace("silence ends");
        module.setFaults(before);
        m_disrupted = false;
    });
}

// The adapter goes away with the port open and comes back later, with the same module behind
// it or another one.
void Session::loseLink()
{
    ++m_result.lostLinks;
    m_comm.presentPorts.clear();
    m_comm.hangUp("the adapter went away");
    const bool other = m_dice.chance(0.5);
    trace("the adapter went away");
    m_clock.callAfter(m_dice.between(300, 8000), [this, other] {
        trace("the adapter is back");
        if (other) {
            m_ledger.moduleLostPower(m_current);
            plug(anotherModule());
        }
        m_comm.presentPorts = {1};
        m_disrupted = false;
    });
}

// Switched off and on: back with its stored values, after less or more than the answer timeout.
void Session::powerCycle()
{
    ++m_result.powerCycles;
    m_ledger.moduleLostPower(m_current);
    m_attached = nullptr;
    m_comm.attach(nullptr);
    const int ms = m_dice.chance(0.5) ? m_dice.between(100, 2500) : m_dice.between(3200, 8000);
    trace("module " + std::to_string(m_current->number) + " off for " + std::to_string(ms));
    m_clock.callAfter(ms, [this] {
        plug(*m_current);
        m_disrupted = false;
    });
}

// The module is unplugged with the port open and, a while later, another one plugged in.
void Session::replaceDuringSilence()
{
    m_ledger.moduleLostPower(m_current);
    m_attached = nullptr;
    m_comm.attach(nullptr);
    trace("module " + std::to_string(m_current->number) + " unplugged");
    m_clock.callAfter(m_dice.between(3500, 9000), [this] {
        plug(anotherModule());
        m_disrupted = false;
    });
}

void Session::plug(PluggedModule &module)
{
    module.sim.powerCycle();
    m_attached = &module;
    m_current = &module;
    m_comm.attach(&module.sim);
    if (!m_trace)
        return;
    std::string values;
    for (const char letter : kLetters)
        values += std::string(" ") + letter + "=" + std::to_string(module.sim.parameter(letter));
    trace("module " + std::to_string(module.number) + " on, firmware " +
          std::to_string(module.sim.firmwareVersion()) + ":" + values);
}

// A module seen before, or a new one: its own stored values, maybe other firmware, maybe a
// letter it treats its own way.
PluggedModule &Session::anotherModule()
{
    ++m_result.otherModules;
    std::vector<PluggedModule *> others;
    for (PluggedModule &m : m_modules)
        if (&m != m_current)
            others.push_back(&m);
    if (!others.empty() && m_dice.chance(0.4))
        return *others[std::size_t(m_dice.between(0, int(others.size()) - 1))];
    const int number = int(m_modules.size()) + 1;
    PluggedModule &m = m_modules.emplace_back(number, m_seed * 7919u + std::uint32_t(number));
    for (const char letter : kLetters) {
        const sim::ParameterRange range = *sim::ModuleSim::parameterRange(letter);
        m.sim.setStoredParameter(letter, m_dice.between(range.min, range.max));
    }
    if (m_dice.chance(0.5))
        m.sim.setFirmwareVersion(m_dice.between(0x10, 0x40));
    if (m_dice.chance(0.3))
        drawBehaviour(m_dice, m.sim, kLetters[std::size_t(m_dice.between(0, 6))]);
    return m;
}

void Session::drawLineFaults()
{
    sim::Faults f;
    f.delayMs = m_dice.chance(0.5) ? m_dice.between(0, 900) : 0;
    f.jitterMs = m_dice.chance(0.3) ? m_dice.between(0, 900 - f.delayMs) : 0;
    f.dropRate = m_dice.chance(0.3) ? m_dice.between(5, 25) / 100.0 : 0.0;
    f.silent = m_current->sim.faults().silent; // a silence under way goes on
    m_current->sim.setFaults(f);
}

// The disruption under way ends, the module behaves, and the user presses RESET if the search
// has given up.
void Session::endQuietly()
{
    m_clock.runUntil([this] { return !m_disrupted; }, 20000);
    behaveWell(m_current->sim);
    m_current->sim.setFaults({});
    if (!m_clock.runUntil([this] { return settledAndConnected(); }, 15000)) {
        ++m_result.resets;
        m_model.Command5_Click();
    }
    if (!m_clock.runUntil([this] { return settledAndConnected(); }, 90000))
        report('f', "nothing settled within 90 s of the module behaving");
}

SessionRun Session::run(std::int64_t hostileMs)
{
    m_model.Form_Load();
    if (!m_clock.runUntil([this] { return settledAndConnected(); }, 30000)) {
        report('f', "the first connection did not settle");
        return m_result;
    }
    for (const char letter : kLetters)
        drawBehaviour(m_dice, m_current->sim, letter);
    drawLineFaults();
    // A quick user acts during silences and losses; a slow one lets each run its course.
    const int longestPause = m_dice.chance(0.5) ? 2500 : 9000;
    const std::int64_t end = m_clock.now() + hostileMs;
    while (m_clock.now() < end) {
        m_clock.advance(m_dice.between(10, longestPause));
        step();
    }
    endQuietly();
    m_ledger.checkFinal(m_model, *m_current);
    m_ledger.checkStoredClaim(m_model, m_attached, true);
    if (m_model.failureCount() != 0)
        report('x', "handler failure: " + m_model.lastFailure());
    m_result.refusals = m_ledger.refusals;
    m_result.givenUp = m_ledger.givenUp;
    m_result.writes = m_ledger.writes;
    m_result.stores = m_ledger.stores;
    return m_result;
}

} // namespace

std::vector<std::string> SessionRun::problems() const
{
    std::vector<std::string> out;
    for (const auto &[invariant, text] : firstProblem)
        out.push_back(text);
    return out;
}

void SessionRun::add(const SessionRun &r)
{
    userMoves += r.userMoves;
    storeClicks += r.storeClicks;
    undos += r.undos;
    redos += r.redos;
    loads += r.loads;
    quitQuestions += r.quitQuestions;
    quitsWithoutAsking += r.quitsWithoutAsking;
    resets += r.resets;
    silences += r.silences;
    lostLinks += r.lostLinks;
    powerCycles += r.powerCycles;
    otherModules += r.otherModules;
    connections += r.connections;
    refusals += r.refusals;
    givenUp += r.givenUp;
    writes += r.writes;
    stores += r.stores;
    longestPollGapMs = std::max(longestPollGapMs, r.longestPollGapMs);
}

SessionRun runSessionProperty(std::uint32_t seed, std::int64_t hostileMs, SessionTrace trace)
{
    Session session(seed, std::move(trace));
    return session.run(hostileMs);
}

} // namespace quelo::test
