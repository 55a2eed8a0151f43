// SPDX-License-Identifier: GPL-3.0-or-later
#include "connection_watch.h"

#include "module_sim.h"
#include "parameters.h"

#include <cctype>

namespace quelo::soak {

namespace {

// The start values of the seven sliders, in table order: what a slider shows before its
// module reported it.
constexpr std::array<int, 7> kStartValues{0, 0, 0, 0, 0, 0, 14};

// A command whose first characters went out before a connection ended is finished on the
// line, at one character per 30 ms: the module's values are taken once that tail is through.
constexpr qint64 kTailMs = 250;

const std::string kNotSent = "not sent: ";
const std::string kList = "and not sent again: ";
const std::string kStoreNotSent = ". The store was not sent";

} // namespace

ConnectionWatch::ConnectionWatch(WindowModel &model, const sim::ModuleSim &module, Report problem)
    : m_model(model), m_w(model.state()), m_module(module), m_problem(std::move(problem))
{
}

void ConnectionWatch::modelChanged(qint64 nowMs)
{
    if (m_model.connectionId() != m_id)
        begin(nowMs, m_wasUp);
    m_wasUp = m_w.linkUp;
    checkUnreported();
}

// A new connection: nothing the user did before counts in it, and nothing of the one before
// may still be waiting to go out. Half a command already on the line is finished first.
void ConnectionWatch::begin(qint64 nowMs, bool wasUp)
{
    m_id = m_model.connectionId();
    ++m_connections;
    if (wasUp && m_w.linkUp)
        ++m_afterSilence;
    m_beganMs = nowMs;
    m_snapshotTaken = false;
    m_movedHere.fill(false);
    m_storedHere = false;
    m_frozenReported.fill(false);
    m_storeReported = false;

    std::string queued = m_w.txqueue.str();
    if (!queued.empty() && queued.front() != '/' && queued.front() != '%')
        queued.erase(0, queued.find('\r') == std::string::npos ? queued.size()
                                                               : queued.find('\r') + 1);
    for (std::size_t at = queued.find('/'); at != std::string::npos && at + 1 < queued.size();
         at = queued.find('/', at + 1)) {
        if (std::isupper(static_cast<unsigned char>(queued[at + 1])))
            m_problem("a new connection began with a write of the one before still queued: \"" +
                      queued.substr(at, queued.find('\r', at) - at) + "\"");
    }
}

// A slider the module has not reported in this connection is hidden at its start value, its
// value box empty.
void ConnectionWatch::checkUnreported()
{
    if (!m_w.linkUp || m_unreportedProblems >= 10)
        return;
    for (std::size_t i = 0; i < kParameters.size(); ++i) {
        const Parameter &p = kParameters[i];
        if (m_model.lastReported(p))
            continue;
        const ScrollBar &slider = m_w.*p.slider;
        const TextBox &box = m_w.*p.box;
        if (slider.Visible || slider.Value() != kStartValues[i] || !box.Text.empty()) {
            ++m_unreportedProblems;
            m_problem(std::string(p.name) + " not reported in connection " + std::to_string(m_id) +
                      " yet, but its slider is " + (slider.Visible ? "shown" : "hidden") + " at " +
                      std::to_string(slider.Value()) + " and its box shows \"" + box.Text + "\"");
        }
    }
}

// Within a connection the module's values change only by the user's moves in it, and its
// stored configuration only by the user's stores in it.
void ConnectionWatch::sample(qint64 nowMs)
{
    if (m_id == 0 || !m_w.linkUp)
        return;
    if (!m_snapshotTaken) {
        if (nowMs - m_beganMs < kTailMs)
            return;
        for (std::size_t i = 0; i < kParameters.size(); ++i)
            m_moduleAtStart[i] = m_module.parameter(kParameters[i].letter);
        m_storesAtStart = m_module.storeCount();
        m_snapshotTaken = true;
        return;
    }
    for (std::size_t i = 0; i < kParameters.size(); ++i) {
        const int now = m_module.parameter(kParameters[i].letter);
        if (m_movedHere[i] || m_frozenReported[i] || now == m_moduleAtStart[i])
            continue;
        m_frozenReported[i] = true;
        m_problem(std::string(kParameters[i].name) + " changed in the module from " +
                  std::to_string(m_moduleAtStart[i]) + " to " + std::to_string(now) +
                  " in connection " + std::to_string(m_id) + ", where the user never moved it");
    }
    if (!m_storedHere && !m_storeReported && m_module.storeCount() != m_storesAtStart) {
        m_storeReported = true;
        m_problem("the module stored its configuration in connection " + std::to_string(m_id) +
                  ", where the user never clicked STORE");
    }
}

void ConnectionWatch::userMoved(char letter)
{
    if (const Parameter *p = parameterByLetter(letter))
        m_movedHere[indexOf(*p)] = true;
}

bool ConnectionWatch::allReported() const
{
    if (!m_w.linkUp)
        return false;
    for (const Parameter &p : kParameters)
        if (m_module.letterBehaviour(p.letter).answerReads && !m_model.lastReported(p))
            return false;
    return true;
}

std::vector<char> ConnectionWatch::pendingUserChanges() const
{
    std::vector<char> out;
    for (const Parameter &p : kParameters)
        if (writePending(m_w.*p.slider) && m_w.traffic[indexOf(p)].userChange)
            out.push_back(p.letter);
    return out;
}

// "not sent: Not confirmed before WHY, and not sent again: A 1, B 2 and C 3[. The store was
// not sent: WHY]", or "not sent: The store was not sent: WHY".
std::vector<ConnectionWatch::Told> ConnectionWatch::notSent(const std::string &logLine) const
{
    std::vector<Told> told;
    if (logLine.rfind(kNotSent, 0) != 0)
        return told;
    const std::size_t from = logLine.find(kList);
    if (from == std::string::npos)
        return told;
    std::string list = logLine.substr(from + kList.size());
    list = list.substr(0, list.find(kStoreNotSent));
    std::size_t at = 0;
    while (at < list.size()) {
        const Parameter *named = nullptr;
        for (const Parameter &p : kParameters) {
            const std::string head = std::string(p.name) + " ";
            if (list.compare(at, head.size(), head) == 0)
                named = &p;
        }
        if (!named) {
            m_problem("a change not sent names no parameter: \"" + logLine + "\"");
            return told;
        }
        at += std::string(named->name).size() + 1;
        std::size_t end = std::min(list.find(", ", at), list.find(" and ", at));
        if (end == std::string::npos)
            end = list.size();
        told.emplace_back(named->letter, list.substr(at, end - at));
        at = end == list.size() ? end : list.find(' ', end + 1) + 1;
    }
    return told;
}

} // namespace quelo::soak
