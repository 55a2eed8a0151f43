// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversation_property.h"

#include "parameters.h"
#include "property_support.h"
#include "window_model.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>

namespace quelo::test {

namespace {

// Writes of one change the scheduler allows, and one more that may already be on its way.
constexpr int kWritesOfOneChange = 24 + 1;

class Property
{
public:
    explicit Property(std::uint32_t seed) : m_seed(seed), m_dice(seed), m_module(seed)
    {
        m_model.linkLog().setSink([this](const std::string &text) { logged(text); });
        m_comm.setListener(
            [this](const std::string &line, std::int64_t at) { commandSent(line, at); });
        m_model.setChangeListener([this] { checkStoreButton(); });
    }

    PropertyRun run(std::int64_t hostileMs);

private:
    int between(int lo, int hi) { return m_dice.between(lo, hi); }
    bool chance(double p) { return m_dice.chance(p); }
    void problem(const std::string &text);

    void logged(const std::string &text);
    void commandSent(const std::string &line, std::int64_t atMs);
    void checkWrite(const std::string &line);
    void checkStoreButton();

    void drawBehaviour(char letter);
    void drawLineFaults();
    void userAction();
    void moveSlider();
    void finalCheck();

    std::uint32_t m_seed;
    Dice m_dice;
    VirtualClock m_clock;
    sim::ModuleSim m_module;
    TimedComm m_comm{m_clock, m_module};
    WindowModel m_model{m_comm, m_clock};
    WindowState &m_w = m_model.state();
    PropertyRun m_result;

    bool m_userBegan = false; // writes before this are the connection's write-backs
    bool m_hostile = false;
    std::int64_t m_lastPollMs = -1;
    std::array<std::set<int>, 7> m_chosen;  // every value the user chose, per parameter
    std::array<int, 7> m_writesSinceMove{}; // writes on the wire since the user's last move
    std::uint64_t m_connection = 0;         // the connection they were counted in
    std::array<bool, 7> m_moved{};
    std::array<bool, 7> m_toldSinceMove{};  // refused or given up since the last move
    std::array<std::int16_t, 7> m_latest{}; // the user's latest value
};

void Property::problem(const std::string &text)
{
    if (m_result.problems.size() < 20)
        m_result.problems.push_back("seed " + std::to_string(m_seed) + " at " +
                                    std::to_string(m_clock.now()) + " ms: " + text);
}

// Refusals and values given up name the parameter: "refused: The module kept <NAME> at ...",
// "unconfirmed: The module did not confirm <NAME> <value>", and changes dropped when the module
// fell silent (it may be another module when it answers again) "not sent: ...: <NAME> <value>
// and <NAME> <value>".
void Property::logged(const std::string &text)
{
    const bool refused = text.rfind("refused: ", 0) == 0;
    const bool unconfirmed = text.rfind("unconfirmed: ", 0) == 0;
    const bool notSent = text.rfind("not sent: ", 0) == 0;
    if (!refused && !unconfirmed && !notSent)
        return;
    bool named = false;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const std::string name = kParameters[i].name;
        if (text.find(" " + name + " ") == std::string::npos)
            continue;
        m_toldSinceMove[i] = true;
        named = true;
        if (!notSent) {
            ++(refused ? m_result.refusals : m_result.unconfirmed);
            return;
        }
    }
    if (!named && text.find("The store was not sent") == std::string::npos)
        problem("a message names no parameter: " + text);
}

void Property::commandSent(const std::string &line, std::int64_t atMs)
{
    // A connection's read-backs (at launch, or after a silence, when whatever answers may be
    // another module) hold the poll back as they always have: the gap is measured once every
    // value has been reported in this connection.
    for (const Parameter &p : kParameters)
        if (!m_model.lastReported(p))
            m_lastPollMs = -1;
    // A change belongs to its connection: a new one writes back the module's own values.
    if (m_model.connectionId() != m_connection) {
        m_connection = m_model.connectionId();
        m_writesSinceMove.fill(0);
    }
    if (line == "/p" || line == "/b") {
        if (m_hostile && m_lastPollMs >= 0)
            m_result.longestPollGapMs = std::max(m_result.longestPollGapMs, atMs - m_lastPollMs);
        if (m_hostile && m_lastPollMs >= 0 && atMs - m_lastPollMs > kMaxPollGapMs)
            problem("no standing poll for " + std::to_string(atMs - m_lastPollMs) + " ms");
        m_lastPollMs = atMs;
        return;
    }
    if (line == "/W" || line.rfind("/W", 0) == 0) {
        ++m_result.stores;
        return;
    }
    if (line.size() >= 3 && line[0] == '/' && std::isupper(static_cast<unsigned char>(line[1])))
        checkWrite(line);
}

// Before the user's first action the only writes are the connection's write-backs of the
// values the module reported; after it, only values the user chose, each change a bounded
// number of times.
void Property::checkWrite(const std::string &line)
{
    const Parameter *p = parameterByWriteLetter(line[1]);
    if (!p)
        return problem("a write of no parameter: " + line);
    const std::size_t i = indexOf(*p);
    const int value = std::stoi(line.substr(2));
    if (!m_userBegan) {
        const char letter = p->letter;
        if (std::string_view("dnm").find(letter) == std::string_view::npos ||
            value != m_module.parameter(letter))
            problem("the connection wrote " + line + ", not a value the module reported");
        return;
    }
    // A refused "d", "n" or "m" moves its slider to the module's value, which is written back
    // once: the value the module holds, so the write changes nothing.
    const bool writeBack = std::string_view("dnm").find(p->letter) != std::string_view::npos &&
                           value == m_module.parameter(p->letter) &&
                           !(m_moved[i] && value == m_latest[i]);
    if (writeBack)
        return;
    ++m_result.writes;
    if (!m_chosen[i].count(value))
        problem("wrote " + line + ", a value the user never chose");
    const int writes = ++m_writesSinceMove[i];
    m_result.mostWritesOfOneChange = std::max(m_result.mostWritesOfOneChange, writes);
    if (writes == kWritesOfOneChange + 1)
        problem(std::to_string(writes) + " writes of " + p->name + " for one change");
}

// Dark grey says the module's stored configuration holds what the window shows for every
// parameter the user changed; nothing of the user's may still be on its way.
void Property::checkStoreButton()
{
    if (m_w.Command3.BackColor != kDarkGrey)
        return;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        const ScrollBar &slider = m_w.*p.slider;
        // A hidden slider shows nothing: a new connection has not read it yet.
        if (!m_moved[i] || !p.turnsStoreGreen || !slider.Visible)
            continue;
        const int stored = m_module.storedParameter(p.letter);
        if (stored != slider.Value() || writePending(slider) || m_model.unconfirmed(p))
            problem(std::string("dark grey while ") + p.name + " shows " +
                    std::to_string(slider.Value()) + ", flag " + slider.Tag + ", stored " +
                    std::to_string(stored));
    }
}

void Property::drawBehaviour(char letter)
{
    quelo::test::drawBehaviour(m_dice, m_module, letter);
    ++m_result.behaviourChanges;
}

void Property::drawLineFaults()
{
    sim::Faults f;
    if (chance(0.1)) {
        f.silent = true; // a short silence
    } else {
        f.delayMs = chance(0.5) ? between(0, 900) : 0;
        f.jitterMs = chance(0.3) ? between(0, 900 - f.delayMs) : 0;
        f.dropRate = chance(0.3) ? between(5, 25) / 100.0 : 0.0;
    }
    m_module.setFaults(f);
    m_module.setUnaskedLines(chance(0.4) ? between(300, 3000) : 0);
}

void Property::moveSlider()
{
    std::vector<std::size_t> visible;
    for (std::size_t i = 0; i < kParameterCount; ++i)
        if ((m_w.*kParameters[i].slider).Visible)
            visible.push_back(i);
    if (visible.empty())
        return;
    const std::size_t i = visible[std::size_t(between(0, int(visible.size()) - 1))];
    ScrollBar &slider = m_w.*kParameters[i].slider;
    const auto value = std::int16_t(between(slider.Min(), slider.Max()));
    const bool differs = value != slider.Value();
    m_model.moveSlider(slider, value);
    if (slider.Value() != value)
        return; // refused while the module is silent: nothing changed, and the user was told
    m_userBegan = true;
    m_chosen[i].insert(value);
    if (differs) {
        m_writesSinceMove[i] = 0;
        m_toldSinceMove[i] = false;
        m_moved[i] = true;
        m_latest[i] = value;
    }
    ++m_result.userMoves;
}

void Property::userAction()
{
    const int pick = between(0, 99);
    if (pick < 60) {
        moveSlider();
    } else if (pick < 80) {
        m_userBegan = true;
        ++m_result.storeClicks;
        m_model.Command3_Click();
    } else if (pick < 90) {
        drawBehaviour(kLetters[std::size_t(between(0, 6))]);
    } else {
        drawLineFaults();
    }
}

// On a well-behaved module everything settles: every slider shows what the module holds, and
// each change of the user's reached the module or the user was told.
void Property::finalCheck()
{
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        const ScrollBar &slider = m_w.*p.slider;
        const int inModule = m_module.parameter(p.letter);
        if (inModule != slider.Value())
            problem(std::string(p.name) + ": slider " + std::to_string(slider.Value()) +
                    ", module " + std::to_string(inModule));
        if (m_moved[i] && inModule != m_latest[i] && !m_toldSinceMove[i])
            problem(std::string(p.name) + ": the user chose " + std::to_string(m_latest[i]) +
                    ", the module holds " + std::to_string(inModule) + ", nobody was told");
        if (m_model.unconfirmed(p))
            problem(std::string(p.name) + " still unconfirmed on a well-behaved module");
    }
    if (m_model.failureCount() != 0)
        problem("handler failure: " + m_model.lastFailure());
}

PropertyRun Property::run(std::int64_t hostileMs)
{
    m_model.Form_Load();
    if (!m_clock.runUntil([this] { return settled(m_w); }, 30000)) {
        problem("the connection did not settle");
        return m_result;
    }
    m_hostile = true;
    m_lastPollMs = m_clock.now();
    for (const char letter : kLetters)
        drawBehaviour(letter);
    drawLineFaults();
    // A quick user supersedes changes; a slow one leaves each to run its full course.
    const int longestPause = chance(0.5) ? 2500 : 9000;
    const std::int64_t end = m_clock.now() + hostileMs;
    while (m_clock.now() < end) {
        m_clock.advance(between(10, longestPause));
        userAction();
    }
    m_clock.advance(between(0, 1500));
    const std::int64_t quietFrom = m_clock.now();
    if (m_lastPollMs >= 0 && quietFrom - m_lastPollMs > kMaxPollGapMs)
        problem("no standing poll for " + std::to_string(quietFrom - m_lastPollMs) + " ms");
    m_hostile = false;

    behaveWell(m_module);
    m_module.setFaults({});
    m_module.setUnaskedLines(0);
    if (!m_clock.runUntil([this] { return settled(m_w); }, 90000))
        problem("nothing settled within 90 s of the module behaving");
    finalCheck();
    return m_result;
}

} // namespace

PropertyRun runConversationProperty(std::uint32_t seed, std::int64_t hostileMs)
{
    Property property(seed);
    return property.run(hostileMs);
}

} // namespace quelo::test
