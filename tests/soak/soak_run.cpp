// SPDX-License-Identifier: GPL-3.0-or-later
#include "soak_run.h"

#include "connection_watch.h"
#include "framing.h"
#include "parameters.h"
#include "pty_server.h"
#include "qt_serial_comm.h"
#include "qt_timer_host.h"
#include "window_model.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <deque>
#include <memory>
#include <random>
#include <sstream>
#include <string_view>

namespace quelo::soak {

using sim::Faults;
using sim::PtyServer;

long residentKb()
{
    // A /proc file reports size 0 (so atEnd() holds at once): read it whole.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

namespace {

struct SliderRef
{
    ScrollBar WindowState::*slider;
    char letter; // the module's parameter
    const char *name;
    const char *caption; // as the program names it when the module refuses a write
};

constexpr std::array<SliderRef, 7> kSliders{{
    {&WindowState::cyclescroll, 'd', "start delay", "RUN MODE START DELAY"},
    {&WindowState::ledscroll, 'l', "LED mode", "LED MODE"},
    {&WindowState::pprscroll, 't', "tach pulses", "TACH - Pulse / Rev"},
    {&WindowState::vscroll, 'v', "tach volts", "TACH - VOLTS"},
    {&WindowState::conshiftscroll, 'c', "advance shift", "ADVANCE SHIFT"},
    {&WindowState::maxrpmscroll, 'm', "max rpm", "MAX RPM LIMIT"},
    {&WindowState::maxadvancescroll, 'n', "max advance", "MAX ADVANCE LIMIT"},
}};

// Parameters whose accepted range or behaviour the soak changes: all seven.
constexpr std::string_view kNarrowable = "dltvcmn";
const std::string kRefused = "refused: The module kept ";
const std::string kUnconfirmed = "unconfirmed: The module did not confirm ";

const std::string kConnected = "Connected Comm Port 1";
const std::string kNotFound = "Valid comm port not found";

std::string describe(const Faults &f)
{
    std::ostringstream out;
    out.precision(2);
    if (f.silent)
        out << " silent";
    if (f.dropRate > 0)
        out << " drop=" << f.dropRate;
    if (f.delayMs > 0)
        out << " delay=" << f.delayMs;
    if (f.jitterMs > 0)
        out << " jitter=" << f.jitterMs;
    if (f.garbageRate > 0)
        out << " garbage=" << f.garbageRate;
    if (f.unterminatedRate > 0)
        out << " unterminated=" << f.unterminatedRate;
    return out.str();
}

class Soak
{
public:
    explicit Soak(const SoakOptions &options)
        : m_options(options), m_rng(options.seed), m_oddRng(options.seed ^ 0x0DDu),
          m_module(options.seed)
    {
        m_chosen.fill(0);
        m_expect.fill(Expect::Nothing);
    }

    SoakResult run();

private:
    enum class Phase
    {
        Faults,
        Calm,
        Babble,
        HangUp,
        Reset
    };

    // Event loop helpers: nothing here sleeps, the loop runs until a timer ends it.
    bool waitUntil(const std::function<bool()> &pred, qint64 timeoutMs);
    void runFor(qint64 ms);

    bool linked();
    qint64 commandsReceived();
    qint64 now() const { return m_clock.elapsed(); }
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_rng) < p; }

    void monitor();
    void harvestCommands();
    void event(const std::string &text);
    void trace(const std::string &text);
    void problem(const std::string &text);
    void fatal(const std::string &text);

    void runPhase(Phase phase);
    void faultWindow();
    void calmWindow();
    void babbleWindow();
    void hangUp();
    void resetWhileConnected();
    void userWindow(qint64 lengthMs, double babbleChance, bool allowReset);
    void userAction(bool allowReset);
    void moveRandomSlider(bool mustChange = false);
    void moveWhileDown();
    void clickStore();
    void clickReset();
    void babble();
    Faults randomFaults();
    bool restartModule();
    void chooseModuleLimits();
    void chooseOddLetter();
    void linkEvent(const std::string &text);
    bool reconnect(const std::string &after);
    bool recoverFromHangUp(bool searchGoesOn, qint64 sentBefore);
    void checkToldOf(const std::vector<char> &cutOff, bool exactly, const std::string &what);
    void checkShowsModule(const std::string &after);
    void settleAndCheck();

    SoakOptions m_options;
    std::mt19937 m_rng;
    std::mt19937 m_oddRng; // the odd letters, apart, so a seed's phases stay what they were
    QTemporaryDir m_dir;
    QString m_link = m_dir.filePath(QStringLiteral("ttyQuelo"));
    PtyServer m_module;
    QtTimerHost m_timers;
    QtSerialComm m_comm{{m_link, QString(), QString()}};
    WindowModel m_model{m_comm, m_timers};
    WindowState &m_w = m_model.state();

    QElapsedTimer m_clock;
    QTimer m_monitor;
    qint64 m_nextProgressMs = 0;
    bool m_baselineTaken = false;
    bool m_aborted = false;
    bool m_wasLinked = false;
    bool m_resetSinceLink = false;
    bool m_linkDropExpected = false; // a RESET click or a hang-up since the link was last seen up
    qint64 m_downSinceMs = -1;       // the RESET click or hang-up the link has not come back from
    std::array<std::int16_t, 7> m_chosen; // the user's latest value for each slider
    // What the final check expects of each slider: the user's latest value unless the program
    // said the module refused it or that it was not sent.
    enum class Expect
    {
        Nothing,
        Chosen,
        Refused,
        NotSent
    };
    std::array<Expect, 7> m_expect;
    std::vector<char> m_told; // changes told not sent since the list was last emptied
    int m_notChangedTold = 0; // "not changed" lines of the link log
    int m_notStoredTold = 0;  // "store: The module is not connected" lines
    ConnectionWatch m_watch{m_model, m_module.module(),
                            [this](const std::string &text) { problem(text); }};
    SoakResult m_result;
    std::deque<std::string> m_trace; // the latest slider changes, when tracing
};

bool Soak::waitUntil(const std::function<bool()> &pred, qint64 timeoutMs)
{
    if (pred())
        return true;
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer elapsed;
    elapsed.start();
    bool held = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        held = pred();
        if (held || elapsed.elapsed() >= timeoutMs)
            loop.quit();
    });
    poll.start(10);
    loop.exec();
    return held;
}

void Soak::runFor(qint64 ms)
{
    QEventLoop loop;
    QTimer::singleShot(std::chrono::milliseconds(ms), &loop, &QEventLoop::quit);
    loop.exec();
}

void Soak::trace(const std::string &text)
{
    if (!m_options.traceSliders)
        return;
    m_trace.push_back(std::to_string(now()) + " ms: " + text);
    if (m_trace.size() > 500)
        m_trace.pop_front();
}

void Soak::event(const std::string &text)
{
    if (m_options.onEvent) {
        const qint64 s = now() / 1000;
        m_options.onEvent(QStringLiteral("%1:%2 ")
                              .arg(s / 60, 3)
                              .arg(s % 60, 2, 10, QLatin1Char('0'))
                              .toStdString() +
                          text);
    }
}

void Soak::problem(const std::string &text)
{
    m_result.problems.push_back("at " + std::to_string(now() / 1000) + " s: " + text);
    event("PROBLEM: " + text);
}

void Soak::fatal(const std::string &text)
{
    problem(text);
    m_aborted = true;
}

// Whether a module is connected; the first sighting after a RESET click or a hang-up is timed.
// A module that has not answered for a while (a silent or lossy fault window) is still
// connected: the status line says so and polling goes on.
bool Soak::linked()
{
    const std::string &status = m_w.statusbox.Text;
    const bool shown = status == kConnected || status.rfind("No answer from the module on", 0) == 0;
    const bool up = m_w.linkUp && shown && m_comm.PortOpen() && !m_w.Timer5.Enabled();
    if (up && m_downSinceMs >= 0) {
        const qint64 took = now() - m_downSinceMs;
        m_downSinceMs = -1;
        m_resetSinceLink = false;
        m_result.counters.longestReconnectMs = std::max(m_result.counters.longestReconnectMs, took);
        event("link up, " + std::to_string(took) + " ms after the link went");
    }
    return up;
}

// Every command line the module has received so far.
qint64 Soak::commandsReceived()
{
    return m_result.counters.commands + qint64(m_module.module().commandLog().size());
}

// Sampled every 20 ms: the receive buffer's bound, progress and the memory baseline.
void Soak::monitor()
{
    const bool isLinked = linked();
    if (!isLinked && m_wasLinked && !m_linkDropExpected) {
        // Only a RESET click or a hang-up may take the link down.
        problem("the link went down on its own (status \"" + m_w.statusbox.Text + "\", port " +
                (m_comm.PortOpen() ? "open" : "closed") + ", tooltip \"" + m_w.statusbox.ToolTip +
                "\")");
    } else if (!isLinked && m_wasLinked) {
        event("link down");
    }
    if (isLinked)
        m_linkDropExpected = false;
    m_wasLinked = isLinked;
    m_result.maxRxBuffer = std::max(m_result.maxRxBuffer, m_w.rxbuffer.size());
    if (m_w.rxbuffer.size() > LineFraming::kMaxBuffer && m_result.problems.size() < 50)
        problem("receive buffer holds " + std::to_string(m_w.rxbuffer.size()) + " characters");
    if (!m_baselineTaken && now() >= m_options.memoryBaselineMs) {
        m_baselineTaken = true;
        m_result.rssBaselineKb = residentKb();
    }
    m_watch.sample(now());
    m_result.counters.reconnections = std::max(0, m_watch.connections() - 1);
    m_result.counters.afterSilence = m_watch.afterSilence();
    if (now() >= m_nextProgressMs) {
        m_nextProgressMs += m_options.progressIntervalMs;
        harvestCommands();
        if (m_options.onProgress)
            m_options.onProgress({now(), m_result.counters, residentKb(), m_model.failureCount()});
    }
}

// The module's command log would grow for the whole run: count it and empty it.
void Soak::harvestCommands()
{
    const auto &log = m_module.module().commandLog();
    m_result.counters.commands += qint64(log.size());
    for (const std::string &line : log) {
        if (line.size() >= 3 && line[0] == '/' && line[1] != 'W' &&
            std::isupper(static_cast<unsigned char>(line[1])))
            ++m_result.counters.writes;
    }
    m_module.module().clearCommandLog();
}

Faults Soak::randomFaults()
{
    Faults f;
    if (chance(0.08)) {
        f.silent = true;
        return f;
    }
    do {
        if (chance(0.6))
            f.dropRate = between(5, 35) / 100.0;
        if (chance(0.5))
            f.delayMs = between(20, 300);
        if (chance(0.5))
            f.jitterMs = between(20, 400);
        if (chance(0.6))
            f.garbageRate = between(5, 40) / 100.0;
        if (chance(0.5))
            f.unterminatedRate = between(5, 30) / 100.0;
    } while (f.dropRate == 0 && f.delayMs == 0 && f.jitterMs == 0 && f.garbageRate == 0 &&
             f.unterminatedRate == 0);
    return f;
}

void Soak::moveRandomSlider(bool mustChange)
{
    if (!m_w.linkUp)
        return moveWhileDown();
    // Like a real user: only sliders the module has reported are on screen.
    std::vector<std::size_t> visible;
    for (std::size_t i = 0; i < kSliders.size(); ++i)
        if ((m_w.*kSliders[i].slider).Visible)
            visible.push_back(i);
    if (visible.empty())
        return;
    const std::size_t i = visible[std::size_t(between(0, int(visible.size()) - 1))];
    ScrollBar &slider = m_w.*kSliders[i].slider;
    auto value = std::int16_t(between(slider.Min(), slider.Max()));
    while (mustChange && value == slider.Value())
        value = std::int16_t(between(slider.Min(), slider.Max()));
    trace(std::string("user moves ") + kSliders[i].letter + " to " + std::to_string(value));
    m_watch.userMoved(kSliders[i].letter); // before the move: its write may go out at once
    m_model.moveSlider(slider, value);
    m_chosen[i] = value;
    m_expect[i] = Expect::Chosen;
    ++m_result.counters.sliderMoves;
}

// With no module connected a slider move changes nothing and says so.
void Soak::moveWhileDown()
{
    const std::size_t i = std::size_t(between(0, int(kSliders.size()) - 1));
    ScrollBar &slider = m_w.*kSliders[i].slider;
    const std::int16_t before = slider.Value();
    const std::string flag = slider.Tag;
    auto value = std::int16_t(between(slider.Min(), slider.Max()));
    while (value == before)
        value = std::int16_t(between(slider.Min(), slider.Max()));
    const int told = m_notChangedTold;
    trace(std::string("user moves ") + kSliders[i].letter + " to " + std::to_string(value) +
          " with no module connected");
    m_model.moveSlider(slider, value);
    ++m_result.counters.movesWhileDown;
    if (slider.Value() != before || slider.Tag != flag)
        problem(std::string("a move of ") + kSliders[i].name +
                " with no module connected changed its slider from " + std::to_string(before) +
                " to " + std::to_string(slider.Value()) + ", flag " + slider.Tag);
    if (m_notChangedTold != told + 1)
        problem(std::string("a move of ") + kSliders[i].name +
                " with no module connected was not told");
}

// STORE stores only in a connected module; with none it sends nothing and says so.
void Soak::clickStore()
{
    if (m_w.linkUp) {
        ++m_result.counters.storeClicks;
        m_watch.userStored();
        m_model.Command3_Click();
        return;
    }
    const int told = m_notStoredTold;
    m_model.Command3_Click();
    ++m_result.counters.storesWhileDown;
    if (m_notStoredTold != told + 1)
        problem("a STORE click with no module connected was not told");
    if (m_w.txqueue.str().find("/W") != std::string::npos || m_w.store.waiting)
        problem("a STORE click with no module connected was queued (\"" + m_w.txqueue.str() +
                "\")");
}

// RESET ends the connection: every change of the user's still being written is told not sent.
void Soak::clickReset()
{
    const std::vector<char> cutOff = m_watch.pendingUserChanges();
    m_told.clear();
    ++m_result.counters.resetClicks;
    m_resetSinceLink = true;
    m_linkDropExpected = true;
    if (m_downSinceMs < 0)
        m_downSinceMs = now();
    m_model.Command5_Click();
    checkToldOf(cutOff, true, "RESET");
}

// The changes told not sent are those cut off (exactly, or some of them when one may have been
// confirmed in the last moment).
void Soak::checkToldOf(const std::vector<char> &cutOff, bool exactly, const std::string &what)
{
    for (const char letter : m_told)
        if (std::find(cutOff.begin(), cutOff.end(), letter) == cutOff.end())
            problem(what + " told of a change of " + std::string(1, letter) +
                    " not sent, but none was being written");
    if (!exactly)
        return;
    for (const char letter : cutOff)
        if (std::find(m_told.begin(), m_told.end(), letter) == m_told.end())
            problem(what + " cut off the change of " + std::string(1, letter) +
                    " being written, and did not tell");
}

void Soak::userAction(bool allowReset)
{
    const int pick = between(0, 99);
    if (pick < 75) {
        moveRandomSlider();
    } else if (pick < 95 || !allowReset) {
        clickStore();
    } else {
        event("RESET clicked by the user");
        clickReset();
    }
}

// A peer that sends thousands of characters without ending a line.
void Soak::babble()
{
    QByteArray noise;
    noise.resize(between(1000, 6000));
    for (char &ch : noise) {
        do
            ch = char(between(0, 255));
        while (ch == '\r' || ch == '\n');
    }
    m_module.writeRaw(noise);
    ++m_result.counters.babbleBursts;
}

void Soak::userWindow(qint64 lengthMs, double babbleChance, bool allowReset)
{
    const qint64 end = now() + lengthMs;
    while (!m_aborted && now() < end) {
        runFor(between(150, 1500));
        if (chance(babbleChance))
            babble();
        else
            userAction(allowReset);
    }
}

bool Soak::restartModule()
{
    if (!m_module.start()) {
        fatal("the simulated module cannot restart: " + m_module.errorString().toStdString());
        return false;
    }
    if (!m_module.createSymlink(m_link)) {
        fatal("cannot re-point the symbolic link");
        return false;
    }
    return true;
}

// Brings the link back once the line is calm: a scan the user started runs out first; if it
// missed the module (or the module is away), the user clicks RESET again, and that scan must
// find the module within 4 s.
bool Soak::reconnect(const std::string &after)
{
    if (!waitUntil([this] { return !m_w.Timer5.Enabled(); }, 10000)) {
        fatal("the port scan did not end after " + after + " (status \"" + m_w.statusbox.Text +
              "\")");
        return false;
    }
    if (linked())
        return true;
    if (m_resetSinceLink)
        ++m_result.counters.repeatedResets;
    clickReset();
    if (!waitUntil([this] { return linked(); }, 4000)) {
        fatal("no reconnection within 4 s of RESET after " + after + " (status \"" +
              m_w.statusbox.Text + "\", tooltip \"" + m_w.statusbox.ToolTip + "\")");
        return false;
    }
    return true;
}

// Once a new connection has read every value the module answers for, each slider shows what
// the module holds: nothing the connection before knew, or was writing, is shown or written.
void Soak::checkShowsModule(const std::string &after)
{
    if (!waitUntil([this] { return m_watch.allReported(); }, 15000)) {
        problem("the connection after " + after + " did not report every value within 15 s");
        return;
    }
    for (std::size_t i = 0; i < kSliders.size(); ++i) {
        const ScrollBar &slider = m_w.*kSliders[i].slider;
        const Parameter &p = *parameterByLetter(kSliders[i].letter);
        const int inModule = m_module.module().parameter(kSliders[i].letter);
        if (m_model.lastReported(p) && (slider.Value() != inModule || !slider.Visible))
            problem(std::string("after ") + after + ", " + kSliders[i].name + " shows " +
                    std::to_string(slider.Value()) + (slider.Visible ? "" : " (hidden)") +
                    ", module holds " + std::to_string(inModule));
    }
}

// A module with tighter limits than the protocol allows: some parameters take only part of
// their range, and what the module does with the rest (keep its value, clamp, ignore the
// write) changes from phase to phase. Now and then it takes every value again.
void Soak::chooseModuleLimits()
{
    sim::ModuleSim &module = m_module.module();
    for (const char letter : kNarrowable) {
        module.setAcceptedRange(letter, *sim::ModuleSim::parameterRange(letter));
        module.setLetterBehaviour(letter, {});
    }
    ++m_result.counters.moduleLimits;
    if (std::uniform_int_distribution<int>(0, 9)(m_oddRng) < 3)
        chooseOddLetter();
    if (chance(0.25)) {
        event("module takes every value");
        return;
    }
    const sim::OutOfRangePolicy policies[] = {sim::OutOfRangePolicy::EchoKeepOld,
                                              sim::OutOfRangePolicy::EchoClamp,
                                              sim::OutOfRangePolicy::Ignore};
    const int policy = between(0, 2);
    module.setOutOfRangePolicy(policies[policy]);
    std::string text = std::string("module ") +
                       (policy == 0   ? "keeps its value"
                        : policy == 1 ? "clamps"
                                      : "ignores the write") +
                       " outside";
    for (int n = 0; n < 2; ++n) {
        const char letter = kNarrowable[std::size_t(between(0, int(kNarrowable.size()) - 1))];
        const sim::ParameterRange full = *sim::ModuleSim::parameterRange(letter);
        const int middle = (full.min + full.max) / 2;
        const sim::ParameterRange range{between(full.min, middle), between(middle, full.max)};
        module.setAcceptedRange(letter, range);
        text += " " + std::string(1, letter) + " " + std::to_string(range.min) + ".." +
                std::to_string(range.max);
    }
    event(text);
}

// A firmware that treats one letter oddly for a while: it drops that letter's read commands,
// never echoes its writes, or ignores it altogether.
void Soak::chooseOddLetter()
{
    auto draw = [this](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(m_oddRng);
    };
    const char letter = kNarrowable[std::size_t(draw(0, int(kNarrowable.size()) - 1))];
    sim::LetterBehaviour odd;
    const int kind = draw(0, 2);
    odd.answerReads = kind == 1;
    odd.echoWrites = kind == 0;
    odd.applyWrites = kind != 2 || draw(0, 1) == 0;
    m_module.module().setLetterBehaviour(letter, odd);
    event(std::string("module ") +
          (kind == 0   ? "does not answer reads of "
           : kind == 1 ? "does not echo writes of "
                       : "ignores ") +
          letter);
}

// The program reports each refused write as "refused: The module kept <caption> at ...", each
// value given up as "unconfirmed: The module did not confirm <caption> <value>", and each
// change cut off by the end of a connection as "not sent: ... <caption> <value>".
void Soak::linkEvent(const std::string &text)
{
    if (text.rfind("not changed: ", 0) == 0)
        ++m_notChangedTold;
    if (text.rfind("store: The module is not connected", 0) == 0)
        ++m_notStoredTold;
    const std::vector<ConnectionWatch::Told> told = m_watch.notSent(text);
    if (!told.empty()) {
        trace(text);
        event(text);
    }
    for (const auto &[letter, value] : told) {
        const std::size_t i = std::size_t(indexOf(*parameterByLetter(letter)));
        const std::string chosen = parameterByLetter(letter)->text(m_chosen[i]);
        if (m_expect[i] != Expect::Chosen || value != chosen)
            problem("told that " + std::string(kSliders[i].name) + " " + value +
                    " was not sent, but the user's change of it is " +
                    (m_expect[i] == Expect::Chosen ? chosen : std::string("none")));
        m_expect[i] = Expect::NotSent;
        m_told.push_back(letter);
        ++m_result.counters.changesNotSent;
    }
    const bool refused = text.rfind(kRefused, 0) == 0;
    if (!refused && text.rfind(kUnconfirmed, 0) != 0)
        return;
    const std::size_t from = refused ? kRefused.size() : kUnconfirmed.size();
    for (std::size_t i = 0; i < kSliders.size(); ++i) {
        const std::string caption = kSliders[i].caption;
        if (text.compare(from, caption.size() + 1, caption + " ") == 0) {
            m_expect[i] = Expect::Refused;
            ++m_result.counters.refusals;
            trace(text);
            event(text.substr(text.find(": ") + 2));
            return;
        }
    }
    problem("a refusal names no parameter: \"" + text + "\"");
}

void Soak::runPhase(Phase phase)
{
    chooseModuleLimits();
    switch (phase) {
    case Phase::Faults:
        return faultWindow();
    case Phase::Calm:
        return calmWindow();
    case Phase::Babble:
        return babbleWindow();
    case Phase::HangUp:
        return hangUp();
    case Phase::Reset:
        return resetWhileConnected();
    }
}

void Soak::faultWindow()
{
    sim::ModuleSim &module = m_module.module();
    ++m_result.counters.faultWindows;
    const Faults faults = randomFaults();
    const qint64 length = faults.silent ? between(1000, 4000) : between(3000, 10000);
    event("fault window " + std::to_string(length) + " ms:" + describe(faults));
    module.setFaults(faults);
    userWindow(length, 0.0, !faults.silent);
    module.setFaults({});
    reconnect("a fault window");
}

void Soak::calmWindow()
{
    ++m_result.counters.calmWindows;
    event("calm window");
    userWindow(between(2000, 6000), 0.0, true);
    reconnect("a calm window");
}

void Soak::babbleWindow()
{
    sim::ModuleSim &module = m_module.module();
    ++m_result.counters.faultWindows;
    Faults faults;
    faults.garbageRate = between(5, 30) / 100.0;
    event("babble window:" + describe(faults));
    module.setFaults(faults);
    babble();
    userWindow(between(2000, 6000), 0.3, false);
    module.setFaults({});
}

// The module hangs up and its device goes away for a while, perhaps with a change of the user's
// still being written; the user tries a slider (and perhaps STORE) meanwhile. The search that
// follows runs once, or, on every other hang-up, goes on until the module answers.
void Soak::hangUp()
{
    ++m_result.counters.hangUps;
    const bool searchGoesOn = (m_options.seed + unsigned(m_result.counters.hangUps)) % 2 == 0;
    m_model.setReconnect(searchGoesOn);
    m_result.counters.reconnectingHangUps += searchGoesOn ? 1 : 0;
    const qint64 down = between(500, 4000);
    event("module hangs up for " + std::to_string(down) + " ms, the search " +
          (searchGoesOn ? "going on" : "once"));
    if (chance(0.5))
        moveRandomSlider(true);
    const std::vector<char> cutOff = m_watch.pendingUserChanges();
    m_told.clear();
    const int failuresBefore = m_model.failureCount();
    m_linkDropExpected = true;
    m_downSinceMs = now();
    m_module.hangUp();
    // The device goes away with the module: left dangling, the link could name a pseudo-
    // terminal number that another process (a test running alongside) has taken since.
    QFile::remove(m_link);
    if (!waitUntil([this] { return !m_comm.PortOpen() && !m_w.linkUp; }, 2000)) {
        fatal("the port stayed open after the module hung up");
        return;
    }
    // The loss is on the status line and its reason on the tooltip until the search ends; a
    // change being written may have been confirmed in the last moment, so some may go untold.
    if (m_w.statusbox.ToolTip.find("Link lost") == std::string::npos)
        problem("the hang-up is not reported on the status tooltip: \"" + m_w.statusbox.ToolTip +
                "\"");
    checkToldOf(cutOff, false, "the hang-up");
    moveRandomSlider(); // the user reacts at once, before the module is back
    if (chance(0.5))
        clickStore();
    // Sometimes the user presses RESET before the module is back: that scan finds nothing.
    if (chance(0.3)) {
        event("RESET clicked while the module is away");
        clickReset();
    }
    userWindow(down, 0.0, false);
    if (m_aborted || !restartModule())
        return;
    const qint64 sentBefore = commandsReceived(); // what reached the module before it came back
    runFor(between(0, 800));
    if (m_model.failureCount() != failuresBefore)
        problem("handler failure during the outage: " + m_model.lastFailure());
    if (recoverFromHangUp(searchGoesOn, sentBefore))
        checkShowsModule("a hang-up");
}

// The search that followed the loss (or the user's RESET while the module was away) finds the
// module back, or ends having sent it nothing: a search runs once unless told to go on. Then
// RESET brings it back.
bool Soak::recoverFromHangUp(bool searchGoesOn, qint64 sentBefore)
{
    if (searchGoesOn && !m_resetSinceLink) {
        // One round of the search is four scan intervals; the module may come back just after
        // port 1 was tried, so it is found within a round and a port's probe, and a loaded
        // machine's timers are late now and then.
        if (!waitUntil([this] { return linked(); }, 5 * 1500 + 4500)) {
            fatal("the search that goes on did not find the module back within 12 s (status \"" +
                  m_w.statusbox.Text + "\")");
            return false;
        }
        ++m_result.counters.foundBySearch;
        return true;
    }
    if (!waitUntil([this] { return !m_w.Timer5.Enabled(); }, 10000)) {
        fatal("the search after the hang-up did not end (status \"" + m_w.statusbox.Text + "\")");
        return false;
    }
    if (linked()) {
        ++m_result.counters.foundBySearch; // the module was back before port 1 was tried
        return true;
    }
    // The search may have probed the module back on port 1 without an answer in time (a slow
    // or faulty line); once it has ended, nothing more reaches the module until RESET.
    sentBefore = commandsReceived();
    runFor(1700); // longer than a scan interval: a search that went on would try port 1 again
    if (linked() || m_w.Timer5.Enabled() || m_w.statusbox.Text != kNotFound)
        problem("the search after the hang-up went on (status \"" + m_w.statusbox.Text + "\")");
    if (commandsReceived() != sentBefore)
        problem("the search after the hang-up ended, yet " +
                std::to_string(commandsReceived() - sentBefore) +
                " commands reached the module back on the port");
    ++m_result.counters.searchesEnded;
    return reconnect("a hang-up");
}

void Soak::resetWhileConnected()
{
    sim::ModuleSim &module = m_module.module();
    const bool calm = chance(0.5);
    Faults faults;
    if (!calm) {
        faults = randomFaults();
        faults.silent = false;
    }
    event(std::string("RESET while connected") + (calm ? "" : ", under" + describe(faults)));
    module.setFaults(faults);
    // The user's last change is still being written, perhaps with a store waiting for it: RESET
    // cuts both off, says so, and neither reaches the module after.
    moveRandomSlider(true);
    if (chance(0.4))
        clickStore();
    clickReset();
    // The scan runs from the start: a calm line must be found within 4 s; under faults the
    // scan may miss the module and run on through ports 2 and 3.
    if (calm && !waitUntil([this] { return linked(); }, 4000)) {
        fatal("no reconnection within 4 s of RESET on a calm line (status \"" + m_w.statusbox.Text +
              "\")");
        return;
    }
    waitUntil([this] { return !m_w.Timer5.Enabled(); }, 10000);
    module.setFaults({});
    if (reconnect("a RESET under faults"))
        checkShowsModule("RESET");
}

void Soak::settleAndCheck()
{
    event("settling");
    m_module.module().setFaults({});
    // A letter the module treated oddly is answered again, so values given up settle.
    for (const char letter : kNarrowable)
        m_module.module().setLetterBehaviour(letter, {});
    // Refusals of the last phase's limits still count; no new limits from here on.
    if (!reconnect("the last phase"))
        return;
    const bool settled = waitUntil(
        [this] {
            return m_watch.allReported() &&
                   std::all_of(kSliders.begin(), kSliders.end(),
                               [this](const SliderRef &s) { return (m_w.*s.slider).Tag == "0"; }) &&
                   std::none_of(kParameters.begin(), kParameters.end(),
                                [this](const Parameter &p) { return m_model.unconfirmed(p); });
        },
        60000);
    if (!settled)
        problem("changes still pending a minute after the faults stopped");

    for (std::size_t i = 0; i < kSliders.size(); ++i) {
        const ScrollBar &slider = m_w.*kSliders[i].slider;
        const int inModule = m_module.module().parameter(kSliders[i].letter);
        ++m_result.slidersChecked;
        if (inModule != slider.Value())
            problem(std::string(kSliders[i].name) + ": slider " + std::to_string(slider.Value()) +
                    ", module " + std::to_string(inModule));
        if (m_expect[i] == Expect::Chosen && m_chosen[i] != slider.Value())
            problem(std::string(kSliders[i].name) + ": the user chose " +
                    std::to_string(m_chosen[i]) + ", slider shows " +
                    std::to_string(slider.Value()));
    }
}

SoakResult Soak::run()
{
    m_clock.start();
    auto shown = std::make_shared<std::array<std::string, 7>>();
    m_model.setChangeListener([this, shown] {
        m_watch.modelChanged(now());
        for (std::size_t i = 0; m_options.traceSliders && i < kSliders.size(); ++i) {
            const ScrollBar &slider = m_w.*kSliders[i].slider;
            const std::string state = std::to_string(slider.Value()) + ", flag " + slider.Tag +
                                      (slider.Visible ? "" : ", hidden");
            if (state != (*shown)[i]) {
                (*shown)[i] = state;
                trace(std::string(1, kSliders[i].letter) + " slider " + state);
            }
        }
    });
    m_result.rssStartKb = residentKb();
    m_model.linkLog().setSink([this](const std::string &text) { linkEvent(text); });
    QObject::connect(&m_monitor, &QTimer::timeout, &m_monitor, [this] { monitor(); });
    m_nextProgressMs = m_options.progressIntervalMs;
    m_monitor.start(20);

    if (!m_dir.isValid() || !m_module.start() || !m_module.createSymlink(m_link)) {
        fatal("cannot serve the simulated module: " + m_module.errorString().toStdString());
    } else {
        m_model.Form_Load();
        if (!waitUntil([this] { return linked(); }, 4000))
            fatal("no connection within 4 s of loading (status \"" + m_w.statusbox.Text + "\")");
    }
    // The user acts on sliders only once the module has reported them.
    if (!m_aborted &&
        !waitUntil([this] { return m_w.cyclescroll.Visible && m_w.maxadvancescroll.Visible; },
                   20000))
        fatal("the module's parameters were never read back");

    // Every kind of phase once in a seeded order, however long that takes (a search that runs
    // once after a hang-up, then RESET, takes some 11 s), then at random until the time is up.
    std::vector<Phase> first{Phase::Faults, Phase::Calm, Phase::Babble, Phase::HangUp,
                             Phase::Reset};
    std::shuffle(first.begin(), first.end(), m_rng);
    for (std::size_t round = 0;
         !m_aborted && (round < first.size() || now() < m_options.durationMs); ++round) {
        Phase phase;
        if (round < first.size()) {
            phase = first[round];
        } else {
            const int pick = between(0, 99);
            phase = pick < 40   ? Phase::Faults
                    : pick < 55 ? Phase::Calm
                    : pick < 65 ? Phase::Babble
                    : pick < 85 ? Phase::HangUp
                                : Phase::Reset;
        }
        runPhase(phase);
    }

    if (!m_aborted)
        settleAndCheck();
    harvestCommands();
    m_monitor.stop();
    m_result.counters.reconnections = std::max(0, m_watch.connections() - 1);
    m_result.counters.afterSilence = m_watch.afterSilence();

    m_result.handlerFailures = m_model.failureCount();
    if (m_result.handlerFailures != 0)
        problem(std::to_string(m_result.handlerFailures) +
                " handler failures, the last: " + m_model.lastFailure());
    if (m_result.maxRxBuffer > LineFraming::kMaxBuffer)
        problem("the receive buffer grew to " + std::to_string(m_result.maxRxBuffer));
    m_result.rssEndKb = residentKb();
    if (!m_baselineTaken)
        m_result.rssBaselineKb = m_result.rssEndKb;
    if (m_result.rssEndKb - m_result.rssBaselineKb > m_options.memoryMarginKb)
        problem("memory grew from " + std::to_string(m_result.rssBaselineKb) + " KiB to " +
                std::to_string(m_result.rssEndKb) + " KiB");
    m_result.elapsedMs = now();
    m_model.Form_Unload();
    if (!m_result.problems.empty() && !m_trace.empty()) {
        event("the latest slider changes:");
        for (const std::string &line : m_trace)
            event("  " + line);
    }
    return m_result;
}

} // namespace

SoakResult runSoak(const SoakOptions &options)
{
    Soak soak(options);
    return soak.run();
}

} // namespace quelo::soak
