// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fake_comm.h"
#include "virtual_clock.h"
#include "window_model.h"
#include "writable_state.h"

namespace quelo::test {

// The window model on a fake serial component and a virtual clock.
struct Harness
{
    VirtualClock clock;
    FakeComm comm;
    int prints = 0;
    WindowModel model{comm, clock, [this] { ++prints; }};
    WindowState &w = writableState(model);

    // Characters arrive from the module in one notification.
    void feed(const std::string &chunk) { comm.deliver(chunk); }

    // Opens port 1 and completes the connection the way the scan does.
    void connect()
    {
        comm.presentPorts.insert(1);
        model.Form_Load();
        clock.advance(1500);
        feed("u1A\r");
    }
};

} // namespace quelo::test
