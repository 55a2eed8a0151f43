// SPDX-License-Identifier: GPL-3.0-or-later
#include "stamp.h"

#include <cstdio>
#include <cstdlib>

namespace quelo {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

// Days since 1970-01-01 to the proleptic Gregorian date and back (H. Hinnant's algorithms).
void civilFromDays(std::int64_t z, int &y, int &m, int &d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

std::int64_t daysFromCivil(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Reads exactly `count` digits at text[pos]; -1 when any is not a digit.
int digitsAt(const std::string &text, std::size_t pos, std::size_t count)
{
    if (pos + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool separatorsAt(const std::string &t)
{
    return t.size() >= 23 && t[4] == '-' && t[7] == '-' && t[10] == 'T' && t[13] == ':' &&
           t[16] == ':' && t[19] == '.';
}

} // namespace

std::string isoTime(std::int64_t utcMs, int utcOffsetMinutes)
{
    const std::int64_t localMs = utcMs + std::int64_t(utcOffsetMinutes) * 60000;
    const std::int64_t days = floorDiv(localMs, kMsPerDay);
    const std::int64_t msOfDay = localMs - days * kMsPerDay;
    int y = 0, mo = 0, d = 0;
    civilFromDays(days, y, mo, d);
    const int offset = std::abs(utcOffsetMinutes);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d", y, mo, d,
                  int(msOfDay / 3600000), int(msOfDay / 60000 % 60), int(msOfDay / 1000 % 60),
                  int(msOfDay % 1000), utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

std::optional<std::int64_t> parseIsoTime(const std::string &t)
{
    if (!separatorsAt(t))
        return std::nullopt;
    const int y = digitsAt(t, 0, 4), mo = digitsAt(t, 5, 2), d = digitsAt(t, 8, 2);
    const int h = digitsAt(t, 11, 2), mi = digitsAt(t, 14, 2), s = digitsAt(t, 17, 2);
    const int ms = digitsAt(t, 20, 3);
    if (y < 0 || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 ||
        s < 0 || s > 60 || ms < 0)
        return std::nullopt;
    int offsetMinutes = 0;
    if (t.size() == 24 && t[23] == 'Z') {
        offsetMinutes = 0;
    } else if (t.size() == 29 && (t[23] == '+' || t[23] == '-') && t[26] == ':') {
        const int oh = digitsAt(t, 24, 2), om = digitsAt(t, 27, 2);
        if (oh < 0 || oh > 23 || om < 0 || om > 59)
            return std::nullopt;
        offsetMinutes = (t[23] == '-' ? -1 : 1) * (oh * 60 + om);
    } else {
        return std::nullopt;
    }
    const std::int64_t local =
        daysFromCivil(y, mo, d) * kMsPerDay + ((h * 60 + mi) * 60 + s) * std::int64_t(1000) + ms;
    return local - std::int64_t(offsetMinutes) * 60000;
}

} // namespace quelo
