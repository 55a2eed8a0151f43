// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "errors.h"
#include "gauge_face.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quelo {

// Packed colours used by the handlers, 0xRRGGBB.
inline constexpr std::uint32_t kGreen = 0x00FF00;
inline constexpr std::uint32_t kDarkGrey = 0x404040;
inline constexpr std::uint32_t kPanelClosedGreen = 0x008000;
inline constexpr std::uint32_t kPanelOpenOrange = 0xFF8000;

// A flag is "1" when its Tag text, read as a number, equals 1.
bool tagIs(const std::string &tag, double value);

struct TextBox
{
    std::string Text;
    std::string Tag = "0";
    bool Enabled = true;
    std::string ToolTip;
};

struct Button
{
    std::uint32_t BackColor;
};

struct Frame
{
    bool Visible = false;
};

// Horizontal slider. Setting a different Value raises Change at once, before the setter
// returns; setting the value it already has raises nothing.
class ScrollBar
{
public:
    ScrollBar(std::int16_t min, std::int16_t max, std::int16_t value)
        : m_min(min), m_max(max), m_value(value), m_start(value)
    {
    }

    std::int16_t Min() const { return m_min; }
    std::int16_t Max() const { return m_max; }
    std::int16_t Value() const { return m_value; }
    bool inRange(long long v) const { return v >= m_min && v <= m_max; }

    void setValue(std::int16_t v)
    {
        if (!inRange(v))
            throw HandlerError("Invalid property value");
        if (v == m_value)
            return;
        m_value = v;
        if (Change)
            Change();
    }

    // Back to the value, flag and visibility the window started with, raising nothing: the
    // slider no longer shows anything a module reported.
    void restart()
    {
        m_value = m_start;
        Tag = "0";
        Visible = false;
    }

    std::string Tag = "0";
    bool Visible = false;
    std::function<void()> Change;

private:
    std::int16_t m_min;
    std::int16_t m_max;
    std::int16_t m_value;
    std::int16_t m_start;
};

// Needle gauge: needle value in scale units, visibility, Tag, and the band selector with the
// band end value that moves the upper end of the selected band.
class Gauge
{
public:
    explicit Gauge(const GaugeFace &face);

    const GaugeFace &face() const { return *m_face; }

    double Value = 0.0;
    std::string Tag = "0";

    std::int16_t BandSelector() const { return m_band; }
    void setBandSelector(std::int16_t band);
    void setBandEndValue(double end);
    // The bands end where the face starts them; the selector is left as it is.
    void restartBands();
    double bandEnd(int band) const { return m_bandEnds.at(static_cast<std::size_t>(band)); }

private:
    const GaugeFace *m_face;
    std::int16_t m_band = 0;
    std::vector<double> m_bandEnds;
};

// The flags by what they mean (the glossary is in window_state.h).
inline bool writePending(const ScrollBar &slider)
{
    return tagIs(slider.Tag, 1);
}
inline bool reported(const TextBox &box)
{
    return tagIs(box.Tag, 1);
}

} // namespace quelo
