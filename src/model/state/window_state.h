// SPDX-License-Identifier: GPL-3.0-or-later
// The window's state in plain data: controls, gauge faces, needle animation, the connection panel.
#pragma once

#include "controls.h"
#include "timer.h"
#include "watched.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace quelo {

// The window's state, grouped by the subsystem that owns each part. A subsystem is handed the
// parts it writes, and reads others only through const references.
//
// Glossary of the numbered controls and of the Tag flags ("0"/"1" texts, tested as numbers):
//   Timer1  300 ms  command scheduler          Command1  RETURN (closes the wiring panel)
//   Timer2   10 ms  needle animation           Command2  PRINT
//   Timer3   30 ms  transmit pacing            Command3  STORE CONFIGURATION
//   Timer4  500 ms  probe refill               Command4  CONNECTION INFO (opens the panel)
//   Timer5 1500 ms  port scan                  Command5  RESET
//   window Tag         link state: "1" while a probe on the open port awaits its answer
//   Timer5.Tag         port counter: the port tried last, 1..3 (4 ends the scan)
//   MSComm1 Tag        busy flag: "1" while a reply line is being decoded
//   slider Tag         write pending: changed, and not reported back by the module since
//   value box Tag      reported: the module reported the value since it was last written
//   rpmdial/voltsdial  reported: an engine speed / bus voltage has been decoded

// The port scan's part: the link state, the status line and the probe.
struct LinkState
{
    std::string Tag; // the link state; empty until Form_Load
    TextBox statusbox;
    std::string pollstring; // what the refill timer puts back into an empty queue
    // The module answered the probe on the port now open and has not fallen silent since: a
    // connection, until the port closes, a search starts or the module stops answering. Writes
    // go only to a module connected this way.
    bool linkUp = false;
    Timer Timer5{"Timer5", 1500, false};
};

// The transmit queue and its pacing. The port scan, the scheduler and the store button replace
// the queue whole; the pacing takes characters from its front.
struct TransmitState
{
    TransmitQueue txqueue;
    // The store button replaced a standing poll before any of it was sent.
    bool pollDropped = false;
    std::string txchar;
    Timer Timer3{"Timer3", 30, true};
    Timer Timer4{"Timer4", 500, false};
};

// The line framing's part: what has been received and not yet decoded.
struct ReceiveState
{
    std::string rxbuffer;
};

// The reply decoder's part: its working values, the gauge targets and the firmware version.
struct ReplyState
{
    std::string hexfield;
    std::int16_t scratch = 0;
    std::int16_t propcount = 0;
    GaugeTarget rpmtarget;
    GaugeTarget voltstarget;
    GaugeTarget advtarget;
    GaugeTarget proptarget;
    TextBox revdata{"0", "0", true, {}};
};

// What the program knows about one parameter's traffic beyond the flags: whether its read
// command is outstanding, and what became of the last write of it that was queued. The
// scheduler records what it queues; the decoder judges each read-back against it.
struct ParameterTraffic
{
    bool readOutstanding = false; // its read command queued since its last read-back arrived
    bool writeQueued = false;     // a write queued since the last read-back settled the slider
    std::int16_t writtenValue = 0;
    bool echoed = false;           // the module echoed writtenValue since it was first queued
    int staleRounds = 0;           // read-backs that disagreed before any echo of writtenValue
    int readRounds = 0;            // its read-backs queued since writtenValue was first written
    int lastReadTick = 0;          // the scheduler's tick count when the last of them was queued
    bool writtenSinceRead = false; // a write of it queued after its read command
    bool sentSincePoll = false;    // a write of it queued since the last standing poll
    bool userChange = false;       // the pending change is the user's, not a connection write-back
    bool afterRefusal = false;     // the module's value written back after it refused the user's
    // Given up: the module never confirmed the value the slider shows. A read-back settles it.
    bool unconfirmed = false;
};

// The number of the module's configuration parameters. ParameterRows holds a slider and a value
// box for each, the table in parameters.h a row each; static_asserts there check that every
// per-parameter array and the table agree.
inline constexpr std::size_t kParameterCount = 7;

// The user's changes against the stores: which of them the module's stored configuration
// holds. Each user change gets the next serial number. A store holds, once its echo arrives, the
// changes the module had confirmed by read-back when the store was queued.
struct StoreProgress
{
    using Serials =
        std::array<std::uint64_t, kParameterCount>; // per parameter, in table order; 0: none
    bool waiting = false;      // a store asked for waits until no write is pending
    std::uint64_t changes = 0; // serial number of the latest user change
    Serials changedAt{};       // per parameter, its latest change
    Serials storedAt{};        // per parameter, the latest change a confirmed store holds
    std::deque<Serials> sent;  // per store on the wire and not yet echoed: what it holds
};

struct ParameterRows;

// A slider with the range and starting value of the parameter table's row that names it
// (parameters.cpp); throws std::logic_error when no row does.
ScrollBar tableSlider(ScrollBar ParameterRows::*slider);

// The configuration frame: the parameter rows (each a slider and its value box; the parameter
// table in parameters.h ties them to their commands and gives the sliders' ranges) and the store
// button.
struct ParameterRows
{
    TextBox cycledata, leddata, pprdata, vdata, conshiftdata, maxrpmdata, maxadvancedata;
    ScrollBar cyclescroll = tableSlider(&ParameterRows::cyclescroll);
    ScrollBar ledscroll = tableSlider(&ParameterRows::ledscroll);
    ScrollBar pprscroll = tableSlider(&ParameterRows::pprscroll);
    ScrollBar vscroll = tableSlider(&ParameterRows::vscroll);
    ScrollBar conshiftscroll = tableSlider(&ParameterRows::conshiftscroll);
    ScrollBar maxrpmscroll = tableSlider(&ParameterRows::maxrpmscroll);
    ScrollBar maxadvancescroll = tableSlider(&ParameterRows::maxadvancescroll);
    Button Command3{kDarkGrey};
    // Per parameter, in the table's order.
    std::array<ParameterTraffic, kParameterCount> traffic{};
    // Per parameter: the connected module has read it back in this connection.
    std::array<bool, kParameterCount> readInConnection{};
    StoreProgress store;
};

// The four gauges: needles, band ends and the reported flags, moved by the animation timer.
struct Needles
{
    Gauge rpmdial{GaugeFace::rpm()};
    Gauge voltsdial{GaugeFace::volts()};
    Gauge advdial{GaugeFace::advance()};
    Gauge AGauge2{GaugeFace::propeller()};
    Timer Timer2{"Timer2", 10, true};
};

// The command scheduler's part.
struct SchedulerState
{
    std::int16_t readslot = 0;
    int ticks = 0;        // every tick of Timer1 so far, acting or not: the scheduler's clock
    int lastPollTick = 0; // the tick that queued the last standing poll
    // The last standing poll asked for the propeller ("/p"), so its gauge is shown; a poll for
    // the advance ("/b", engine running) hides it.
    bool propellerPoll = true;
    Timer Timer1{"Timer1", 300, false};
};

// The wiring panel and the button that opens it.
struct PanelState
{
    Button Command4{kPanelClosedGreen};
    Frame connection;
};

// Everything the window holds at run time. Plain data; the handlers that change it live beside
// their subsystems.
struct WindowState : LinkState,
                     TransmitState,
                     ReceiveState,
                     ReplyState,
                     ParameterRows,
                     Needles,
                     SchedulerState,
                     PanelState
{
};

} // namespace quelo
