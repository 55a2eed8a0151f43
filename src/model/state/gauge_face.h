// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace quelo {

// Fixed face of one gauge: scale, angles, pivot, bands, ticks and captions.
// Angles are degrees clockwise from 12 o'clock; lengths are face units, y grows upwards.
struct GaugeBand
{
    std::uint32_t colour; // 0xRRGGBB
    double from;
    double to;
    double innerRadius;
    double outerRadius;
};

struct GaugeTicks
{
    std::uint32_t colour;
    double step;  // scale units
    double first; // first mark, scale units
    double last;  // last mark, scale units
    double innerRadius;
    double outerRadius;
};

struct GaugeCaption
{
    const char *text;
    const char *family; // "Arial" or "MS Sans Serif"
    double pointSize;
    bool bold;
    std::uint32_t colour;
    double x;
    double y;
};

enum class NeedleShape
{
    Line,
    ArrowHead
};

struct GaugeFace
{
    double scaleMin;
    double scaleMax;
    double angleMin; // angle of the scale minimum
    double angleMax; // angle of the scale maximum
    double pivotX;
    double pivotY;
    double halfWidth;  // coordinate window runs from -halfWidth to +halfWidth across
    double halfHeight; // and from -halfHeight to +halfHeight up
    std::uint32_t faceColour;
    std::uint32_t outsideColour;
    std::vector<GaugeBand> bands;
    std::vector<GaugeTicks> ticks;
    std::vector<GaugeCaption> captions;
    NeedleShape needle;
    std::uint32_t needleColour;
    double startValue; // needle value when the window is created

    // Angle of a scale value; values outside the scale are pinned to its ends.
    double angleOf(double value) const;

    static const GaugeFace &rpm();
    static const GaugeFace &volts();
    static const GaugeFace &advance();
    static const GaugeFace &propeller();
};

} // namespace quelo
