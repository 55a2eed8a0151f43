// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

namespace quelo {

struct OpenFailureFacts;

// Every piece of the program above the model that only POSIX systems have, in one place. Each
// entry says what the POSIX version does and what stands in for it on Windows (docs/PORTING.md
// gives the steps). platform_posix.cpp implements them where Q_OS_UNIX is defined;
// platform_portable.cpp, compiled on every build so that it keeps building, holds the
// stand-ins any other system gets until it has its own: each does nothing and says so.
//
// Two pieces sit elsewhere because they are whole components rather than calls:
// - The simulated module on a pseudo-terminal (sim/pty_server.*, behind DemoModule in
//   app/demo_module.h; QUELO_PTY_SIM). Windows has no pseudo-terminals: a pair of virtual
//   null-modem COM ports (com0com) with quelo-sim's model on one end would stand in; until
//   then such builds have no --demo, as builds without pseudo-terminals already do.
// - Device-path resolution (QtSerialComm::openPathFor, qt/qt_serial_comm.h): a name with a
//   slash is a file path whose symbolic links are resolved, so that the port's lock is taken
//   on the device itself. On Windows a port is named "COM3" (QSerialPort adds the "\\.\"
//   prefix); there are no links to resolve and the same code leaves such a name alone.
namespace platform {

// Port lock. POSIX: QSerialPort locks a device with a UUCP lock file "LCK..<name>" in the
// system's lock directory; returns the process that file names, 0 when there is none.
// Windows: the system itself opens a COM port for one program at a time and names no holder
// (QSerialPort reports PermissionError); returns 0. A lock of the program's own between its
// copies would be a QLockFile in QStandardPaths::TempLocation named after the port.
// A lock naming a process that is gone names no holder.
qint64 portLockHolder(const QString &devicePath);

// Stale port locks. POSIX: removes the device's lock files that nobody holds: one that names a
// process that is gone, or an empty one (its writer died before it wrote a word) older than a
// couple of seconds, and only while no process keeps it locked with flock() as Qt's holder
// does. Qt itself takes over a lock naming a dead process, but an empty one only after 30 s.
// Returns whether one was removed, so that the open may be tried again. A lock file is written
// by QLockFile, which checks its write and removes a lock it could not write whole (SIGXFSZ
// is ignored for that, main.cpp). Windows: no lock files; returns false.
bool removeStaleLocks(const QString &devicePath);

// Group hints. POSIX: fills in the facts behind "permission denied": whether the mode lets this
// user read and write the device, the user's uid and groups, the device's group and its
// permissions, so that the advice can name the group to join. Windows: COM ports have no
// groups; access is refused only while another program has the port, so nothing is filled in
// and the advice is "in use by another program".
void gatherAccessFacts(const QString &devicePath, OpenFailureFacts &facts);

// Drain. POSIX: polls the driver's output queue (TIOCOUTQ) of the open port `handle` until it
// is empty or the deadline passes, without tcdrain(), which may block for ever; returns the
// bytes still queued. Windows: QSerialPort::flush() and waitForBytesWritten() hand the bytes to
// the driver; the driver's queue is ClearCommError()'s COMSTAT.cbOutQue, polled the same way
// (FlushFileBuffers() would block like tcdrain()). The stand-in returns 0.
qint64 drainOutputQueue(qintptr handle, const QDeadlineTimer &deadline);

// Write without a queue. POSIX: writes what the open port `handle` takes at once, only when the
// handle is non-blocking (QSerialPort opens it so), and returns the bytes written: 0 when the
// driver takes none now, -1 on an error, which the caller leaves to QSerialPort to meet and
// report. QSerialPort::write only queues, and sending its queue switches a write notifier on
// and off, three wake-ups of the event loop for each character the pacing sends one at a
// time. Windows: the port's handle is opened for overlapped I/O, which a plain WriteFile()
// cannot use; the stand-in returns 0 and QSerialPort queues and writes everything.
qint64 writeWithoutQueue(qintptr handle, const char *data, qint64 size);

// Serial devices for ports 1..3 when none are given. POSIX: the first three the system lists,
// USB adapters first (orderSerialDevices). Windows: COM1, COM2, COM3, as the module's own
// software numbered them.
QStringList defaultSerialDevices();

// Signal handling. POSIX: SIGINT, SIGTERM and SIGHUP write one byte to a socket pair, which is all
// a signal handler may safely do; returns the end to watch with a QSocketNotifier (read one byte
// with takeQuitSignal() per signal), or -1 when the handlers could not be set up. Only one set
// of handlers at a time: they are process-wide. Windows: SetConsoleCtrlHandler() for
// CTRL_C_EVENT, CTRL_BREAK_EVENT and CTRL_CLOSE_EVENT, whose handler runs on a thread of its
// own and may post the quit to the window's thread (QMetaObject::invokeMethod with
// Qt::QueuedConnection); a session's end reaches the window as a close event through Qt. The
// stand-in returns -1: the signals keep their default action.
int installQuitSignals();
void removeQuitSignals();
void takeQuitSignal(int fd);

// Process age, for the start-up time in the performance log. Linux: from /proc/self/stat.
// Windows: GetProcessTimes()'s creation time. -1 where unknown.
double msSinceProcessStart();

} // namespace platform
} // namespace quelo
