// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler.h"

#include "convert.h"
#include "int16.h"
#include "parameters.h"

namespace quelo {

namespace {

constexpr int kReadSlots = 12;
constexpr const char *kPropellerPoll = "/p\r%/x\r%/w\r";
constexpr const char *kAdvancePoll = "/b\r%/x\r%/w\r";

// A slider's write is queued on every acting tick until its read-back settles it. Once a
// read-back has come back stale (it may have crossed the write on the wire), the write is
// retried at most once per standing poll, so a write the module never confirms cannot starve
// the poll: the gauges go on moving between retries.
bool writeDue(const ParameterTraffic &t)
{
    return !(t.paced && t.sentSincePoll);
}

// Notes the write of the slider's value that this tick leaves queued; a new value starts a
// new history, so its first read-back round runs at full rate again.
void noteWrite(ParameterTraffic &t, std::int16_t value)
{
    if (!t.writeQueued || t.writtenValue != value) {
        t.writtenValue = value;
        t.echoed = false;
        t.staleRounds = 0;
        t.paced = false;
    }
    t.writeQueued = true;
    t.sentSincePoll = true;
}

} // namespace

CommandScheduler::CommandScheduler(WindowState &w)
    : m_own(w), m_tx(w), m_rows(w), m_reply(w), m_needles(w)
{
}

// Slot 1 asks for the firmware version, 6 and 7 for the bus voltage and the engine speed until
// the first are decoded, and the parameters' slots for their values; 4 and 5 ask for nothing.
CommandScheduler::ReadSlot CommandScheduler::readSlot(int slot) const
{
    switch (slot) {
    case 1:
        return {&m_reply.revdata.Tag, "/u\r"};
    case 6:
        return {&m_needles.voltsdial.Tag, "/w\r"};
    case 7:
        return {&m_needles.rpmdial.Tag, "/x\r"};
    default:
        break;
    }
    for (const Parameter &p : kParameters)
        if (p.readSlot == slot)
            return {&(m_rows.*p.box).Tag, std::string("/") + p.letter + "\r"};
    return {nullptr, {}};
}

// Every pending slider's value box loses its reported flag; the last one in table order is the
// write left in the queue.
const Parameter *CommandScheduler::writePass()
{
    const Parameter *written = nullptr;
    for (const Parameter &p : kParameters) {
        const ScrollBar &slider = m_rows.*p.slider;
        if (writePending(slider) && writeDue(m_rows.traffic[indexOf(p)])) {
            m_tx.txqueue = std::string("/") + p.writeLetter + decimalInteger(slider.Value()) + "\r";
            (m_rows.*p.box).Tag = "0";
            written = &p;
        }
    }
    return written;
}

void CommandScheduler::Timer1_Timer()
{
    if (!m_tx.txqueue.empty())
        return;

    const Parameter *written = writePass();

    m_own.readslot = toInt16(m_own.readslot + 1);
    if (m_own.readslot > kReadSlots)
        m_own.readslot = 1;

    // A read-back due in this tick replaces the write.
    if (const ReadSlot slot = readSlot(m_own.readslot); slot.flag && tagIs(*slot.flag, 0)) {
        m_tx.txqueue = slot.command;
        written = nullptr;
        if (const Parameter *p = parameterByLetter(slot.command[1]))
            m_rows.traffic[indexOf(*p)].readOutstanding = true;
    }
    if (written)
        noteWrite(m_rows.traffic[indexOf(*written)], (m_rows.*written->slider).Value());

    if (m_tx.txqueue.empty())
        queueStandingPoll();
}

// The engine running asks for the advance, stopped for the propeller; the propeller gauge is
// shown while it is asked for.
void CommandScheduler::queueStandingPoll()
{
    for (ParameterTraffic &t : m_rows.traffic)
        t.sentSincePoll = false;
    m_own.propellerPoll = m_reply.rpmtarget < kRunningRpm;
    m_tx.txqueue = m_own.propellerPoll ? kPropellerPoll : kAdvancePoll;
}

} // namespace quelo
