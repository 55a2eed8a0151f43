// SPDX-License-Identifier: GPL-3.0-or-later
// The conversation: HandleInput, the scheduler, sliders and store, the parameter table.
#pragma once

#include "window_state.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace quelo {

class LinkLog;
class RunObserver;
struct Parameter;
struct Reply;

// What a reply means for the subsystems whose state the decoder does not own.
struct ReplyEvents
{
    // A telemetry frame, a propeller line or the firmware version came: the probe needs no
    // more refilling (the pacing's Timer4).
    std::function<void()> probeAnswered;
    // The firmware version came: the port scan's probe is answered, and while it waits for
    // this answer the connection is complete.
    std::function<void()> versionAnswered;
    // A message for the user: the module kept another value than the one written, or confirmed
    // a store holding every change (and, through the window model, a value the module did not
    // confirm, a store waiting).
    std::function<void(const std::string &)> tell;
};

// Decodes one reply line of the module into gauge targets, value boxes and flags.
class LineDecoder
{
public:
    // Writes the module refused are reported to log as "refused: ...", a confirmed store as
    // "store: ...".
    LineDecoder(WindowState &w, const LinkLog &log, ReplyEvents events);

    // Decodes the line rBuff holds, then empties rBuff, whatever the line held; a value the
    // window cannot hold ends the decoding at that step and is rethrown after the emptying.
    void HandleInput(std::string &rBuff);

    // Told, after the window state has taken each line, what the module reported: the values
    // of telemetry lines, "<parameter key>=<value box text>" when a read-back reports another
    // value than the last one (the first one included), and "stored" on the store echo. Not owned;
    // null (the default) tells nobody.
    void setObserver(RunObserver *observer) { m_observer = observer; }

    // What the module last reported for the parameter in a read-back it was asked for, in the
    // slider's units (a value outside the slider's range too); none before the first one.
    std::optional<long long> lastReported(const Parameter &p) const;
    // A new connection begins: nothing the module before reported counts any more.
    void forgetReported() { m_lastReported = {}; }
    // How many echoes of the store command the module has sent.
    int storeEchoes() const { return m_storeEchoes; }

private:
    // What a read-back means for a slider whose change may still be on its way to the module.
    enum class Verdict
    {
        Take,      // no change pending, or the module confirms it: the steps run as they are
        KeepUsers, // it may have crossed the write on the wire: the user's value stays pending
        Refused    // the module got the write and kept another value: the module's value wins
    };
    // One read-back being applied: k in the slider's units.
    struct ReadBack
    {
        const Parameter &p;
        ScrollBar &slider;
        TextBox &box;
        long long k;
        std::int16_t asked;
        bool current; // no write of it was queued after the read command this answers
        Verdict verdict;
    };

    void decode(const Reply &reply);
    std::int16_t fieldValue(const std::string &field);
    void telemetryFrame(const Reply &reply);
    void echoLine(const Reply &reply);
    void propellerLine(const Reply &reply);
    void versionLine(const Reply &reply);
    void engineSpeedLine(const Reply &reply);
    void advanceLine(const Reply &reply);
    void voltsLine(const Reply &reply);
    void shiftEnableLine(const Reply &reply);
    void readBackLine(const Reply &reply);

    // The steps a read-back is made of; each parameter's row says their order.
    ReadBack beginReadBack(const Parameter &p, long long k);
    void setSlider(ReadBack &r);
    void showValue(ReadBack &r);
    void markReported(ReadBack &r);
    void clearPending(ReadBack &r);
    void finishReadBack(ReadBack &r);
    void moveLimitBand(const ReadBack &r);
    void tellReported(const Parameter &p, long long k);
    Verdict judge(const Parameter &p, const ScrollBar &slider, long long reported, bool current);

    ReplyState &m_reply;
    ParameterRows &m_rows;
    Needles &m_needles;
    const LinkLog &m_log;
    ReplyEvents m_events;
    RunObserver *m_observer = nullptr;
    // What the module last reported for each parameter, in table order and the slider's units.
    std::array<std::optional<long long>, kParameterCount> m_lastReported{};
    int m_storeEchoes = 0;
};

} // namespace quelo
