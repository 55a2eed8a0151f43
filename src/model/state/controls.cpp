// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"

#include <cstdlib>

namespace quelo {

bool tagIs(const std::string &tag, double value)
{
    // The handlers store only numbers in a Tag; an empty Tag reads as 0.
    return std::strtod(tag.c_str(), nullptr) == value;
}

Gauge::Gauge(const GaugeFace &face) : Value(face.startValue), m_face(&face)
{
    restartBands();
}

void Gauge::restartBands()
{
    m_bandEnds.clear();
    for (const GaugeBand &band : m_face->bands)
        m_bandEnds.push_back(band.to);
}

void Gauge::setBandSelector(std::int16_t band)
{
    if (band < 0 || static_cast<std::size_t>(band) >= m_bandEnds.size())
        throw HandlerError("Invalid band number");
    m_band = band;
}

void Gauge::setBandEndValue(double end)
{
    m_bandEnds.at(static_cast<std::size_t>(m_band)) = end;
}

} // namespace quelo
