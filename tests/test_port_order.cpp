// SPDX-License-Identifier: GPL-3.0-or-later
#include "port_order.h"

#include <gtest/gtest.h>

using namespace quelo;

TEST(PortOrder, UsbAdaptersFirstThenTheRestByNumber)
{
    const std::vector<std::string> ordered =
        orderSerialDevices({"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyACM0", "/dev/ttyS0",
                            "/dev/ttyUSB1", "/dev/ttyUSB0"});
    EXPECT_EQ(ordered, (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1",
                                                 "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10"}));
    EXPECT_EQ(orderSerialDevices({"/dev/cu.Bluetooth", "/dev/cu.usbserial-1"}).front(),
              "/dev/cu.usbserial-1");
}

TEST(PortOrder, PortListKeepsEmptyEntries)
{
    EXPECT_EQ(parsePortList("a,,c"), (std::vector<std::string>{"a", "", "c"}));
    EXPECT_EQ(parsePortList("/dev/pts/4"), (std::vector<std::string>{"/dev/pts/4", "", ""}));
    EXPECT_EQ(parsePortList(",b"), (std::vector<std::string>{"", "b", ""}));
    // A fourth entry is kept, so the command line can refuse it rather than drop it unseen.
    EXPECT_EQ(parsePortList("a,b,c,d"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(parsePortList("a,b,c,"), (std::vector<std::string>{"a", "b", "c", ""}));
}
