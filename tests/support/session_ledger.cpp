// SPDX-License-Identifier: GPL-3.0-or-later
#include "session_ledger.h"

#include "config_transfer.h"
#include "property_support.h"
#include "window_model.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace quelo::test {

namespace {

constexpr std::string_view kWriteBackLetters = "dnm"; // read-backs the program writes back once

std::optional<long long> hexField(const std::string &line)
{
    if (line.size() != 3 || !std::isxdigit(static_cast<unsigned char>(line[1])) ||
        !std::isxdigit(static_cast<unsigned char>(line[2])))
        return std::nullopt;
    return std::strtol(line.c_str() + 1, nullptr, 16);
}

// The lines of a chunk, without their terminators.
template <typename Fn> void eachLine(const std::string &chunk, Fn &&fn)
{
    std::string line;
    for (const char ch : chunk) {
        if (ch != '\r' && ch != '\n') {
            line.push_back(ch);
        } else if (!line.empty()) {
            fn(line);
            line.clear();
        }
    }
}

std::string number(const PluggedModule &m)
{
    return "module " + std::to_string(m.number);
}

std::string text(const std::optional<long long> &v)
{
    return v ? std::to_string(*v) : std::string("none");
}

} // namespace

bool Heard::everything() const
{
    return std::none_of(values.begin(), values.end(), [](const auto &v) { return v.empty(); });
}

// A change made while no module was connected is meant for the next one that connects.
void SessionLedger::connectionBegan(const PluggedModule *attached, const std::string &chunk)
{
    m_heard.clear();
    m_unnoticedCut = false;
    for (auto &c : m_changes)
        if (c && !c->owner)
            c->owner = attached;
    if (attached)
        eachLine(chunk, [&](const std::string &line) { record(attached, line); });
}

// A read-back of a value given up settles it: the module took it, or kept another.
void SessionLedger::heard(const PluggedModule *from, const std::string &chunk)
{
    eachLine(chunk, [&](const std::string &line) {
        record(from, line);
        const std::size_t i = kLetters.find(line[0]);
        const auto k = hexField(line);
        if (i == std::string_view::npos || !k || !m_changes[i] || !m_changes[i]->inDoubt)
            return;
        UserChange &c = *m_changes[i];
        if (c.owner && c.owner != from)
            return;
        c.inDoubt = false;
        c.told = m_heard[from].last[i] != c.value;
    });
}

// A read-back "d05"; the module reports a negative shift s as 255 + s. A version "u1A".
void SessionLedger::record(const PluggedModule *from, const std::string &line)
{
    const auto k = hexField(line);
    if (!k)
        return;
    Heard &h = m_heard[from];
    if (line[0] == 'u') {
        h.firmware = std::to_string(*k);
        return;
    }
    const std::size_t i = kLetters.find(line[0]);
    if (i == std::string_view::npos)
        return;
    const long long value = line[0] == 'c' && *k >= 128 ? *k - 255 : *k;
    h.values[i].insert(value);
    h.last[i] = value;
}

const Heard *SessionLedger::heardFrom(const PluggedModule *module) const
{
    const auto it = m_heard.find(module);
    return it == m_heard.end() ? nullptr : &it->second;
}

void SessionLedger::userChose(std::size_t i, int value, PluggedModule *attached, bool connected)
{
    if (connected && attached) {
        const Heard *h = heardFrom(attached);
        if (h && h->everything())
            attached->chosen[i].insert(value);
    }
    m_changes[i] = UserChange{value, connected ? attached : nullptr, false, false};
}

void SessionLedger::storePressed(PluggedModule *attached, bool connected)
{
    if (connected && attached)
        ++attached->storesPressed;
}

// "The module kept <NAME> at ...", "The module did not confirm <NAME> <value>", and a change
// the program says it did not send ("... not sent ...") name each parameter they concern.
void SessionLedger::told(const std::string &message)
{
    const bool refused = message.find(" kept ") != std::string::npos;
    const bool givenUpNow = message.find("did not confirm") != std::string::npos;
    const bool notSentNow = message.find("not sent") != std::string::npos;
    if (!refused && !givenUpNow && !notSentNow)
        return;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        if (message.find(kParameters[i].name) == std::string::npos)
            continue;
        ++(refused ? refusals : givenUpNow ? givenUp : notSent);
        if (m_changes[i]) {
            m_changes[i]->told = true;
            m_changes[i]->inDoubt = givenUpNow && !refused;
        }
    }
}

void SessionLedger::moduleLostPower(const PluggedModule *module)
{
    for (auto &c : m_changes)
        if (c && c->owner == module)
            c.reset();
}

void SessionLedger::checkReported(const WindowModel &model, const PluggedModule *attached,
                                  bool connected)
{
    if (!attached)
        return; // nothing on the far side: the program cannot know yet
    if (connected)
        checkReportedValues(model, *attached);
    checkReportedConfig(model, *attached);
}

void SessionLedger::checkReportedValues(const WindowModel &model, const PluggedModule &attached)
{
    const Heard *h = heardFrom(&attached);
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        const std::optional<long long> last = model.lastReported(p);
        const bool flagged = reported(model.state().*p.box);
        if (!last && !flagged)
            continue;
        if (!h || h->values[i].empty())
            return m_report('a', std::string(p.name) + " counts as reported (last reported " +
                                     text(last) + (flagged ? ", value box flagged" : "") +
                                     "), but " + number(attached) +
                                     " sent no read-back of it since it connected");
        if (last && !h->values[i].count(*last))
            return m_report('a', std::string(p.name) + " last reported " + text(last) + ", but " +
                                     number(attached) + " sent only " + describe(h->values[i]) +
                                     " since it connected");
    }
}

// A restore point, a save and a comparison all take reportedConfig: while there is one, it is
// the module's own, as reported since the connection began (or, while the link is down, since
// the last one began).
void SessionLedger::checkReportedConfig(const WindowModel &model, const PluggedModule &attached)
{
    const std::optional<ConfigValues> config = reportedConfig(model);
    if (!config)
        return;
    const Heard *h = heardFrom(&attached);
    if (!h || h->firmware != config->firmware)
        return m_report('b', "the reported configuration names firmware " + config->firmware +
                                 "; " + number(attached) + " sent " +
                                 (h && h->firmware ? *h->firmware : std::string("none")) +
                                 " since the connection began");
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        if (h->values[i].count(config->values[i]))
            continue;
        return m_report('b', std::string("the reported configuration holds ") +
                                 kParameters[i].name + " " + std::to_string(config->values[i]) +
                                 "; " + number(attached) + " sent " + describe(h->values[i]) +
                                 " since the connection began");
    }
}

// Every write is a value the user chose while the module was connected and had reported
// everything, or the module's own last read-back written back; every store follows a press
// of STORE while that module was connected.
void SessionLedger::checkCommand(PluggedModule &to, const std::string &line)
{
    char *end = nullptr;
    const long value = std::strtol(line.c_str() + 2, &end, 10);
    if (end == line.c_str() + 2 || *end != '\0')
        return; // a command cut short by a failing port, run into the next: nothing is taken
    if (line[1] == 'W') {
        ++stores;
        if (to.storesPressed > 0)
            --to.storesPressed;
        else
            m_report('c', "the store " + line + " reached " + number(to) +
                              ", which was not connected when STORE was pressed");
        return;
    }
    const Parameter *p = parameterByWriteLetter(line[1]);
    if (!p)
        return m_report('c', number(to) + " received " + line + ", a write of nothing known");
    ++writes;
    const std::size_t i = indexOf(*p);
    if (to.chosen[i].count(int(value)))
        return;
    const Heard *h = heardFrom(&to);
    const std::optional<long long> own = h ? h->last[i] : std::nullopt;
    if (kWriteBackLetters.find(p->letter) != std::string_view::npos && own == value)
        return;
    m_report('c', number(to) + " received " + line + ": the user did not choose " +
                      std::to_string(value) + " while it was connected and fully read, and " +
                      "it last reported " + text(own) + " since the connection began");
}

void SessionLedger::checkStoredClaim(const WindowModel &model, const PluggedModule *attached,
                                     bool quitting)
{
    const std::vector<const Parameter *> unstored = model.unstoredChanges();
    const bool darkGrey = model.state().Command3.BackColor == kDarkGrey;
    const bool claim = unstored.empty() && (quitting || darkGrey);
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        if (!m_changes[i] || !p.turnsStoreGreen)
            continue;
        const UserChange &c = *m_changes[i];
        if (c.inDoubt) {
            if (std::find(unstored.begin(), unstored.end(), &p) == unstored.end())
                m_report('d', std::string(p.name) + " " + std::to_string(c.value) +
                                  " was given up unconfirmed and is not read back since, yet it "
                                  "is not among the unstored changes");
            continue;
        }
        const PluggedModule *owner = c.owner ? c.owner : attached;
        if (!claim || c.told || !owner)
            continue;
        const int stored = owner->sim.storedParameter(p.letter);
        if (stored != c.value)
            m_report('d', std::string(quitting ? "quit would not ask"
                                               : "dark grey and nothing "
                                                 "unstored") +
                              " while the user's " + p.name + " " + std::to_string(c.value) +
                              " is not in " + number(*owner) + "'s stored configuration (" +
                              std::to_string(stored) + ") and the user was not told");
    }
}

void SessionLedger::checkFinal(const WindowModel &model, const PluggedModule &attached)
{
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        const int slider = (model.state().*p.slider).Value();
        const int inModule = attached.sim.parameter(p.letter);
        const std::optional<UserChange> &c = m_changes[i];
        const bool mine = c && (!c->owner || c->owner == &attached);
        const bool told = mine && c->told;
        if (slider != inModule && !told && !m_unnoticedCut)
            m_report('f', std::string(p.name) + ": the slider shows " + std::to_string(slider) +
                              ", " + number(attached) + " holds " + std::to_string(inModule) +
                              ", and the user was not told");
        else if (mine && inModule != c->value && !told)
            m_report('f', std::string(p.name) + ": the user chose " + std::to_string(c->value) +
                              ", " + number(attached) + " holds " + std::to_string(inModule) +
                              ", and the user was not told");
        if (model.unconfirmed(p))
            m_report('f', std::string(p.name) + " still unconfirmed on a well-behaved module");
    }
}

std::string SessionLedger::describe(const std::set<long long> &values) const
{
    if (values.empty())
        return "nothing";
    std::string out;
    for (const long long v : values)
        out += (out.empty() ? "" : ", ") + std::to_string(v);
    return out;
}

} // namespace quelo::test
