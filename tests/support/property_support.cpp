// SPDX-License-Identifier: GPL-3.0-or-later
#include "property_support.h"

#include "parameters.h"
#include "window_state.h"

namespace quelo::test {

void TimedComm::onOutput(const std::string &text)
{
    SimComm::onOutput(text);
    for (const char ch : text) {
        if (ch != '\r') {
            m_line.push_back(ch);
            continue;
        }
        if (m_listener)
            m_listener(m_line, m_clock.now());
        m_line.clear();
    }
}

void TimedComm::fromModule(const std::string &text)
{
    if (m_chunkListener)
        m_chunkListener(text);
    m_delivering = true;
    deliver(text);
    m_delivering = false;
}

void drawBehaviour(Dice &dice, sim::ModuleSim &module, char letter)
{
    sim::LetterBehaviour b;
    sim::ParameterRange range = *sim::ModuleSim::parameterRange(letter);
    switch (dice.between(0, 7)) {
    case 0: // refuses part of the range, echoing and keeping its value
    case 1: // clamps part of the range
        b.outOfRange = dice.between(0, 1) == 0 ? sim::OutOfRangePolicy::EchoKeepOld
                                               : sim::OutOfRangePolicy::EchoClamp;
        range = {dice.between(range.min, (range.min + range.max) / 2),
                 dice.between((range.min + range.max) / 2, range.max)};
        break;
    case 2:
        b.answerReads = false; // echo without read-back
        break;
    case 3:
        b.echoWrites = false; // read-back without echo
        break;
    case 4: // silent: neither echo nor read-back; takes the value or not
        b.echoWrites = false;
        b.answerReads = false;
        b.applyWrites = dice.chance(0.5);
        break;
    case 5: // ignores a write outside part of the range, without echo
        b.outOfRange = sim::OutOfRangePolicy::Ignore;
        range = {range.min, dice.between(range.min, range.max)};
        break;
    default:
        break; // well-behaved
    }
    module.setLetterBehaviour(letter, b);
    module.setAcceptedRange(letter, range);
}

void behaveWell(sim::ModuleSim &module)
{
    for (const char letter : kLetters) {
        module.setLetterBehaviour(letter, {});
        module.setAcceptedRange(letter, *sim::ModuleSim::parameterRange(letter));
    }
}

std::optional<std::size_t> parameterNamedIn(const std::string &text)
{
    for (std::size_t i = 0; i < kParameterCount; ++i)
        if (text.find(std::string(" ") + kParameters[i].name + " ") != std::string::npos)
            return i;
    return std::nullopt;
}

bool settled(const WindowState &w)
{
    for (const Parameter &p : kParameters)
        if ((w.*p.slider).Tag != "0" || (w.*p.box).Tag != "1")
            return false;
    return !w.store.waiting;
}

} // namespace quelo::test
