#pragma once

#include <cstdint>
#include <string>

namespace quelo {

struct WindowState;
struct ParameterTraffic;
class MSComm;
class LinkLog;
class ScrollBar;

// Decodes one reply line of the module into gauge targets, value boxes and flags.
class LineDecoder
{
public:
    // Writes the module refused are reported to log as "refused: ...".
    LineDecoder(WindowState &w, MSComm &comm, const LinkLog &log) : m_w(w), m_comm(comm), m_log(log)
    {
    }

    // Decodes the line at the start of rBuff, then empties rBuff. The busy flag is "1" while it
    // runs and "0" afterwards, and rBuff is emptied, whatever the line held; a value the window
    // cannot hold is rethrown after that so the dispatcher can report it.
    void HandleInput(std::string &rBuff);

private:
    // What a read-back means for a slider whose change may still be on its way to the module.
    enum class Verdict
    {
        Take,      // no change pending, or the module confirms it: the steps run as they are
        KeepUsers, // it may have crossed the write on the wire: the user's value stays pending
        Refused    // the module got the write and kept another value: the module's value wins
    };

    void decode(const std::string &line);
    bool takeReadBack(const std::string &line);
    Verdict judge(char letter, const ScrollBar &slider, long long reported);
    void refused(ScrollBar &slider, const char *name, const std::string &kept,
                 const std::string &asked);
    void telemetryFrame(const std::string &line);
    void echoLine(const std::string &line);
    void propellerLine(const std::string &line);
    void versionLine(const std::string &line);
    void engineSpeedLine(const std::string &line);
    void advanceLine(const std::string &line);
    void voltsLine(const std::string &line);
    void tachPulsesReadBack(const std::string &line);
    void tachVoltsReadBack(const std::string &line);
    void ledModeReadBack(const std::string &line);
    void startDelayReadBack(const std::string &line);
    void maxAdvanceReadBack(const std::string &line);
    void maxRpmReadBack(const std::string &line);
    void advanceShiftReadBack(const std::string &line);
    void shiftEnableLine(const std::string &line);

    // Cuts characters [first, first + count) (1-based) into hexfield; a window past the end of
    // the line keeps only the characters that exist.
    void cutField(const std::string &line, std::size_t first, std::size_t count);

    WindowState &m_w;
    MSComm &m_comm;
    const LinkLog &m_log;
};

// Texts the value boxes show for a parameter value.
std::string ledModeText(long long k);
std::string tachVoltsText(long long k);
std::string advanceShiftText(long long k); // k as the module reports it (0..20, or 255 + shift)

} // namespace quelo
