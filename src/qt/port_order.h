// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace quelo {

// Orders serial device names for ports 1..3: USB adapters (ttyUSB*, ttyACM*, cu.usb*) first,
// then the rest; within each group by name, with numbers compared by value (ttyS2 < ttyS10).
std::vector<std::string> orderSerialDevices(std::vector<std::string> names);

// Splits a --ports value "DEV1,DEV2,DEV3" into its entries, at least three: a missing entry is
// empty. More than three entries are all returned, for the caller to refuse.
std::vector<std::string> parsePortList(const std::string &list);

} // namespace quelo
