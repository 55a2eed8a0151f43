// SPDX-License-Identifier: GPL-3.0-or-later
#include "session_property.h"

#include "config_change.h"
#include "config_transfer.h"
#include "conversation_property.h"
#include "property_support.h"
#include "session_bench.h"
#include "session_ledger.h"
#include "window_model.h"

#include <algorithm>
#include <cctype>
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
    // The module a choice is for: the one the program is connected to, also while it is off
    // for less than the answer timeout (the program cannot tell a short power cut from a pause).
    PluggedModule *chosenFor() { return m_bench.attached() ? m_bench.attached() : &m_bench.current(); }
    bool settledAndConnected() const { return connected() && settled(m_w); }

    void afterEvent();
    void noteConnection();
    void commandSent(const std::string &line, std::int64_t atMs);
    void checkPollGap(std::int64_t atMs, bool pollNow);

    void step();
    void moveSlider();
    void keepUndoStep(const ConfigChange &change);
    void pressStore();
    void undoOrRedo(bool redo);
    void load();
    void askToQuit();
    void endQuietly();

    std::uint32_t m_seed;
    SessionTrace m_trace;
    Dice m_dice;
    VirtualClock m_clock;
    SessionRun m_result;
    SessionLedger m_ledger{
        [this](char invariant, const std::string &text) { report(invariant, text); }};
    ModuleBench m_bench;
    TimedComm &m_comm = m_bench.comm();
    WindowModel m_model{m_comm, m_clock};
    WindowState &m_w = m_model.state();

    bool m_moving = false; // an undo, redo or Load is moving its sliders one by one
    std::string m_chunk;   // the module's chunk the program is handling, if any
    bool m_wasConnected = false;
    std::optional<long long> m_connectionId;
    std::int64_t m_lastPollMs = -1; // while connected
    bool m_gapTold = false;
    std::vector<ConfigChange> m_undo, m_redo;
    std::uint64_t m_undoConnection = 0; // the connection the undo steps were made in
    std::int64_t m_connectionBeganMs = 0;
    static constexpr std::int64_t kMsPerCharacter = 30;
    std::map<char, std::string> m_lastProblem; // traced once until another takes its place
};

Session::Session(std::uint32_t seed, SessionTrace traceSink)
    : m_seed(seed), m_trace(std::move(traceSink)), m_dice(seed),
      m_bench(seed, m_dice, m_clock, m_ledger, m_result,
              [this](const std::string &text) { trace(text); })
{
    m_comm.setListener([this](const std::string &line, std::int64_t at) { commandSent(line, at); });
    m_comm.setChunkListener([this](const std::string &chunk) {
        m_chunk = chunk;
        if (m_trace)
            trace("< " + escaped(chunk));
        m_ledger.heard(m_bench.attached(), chunk);
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
    m_ledger.checkReported(m_model, m_bench.attached(), connected());
    if (!m_moving) // the ledger already holds every move of the action; the model not yet
        m_ledger.checkStoredClaim(m_model, m_bench.attached(), false);
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
        m_connectionBeganMs = m_clock.now();
        ++m_result.connections;
        m_ledger.connectionBegan(m_bench.attached(), m_comm.delivering() ? m_chunk : std::string());
    }
    // The standing poll is timed from the moment the connection has settled: the connected
    // module reported all seven values and the write-backs that follow the read-out are done.
    // The read-out and its write-backs ask for nothing else (some 8 s on a prompt module).
    const Heard *heard = m_ledger.heardFrom(m_bench.attached());
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
        trace("> " + line + (m_bench.attached() ? "" : " (nothing attached)"));
    if (line == "/p" || line == "/b")
        checkPollGap(atMs, true);
    PluggedModule *to = m_bench.attached();
    if (!to)
        return;
    sim::ModuleSim &module = to->sim;
    // A command whose first character went out before this connection began (one character
    // per 30 ms pacing tick) is finished, never cut short: it belongs to the connection before.
    const bool begunBefore = atMs - kMsPerCharacter * std::int64_t(line.size()) < m_connectionBeganMs;
    for (const std::string &received : module.commandLog())
        if (received.size() >= 3 && received[0] == '/' &&
            std::isupper(static_cast<unsigned char>(received[1])) && !begunBefore)
            m_ledger.checkCommand(*to, received);
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
        drawBehaviour(m_dice, m_bench.current().sim, kLetters[std::size_t(m_dice.between(0, 6))]);
    } else if (pick < 84) {
        m_bench.drawLineFaults();
    } else if (!m_bench.disrupted()) {
        m_bench.disrupt();
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
    const ConfigChange change = ConfigChange::sliderMove(i, slider.Value(), value);
    const bool wasConnected = connected();
    m_model.moveSlider(slider, value);
    if (slider.Value() != value)
        return; // refused: no module connected and read; the program said so
    m_ledger.userChose(i, value, chosenFor(), wasConnected);
    keepUndoStep(change);
}

// As the view's undo stack: steps belong to the connection they were made in.
void Session::keepUndoStep(const ConfigChange &change)
{
    if (m_model.connectionId() != m_undoConnection) {
        m_undo.clear();
        m_redo.clear();
        m_undoConnection = m_model.connectionId();
    }
    m_undo.push_back(change);
    m_redo.clear();
}

void Session::pressStore()
{
    ++m_result.storeClicks;
    trace("user presses STORE");
    m_ledger.storePressed(chosenFor(), connected());
    m_model.Command3_Click();
}

// As the view's undo stack does: each slider of the change moved back to its value before
// (or on to its value after) as the user would.
void Session::undoOrRedo(bool redo)
{
    if (!connected() || m_model.connectionId() != m_undoConnection) {
        m_undo.clear(); // the view clears its steps whenever the module connects or goes
        m_redo.clear();
    }
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
            m_ledger.userChose(move.parameter, value, chosenFor(), connected());
    }
    m_moving = true;
    if (redo)
        change.redo(m_model);
    else
        change.undo(m_model);
    m_moving = false;
    afterEvent();
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
            m_ledger.userChose(i, wanted.values[i], chosenFor(), connected());
    m_moving = true;
    moveSlidersTo(m_model, *module, wanted);
    m_moving = false;
    afterEvent();
    keepUndoStep(ConfigChange::fileLoad("Load", *module, wanted));
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
    m_ledger.checkStoredClaim(m_model, m_bench.attached(), true);
}

// The disruption under way ends, the module behaves, and the user presses RESET if the search
// has given up.
void Session::endQuietly()
{
    m_clock.runUntil([this] { return !m_bench.disrupted(); }, 20000);
    m_bench.quieten();
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
        drawBehaviour(m_dice, m_bench.current().sim, letter);
    m_bench.drawLineFaults();
    // A quick user acts during silences and losses; a slow one lets each run its course.
    const int longestPause = m_dice.chance(0.5) ? 2500 : 9000;
    const std::int64_t end = m_clock.now() + hostileMs;
    while (m_clock.now() < end) {
        m_clock.advance(m_dice.between(10, longestPause));
        step();
    }
    endQuietly();
    m_ledger.checkFinal(m_model, m_bench.current());
    m_ledger.checkStoredClaim(m_model, m_bench.attached(), true);
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
