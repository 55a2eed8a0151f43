// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

namespace quelo {

namespace sim {
class PtyServer;
}

// The simulated module behind --demo, served on a pseudo-terminal. Builds without
// pseudo-terminals have none: available() is false there and start() fails.
class DemoModule
{
public:
    DemoModule();
    ~DemoModule();
    DemoModule(const DemoModule &) = delete;
    DemoModule &operator=(const DemoModule &) = delete;

    static bool available();
    // Starts serving; false, with errorString(), when it cannot.
    bool start();
    QString devicePath() const;
    QString errorString() const { return m_error; }

private:
    std::unique_ptr<sim::PtyServer> m_server;
    QString m_error;
};

} // namespace quelo
