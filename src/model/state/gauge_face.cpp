// SPDX-License-Identifier: GPL-3.0-or-later
#include "gauge_face.h"

#include <algorithm>

namespace quelo {

namespace {
constexpr std::uint32_t kBlack = 0x000000;

GaugeFace dial(double min, double max, double major, double minor)
{
    GaugeFace f{};
    f.scaleMin = min;
    f.scaleMax = max;
    f.angleMin = 270.0;
    f.angleMax = 360.0;
    f.pivotX = 1.0;
    f.pivotY = -1.0;
    f.halfWidth = 1.15;
    f.halfHeight = 1.15;
    f.faceColour = 0x408080;
    f.outsideColour = 0xFFFFFF;
    f.ticks = {{kBlack, major, min, max, 1.7, 1.85}, {kBlack, minor, min, max, 1.7, 1.75}};
    f.needle = NeedleShape::Line;
    f.needleColour = 0x0000A0;
    f.startValue = min;
    return f;
}
} // namespace

double GaugeFace::angleOf(double value) const
{
    const double v = std::clamp(value, scaleMin, scaleMax);
    return angleMin + (v - scaleMin) / (scaleMax - scaleMin) * (angleMax - angleMin);
}

const GaugeFace &GaugeFace::rpm()
{
    static const GaugeFace face = [] {
        GaugeFace f = dial(0, 3500, 500, 100);
        f.bands = {{0xFF8000, 0, 933.45, 1.68, 1.75},
                   {0xFF0000, 3100, 3500, 1.7, 1.8},
                   {0x80FF00, 933.45, 3100, 1.7, 1.8},
                   {0x00FF00, 1000, 3000, 1.62, 1.65}};
        f.captions = {{"RPM", "Arial", 18, true, kBlack, 0.47, -0.18},
                      {"Engine", "MS Sans Serif", 9.75, false, kBlack, 0.47, -0.6}};
        return f;
    }();
    return face;
}

const GaugeFace &GaugeFace::volts()
{
    static const GaugeFace face = [] {
        GaugeFace f = dial(0, 18, 2, 0.4);
        f.bands = {{0xFF8000, 0, 12, 1.68, 1.75},
                   {0xFF0000, 15, 18, 1.7, 1.8},
                   {0x80FF00, 12, 15, 1.7, 1.8}};
        f.captions = {{"VOLTS", "Arial", 21.75, true, kBlack, 0.58, -0.25},
                      {"Aircraft Buss", "MS Sans Serif", 8.25, false, kBlack, 0.6, -0.6}};
        return f;
    }();
    return face;
}

const GaugeFace &GaugeFace::advance()
{
    static const GaugeFace face = [] {
        GaugeFace f = dial(20, 50, 5, 1);
        f.bands = {{0x000000, 20, 23.335, 1.68, 1.71},
                   {0xFF0000, 40, 50, 1.7, 1.8},
                   {0x00FF00, 25, 40, 1.7, 1.8},
                   {0x0000FF, 20, 50, 1.62, 1.65}};
        f.captions = {{"ADV", "Arial", 18, true, kBlack, 0.66, -0.29},
                      {"Degrees before TDC", "MS Sans Serif", 8.25, false, kBlack, 0.51, -0.62}};
        return f;
    }();
    return face;
}

const GaugeFace &GaugeFace::propeller()
{
    static const GaugeFace face = [] {
        GaugeFace f{};
        f.scaleMin = 0;
        f.scaleMax = 360;
        f.angleMin = 0;
        f.angleMax = 360;
        f.pivotX = 0;
        f.pivotY = 0;
        f.halfWidth = 1.3;
        f.halfHeight = 1.26;
        f.faceColour = 0x000080;
        f.outsideColour = 0x000000;
        f.ticks = {{0x8080FF, 30, 0, 330, 1.06, 1.28},
                   {0x80FF80, 30, 15, 345, 1.1, 1.24},
                   {0x8080FF, 5, 0, 355, 1.06, 1.13}};
        f.captions = {{"PROP ANGLE", "MS Sans Serif", 8.25, true, 0x00FF00, 0, -0.23}};
        f.needle = NeedleShape::ArrowHead;
        f.needleColour = 0xFF0000;
        f.startValue = 0;
        return f;
    }();
    return face;
}

} // namespace quelo
