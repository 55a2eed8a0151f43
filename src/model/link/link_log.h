// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace quelo {

// Where the model reports what happens on the link, one line of text per event: status-line
// changes, ports opened, closed and failing with the reason, writes the module refused. The
// program sends the lines to its logging category; tests collect them. Silent without a sink.
class LinkLog
{
public:
    using Sink = std::function<void(const std::string &)>;

    void setSink(Sink sink) { m_sink = std::move(sink); }
    void event(const std::string &text) const
    {
        if (m_sink)
            m_sink(text);
    }

private:
    Sink m_sink;
};

} // namespace quelo
