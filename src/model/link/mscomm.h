// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quelo {

// The serial component of the window: port number, open/close, output, input and the receive
// notification. Operations that fail throw PortError with a reason a person can act on.
class MSComm
{
public:
    static constexpr std::int16_t comEvReceive = 2;

    virtual ~MSComm() = default;

    virtual void setCommPort(std::int16_t port) = 0;
    virtual std::int16_t CommPort() const = 0;
    virtual void setPortOpen(bool open) = 0;
    virtual bool PortOpen() const = 0;
    virtual void Output(const std::string &text) = 0;
    // Everything waiting, removed from the port as it is read.
    virtual std::string Input() = 0;
    // Code of the notification being handled; 2 means characters received.
    virtual std::int16_t CommEvent() const = 0;

    // Raised on the event loop when characters arrive.
    void setOnComm(std::function<void()> handler) { m_onComm = std::move(handler); }
    // Raised once when an open port fails on its own (device unplugged, peer hung up); the port
    // has been closed by then.
    void setOnFailure(std::function<void(const std::string &)> handler)
    {
        m_onFailure = std::move(handler);
    }

    // The decoder's busy flag, kept with the component and never touched by the port.
    std::string Tag = "0";

protected:
    void raiseOnComm()
    {
        if (m_onComm)
            m_onComm();
    }
    void raiseFailure(const std::string &reason)
    {
        if (m_onFailure)
            m_onFailure(reason);
    }

private:
    std::function<void()> m_onComm;
    std::function<void(const std::string &)> m_onFailure;
};

} // namespace quelo
