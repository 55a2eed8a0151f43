// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "errors.h"
#include "mscomm.h"

#include <set>
#include <string>

namespace quelo::test {

// A serial component whose ports exist or not as the test says. Everything written is kept
// in `written`; `deliver` raises the receive notification with the given text.
class FakeComm : public MSComm
{
public:
    std::set<int> presentPorts; // ports that open
    std::string written;
    std::string failure;        // when set, the next open fails with this reason
    std::string outputFailure;  // when set, writing fails with this reason
    int opens = 0;

    void setCommPort(std::int16_t port) override
    {
        if (m_open)
            throw PortError("Port already open");
        m_port = port;
    }
    std::int16_t CommPort() const override { return m_port; }
    void setPortOpen(bool open) override
    {
        if (!open) {
            m_open = false;
            return;
        }
        if (m_open)
            throw PortError("Port already open");
        if (!failure.empty() || !presentPorts.count(m_port))
            throw PortError(failure.empty() ? "no such device" : failure);
        m_open = true;
        ++opens;
    }
    bool PortOpen() const override { return m_open; }
    void Output(const std::string &text) override
    {
        if (!m_open)
            throw PortError("Port is closed");
        if (!outputFailure.empty())
            throw PortError(outputFailure);
        written += text;
        onOutput(text);
    }
    std::string Input() override
    {
        std::string data;
        data.swap(m_pending);
        return data;
    }
    std::int16_t CommEvent() const override { return m_event; }

    // Characters arrive: one receive notification, whatever the chunk holds.
    void deliver(const std::string &chunk, std::int16_t event = comEvReceive)
    {
        m_pending += chunk;
        m_event = event;
        raiseOnComm();
        m_event = 0;
    }
    // The device goes away while open.
    void hangUp(const std::string &reason)
    {
        m_open = false;
        raiseFailure(reason);
    }

protected:
    virtual void onOutput(const std::string &) {}

private:
    std::int16_t m_port = 1;
    bool m_open = false;
    std::string m_pending;
    std::int16_t m_event = 0;
};

} // namespace quelo::test
