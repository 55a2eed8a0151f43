// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace quelo {

// A failing control or port operation, or a 16-bit overflow. It ends the running handler at the
// statement that failed; the event dispatcher reports it to the user and carries on.
class HandlerError : public std::runtime_error
{
public:
    explicit HandlerError(const std::string &what) : std::runtime_error(what) {}
};

class OverflowError : public HandlerError
{
public:
    explicit OverflowError(const std::string &what) : HandlerError("Overflow: " + what) {}
};

class PortError : public HandlerError
{
public:
    explicit PortError(const std::string &what) : HandlerError(what) {}
};

} // namespace quelo
