// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <utility>

namespace quelo {

// The transmit queue: a text that tells its listener whenever text is put into it (assigned or
// appended) and it is not empty afterwards, so that the pacing sleeps while nothing is queued and
// wakes for whatever queues text, whoever writes it. Reads like the std::string it holds.
class TransmitQueue
{
public:
    TransmitQueue &operator=(std::string text)
    {
        m_text = std::move(text);
        written();
        return *this;
    }
    TransmitQueue &operator=(const char *text) { return *this = std::string(text); }
    TransmitQueue &operator+=(const std::string &text)
    {
        m_text += text;
        written();
        return *this;
    }

    operator const std::string &() const { return m_text; }
    const std::string &str() const { return m_text; }
    bool empty() const { return m_text.empty(); }
    std::size_t size() const { return m_text.size(); }
    std::size_t length() const { return m_text.length(); }
    const char *c_str() const { return m_text.c_str(); }
    char front() const { return m_text.front(); }
    char back() const { return m_text.back(); }
    std::string substr(std::size_t pos, std::size_t n = std::string::npos) const
    {
        return m_text.substr(pos, n);
    }
    std::size_t find(const std::string &s, std::size_t pos = 0) const
    {
        return m_text.find(s, pos);
    }
    std::size_t find(char c, std::size_t pos = 0) const { return m_text.find(c, pos); }

    void erase(std::size_t pos, std::size_t n) { m_text.erase(pos, n); }
    void clear() { m_text.clear(); }

    // Called after each assignment or append that leaves text queued.
    void setFilledListener(std::function<void()> listener) { m_filled = std::move(listener); }

    friend bool operator==(const TransmitQueue &a, const std::string &b) { return a.m_text == b; }
    friend bool operator==(const TransmitQueue &a, const char *b) { return a.m_text == b; }
    friend bool operator!=(const TransmitQueue &a, const std::string &b) { return a.m_text != b; }
    friend bool operator!=(const TransmitQueue &a, const char *b) { return a.m_text != b; }
    friend std::ostream &operator<<(std::ostream &os, const TransmitQueue &q)
    {
        return os << q.m_text;
    }

private:
    void written()
    {
        if (!m_text.empty() && m_filled)
            m_filled();
    }

    std::string m_text;
    std::function<void()> m_filled;
};

// A gauge target: a 16-bit integer that tells its listener when it changes, so that the needle
// animation sleeps while every needle rests on its target and wakes for a new one.
class GaugeTarget
{
public:
    GaugeTarget &operator=(std::int16_t value)
    {
        const bool changed = value != m_value;
        m_value = value;
        if (changed && m_changed)
            m_changed();
        return *this;
    }
    operator std::int16_t() const { return m_value; }

    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }

private:
    std::int16_t m_value = 0;
    std::function<void()> m_changed;
};

} // namespace quelo
