// SPDX-License-Identifier: GPL-3.0-or-later
#include "port_order.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace quelo {

namespace {

std::string baseName(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isUsbAdapter(const std::string &path)
{
    const std::string name = baseName(path);
    for (const char *prefix : {"ttyUSB", "ttyACM", "cu.usb"}) {
        if (name.rfind(prefix, 0) == 0)
            return true;
    }
    return false;
}

// Name with its trailing number split off, so that ttyS2 sorts before ttyS10.
std::tuple<int, std::string, unsigned long, std::string> sortKey(const std::string &path)
{
    const std::string name = baseName(path);
    std::size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1])))
        --digits;
    const std::string number = name.substr(digits);
    const unsigned long value = number.empty() || number.size() > 9 ? 0 : std::stoul(number);
    return {isUsbAdapter(path) ? 0 : 1, name.substr(0, digits), value, path};
}

} // namespace

std::vector<std::string> orderSerialDevices(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end(),
              [](const std::string &a, const std::string &b) { return sortKey(a) < sortKey(b); });
    return names;
}

std::vector<std::string> parsePortList(const std::string &list)
{
    std::vector<std::string> ports;
    std::size_t start = 0;
    for (;;) {
        const auto comma = list.find(',', start);
        ports.push_back(
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (ports.size() < 3)
        ports.resize(3);
    return ports;
}

} // namespace quelo
