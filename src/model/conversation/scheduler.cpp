// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler.h"

#include "convert.h"
#include "int16.h"
#include "parameters.h"
#include "store_progress.h"

#include <algorithm>

namespace quelo {

namespace {

constexpr int kReadSlots = 12;
constexpr const char *kPropellerPoll = "/p\r%/x\r%/w\r";
constexpr const char *kAdvancePoll = "/b\r%/x\r%/w\r";

// The write of this value has a history: it has been queued since its last settling.
bool writing(const ParameterTraffic &t, std::int16_t value)
{
    return t.writeQueued && t.writtenValue == value;
}

// A slider's write is queued on every acting tick until a read-back of it has been queued;
// from then on at most once per standing poll, so a write the module does not confirm cannot
// starve the poll; after kWriteRounds read-backs no more. A value's read slot comes round every
// kReadSlots acting ticks whatever the module answers, so the rounds, and with them the writes,
// end within a few dozen ticks. A new value starts afresh.
bool writeDue(const ParameterTraffic &t, std::int16_t value)
{
    if (!writing(t, value))
        return true;
    if (t.readRounds >= CommandScheduler::kWriteRounds)
        return false;
    return !(t.readRounds > 0 && t.sentSincePoll);
}

// Notes the write of the slider's value that this tick leaves queued.
void noteWrite(ParameterTraffic &t, std::int16_t value)
{
    if (!writing(t, value)) {
        t.writtenValue = value;
        t.echoed = false;
        t.staleRounds = 0;
        t.readRounds = 0;
    }
    t.writeQueued = true;
    t.writtenSinceRead = true;
    t.sentSincePoll = true;
}

} // namespace

CommandScheduler::CommandScheduler(WindowState &w, Notice unconfirmed)
    : m_own(w), m_link(w), m_tx(w), m_rows(w), m_reply(w), m_needles(w),
      m_unconfirmed(std::move(unconfirmed))
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
        if (writePending(slider) && writeDue(m_rows.traffic[indexOf(p)], slider.Value())) {
            m_tx.txqueue = std::string("/") + p.writeLetter + decimalInteger(slider.Value()) + "\r";
            (m_rows.*p.box).Tag = "0";
            written = &p;
        }
    }
    return written;
}

void CommandScheduler::Timer1_Timer()
{
    ++m_own.ticks;
    if (m_tx.pollDropped) {
        // The store took the queue before the poll began: the poll before it was the last.
        m_tx.pollDropped = false;
        m_own.lastPollTick = m_previousPollTick;
    }
    if (!m_tx.txqueue.empty())
        return;

    giveUpUnconfirmed();
    if (pollOverdue())
        return queueStandingPoll();
    if (m_rows.store.waiting && m_link.linkUp && allReadInConnection(m_rows) &&
        !anyWritePending(m_rows))
        return queueWaitingStore();

    // Nothing is written to a port until a module has answered the probe on it.
    const Parameter *written = m_link.linkUp ? writePass() : nullptr;

    m_own.readslot = toInt16(m_own.readslot + 1);
    if (m_own.readslot > kReadSlots)
        m_own.readslot = 1;

    // A read-back due in this tick replaces the write.
    if (const ReadSlot slot = readSlot(m_own.readslot); slot.flag && tagIs(*slot.flag, 0)) {
        m_tx.txqueue = slot.command;
        written = nullptr;
        if (const Parameter *p = parameterByLetter(slot.command[1]))
            noteRead(*p);
    }
    if (written)
        noteWrite(m_rows.traffic[indexOf(*written)], (m_rows.*written->slider).Value());

    if (m_tx.txqueue.empty())
        queueStandingPoll();
}

// A read-back queued while a value is being written is one more round for that value.
void CommandScheduler::noteRead(const Parameter &p)
{
    ParameterTraffic &t = m_rows.traffic[indexOf(p)];
    t.readOutstanding = true;
    t.writtenSinceRead = false;
    if (writing(t, (m_rows.*p.slider).Value())) {
        ++t.readRounds;
        t.lastReadTick = m_own.ticks;
    }
}

// A value written for kWriteRounds read-back rounds and not confirmed within kAnswerTicks of
// the last is given up: no more writes, the slider keeps the value marked unconfirmed, and its
// read slot goes on asking, so a later read-back settles it as usual.
void CommandScheduler::giveUpUnconfirmed()
{
    for (const Parameter &p : kParameters) {
        ScrollBar &slider = m_rows.*p.slider;
        ParameterTraffic &t = m_rows.traffic[indexOf(p)];
        if (!writePending(slider) || !writing(t, slider.Value()) || t.readRounds < kWriteRounds ||
            m_own.ticks - t.lastReadTick < kAnswerTicks)
            continue;
        slider.Tag = "0";
        (m_rows.*p.box).Tag = "0"; // asked for again whatever the last stale answer set
        t = ParameterTraffic{t.readOutstanding};
        t.unconfirmed = true;
        if (m_unconfirmed)
            m_unconfirmed(std::string("The module did not confirm ") + p.name + " " +
                          p.text(slider.Value()));
    }
}

// The user's change, or the module's value written back after it refused one: the writes the
// user's actions cause, which must not hold the standing poll back for long.
bool CommandScheduler::userWritePending() const
{
    for (const Parameter &p : kParameters) {
        const ParameterTraffic &t = m_rows.traffic[indexOf(p)];
        if (writePending(m_rows.*p.slider) && (t.userChange || t.afterRefusal))
            return true;
    }
    return false;
}

// A change of the user's whose read-back has been asked for while it was being written and
// which is still not confirmed: the module is slow, refuses or does not answer.
bool CommandScheduler::userWriteUnanswered() const
{
    for (const Parameter &p : kParameters) {
        const ParameterTraffic &t = m_rows.traffic[indexOf(p)];
        if (writePending(m_rows.*p.slider) && (t.userChange || t.afterRefusal) &&
            t.readRounds > 0)
            return true;
    }
    return false;
}

// Counted from the last standing poll. An ordinary change goes on the wire as it always has:
// written on every acting tick until its read slot comes round and confirms it. The poll is
// forced only for a change whose read-back did not confirm it, or when changes have held it
// back for longer than an ordinary change can (several values at once, one after another).
bool CommandScheduler::pollOverdue()
{
    // The first write of a change goes out at once, whenever the last poll was.
    const bool wasWriting = m_userWriting;
    m_userWriting = userWritePending() || m_rows.store.waiting;
    if (!m_userWriting || !wasWriting)
        return false;
    const int sincePoll = m_own.ticks - m_own.lastPollTick;
    return sincePoll > kLongWriteTicks ||
           (sincePoll >= kPollFloorTicks && userWriteUnanswered());
}

// A store asked for while writes were pending goes out once each is confirmed or given up.
void CommandScheduler::queueWaitingStore()
{
    m_rows.store.waiting = false;
    m_tx.txqueue = "/W" + decimalInteger(m_rows.cyclescroll.Value()) + "\r";
    noteStoreSent(m_rows);
}

// The engine running asks for the advance, stopped for the propeller; the propeller gauge is
// shown while it is asked for.
void CommandScheduler::queueStandingPoll()
{
    for (ParameterTraffic &t : m_rows.traffic)
        t.sentSincePoll = false;
    m_previousPollTick = m_own.lastPollTick;
    m_own.lastPollTick = m_own.ticks;
    m_own.propellerPoll = m_reply.rpmtarget < kRunningRpm;
    m_tx.txqueue = m_own.propellerPoll ? kPropellerPoll : kAdvancePoll;
}

} // namespace quelo
