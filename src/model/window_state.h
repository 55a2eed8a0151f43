#pragma once

#include "controls.h"
#include "timer.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quelo {

// The seven configuration parameters by the letter of their read command, in the order of the
// write table (start delay, LED mode, tach pulses, tach volts, advance shift, max rpm, max
// advance).
inline constexpr std::string_view kParameterLetters = "dltvcmn";

// What the program knows about one parameter's traffic beyond the flags: whether its read
// command is outstanding, and what became of the last write of it that was queued. The
// scheduler records what it queues; the decoder judges each read-back against it.
struct ParameterTraffic
{
    bool readOutstanding = false; // its read command queued since its last read-back arrived
    bool writeQueued = false;     // a write queued since the last read-back settled the slider
    std::int16_t writtenValue = 0;
    bool echoed = false;        // the module echoed writtenValue since it was first queued
    int staleRounds = 0;        // read-backs that disagreed before any echo of writtenValue
    bool paced = false;         // after a stale read-back: one write per standing poll
    bool sentSincePoll = false; // a write of it queued since the last standing poll
};

// Everything the window holds at run time: its variables, its controls with their Tag flags and
// its timers. Plain data; the handlers that change it live beside their subsystems.
struct WindowState
{
    // Window-level variables.
    std::string rxbuffer;
    std::string txqueue;
    std::string txchar;
    std::string pollstring;
    std::string hexfield;
    std::int16_t scratch = 0;
    std::int16_t propcount = 0;
    std::int16_t rpmtarget = 0;
    std::int16_t voltstarget = 0;
    std::int16_t advtarget = 0;
    std::int16_t proptarget = 0;
    std::int16_t readslot = 0;
    std::array<ParameterTraffic, kParameterLetters.size()> traffic{};

    // The window's own Tag: the link state. Empty until Form_Load.
    std::string Tag;

    TextBox statusbox;
    TextBox revdata{"0", "0", true, {}};
    TextBox cycledata, leddata, pprdata, vdata, conshiftdata, maxrpmdata, maxadvancedata;

    ScrollBar cyclescroll{0, 8, 0};
    ScrollBar ledscroll{0, 3, 0};
    ScrollBar pprscroll{0, 2, 0};
    ScrollBar vscroll{0, 2, 0};
    ScrollBar conshiftscroll{-9, 9, 0};
    ScrollBar maxrpmscroll{0, 16, 0};
    ScrollBar maxadvancescroll{14, 35, 14};

    Button Command3{kDarkGrey};
    Button Command4{kPanelClosedGreen};
    Frame connection;

    Gauge rpmdial{GaugeFace::rpm()};
    Gauge voltsdial{GaugeFace::volts()};
    Gauge advdial{GaugeFace::advance()};
    Gauge AGauge2{GaugeFace::propeller()};

    Timer Timer1{"Timer1", 300, false};
    Timer Timer2{"Timer2", 10, true};
    Timer Timer3{"Timer3", 30, true};
    Timer Timer4{"Timer4", 500, false};
    Timer Timer5{"Timer5", 1500, false};
};

} // namespace quelo
