// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart_marks.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace quelo {

namespace {

constexpr const char *kRpmLimitKey = "max_rpm_limit";
constexpr const char *kAdvanceLimitKey = "max_advance_limit";
constexpr std::size_t kLabelLength = 24;

bool startsWith(const std::string &text, const char *prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// "<key>=<value>" with a key of lower-case letters and underscores.
bool isParameterText(const std::string &text)
{
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        return false;
    return std::all_of(text.begin(), text.begin() + long(eq),
                       [](char c) { return (c >= 'a' && c <= 'z') || c == '_'; });
}

std::optional<double> numberAfter(const std::string &text, std::size_t pos)
{
    const std::string tail = text.substr(pos);
    if (tail.empty())
        return std::nullopt;
    char *end = nullptr;
    errno = 0;
    const double v = std::strtod(tail.c_str(), &end);
    if (errno != 0 || end != tail.c_str() + tail.size())
        return std::nullopt;
    return v;
}

// Closes the open stretch of a limit at t and opens one with the new value.
void setLimit(std::vector<LimitStretch> &stretches, double t, std::optional<double> value)
{
    if (!stretches.empty() && stretches.back().to < 0)
        stretches.back().to = t;
    if (value)
        stretches.push_back({t, -1, *value});
}

void closeOpen(std::vector<LimitStretch> &stretches, double endMs)
{
    if (!stretches.empty() && stretches.back().to < 0)
        stretches.back().to = std::max(endMs, stretches.back().from);
}

} // namespace

std::string markText(int n)
{
    return "mark " + std::to_string(n);
}

std::optional<int> markNumber(const std::string &text)
{
    if (!startsWith(text, "mark ") || text.size() == 5 || text.size() > 14)
        return std::nullopt;
    int n = 0;
    for (std::size_t i = 5; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

ChartEvent chartEvent(const RecordedEvent &event)
{
    ChartEvent out{event.t, ChartEventKind::Status, event.text};
    if (markNumber(event.text))
        out.kind = ChartEventKind::Mark;
    else if (event.text == "stored")
        out.kind = ChartEventKind::Stored;
    else if (isParameterText(event.text))
        out.kind = ChartEventKind::Parameter;
    if (out.label.empty())
        out.label = "(status cleared)";
    if (out.label.size() > kLabelLength) {
        std::size_t cut = kLabelLength - 1;
        while (cut > 0 && (static_cast<unsigned char>(out.label[cut]) & 0xC0) == 0x80)
            --cut; // not inside a UTF-8 sequence
        out.label = out.label.substr(0, cut) + "…";
    }
    return out;
}

ChartMarks chartMarks(const std::vector<RecordedEvent> &events, double endMs)
{
    ChartMarks marks;
    std::optional<double> downSince;
    for (const RecordedEvent &e : events) {
        const ChartEvent item = chartEvent(e);
        marks.events.push_back(item);
        if (item.kind == ChartEventKind::Status) {
            const bool up = startsWith(e.text, "Connected ");
            if (up && downSince) {
                marks.linkDown.push_back({*downSince, e.t});
                downSince.reset();
            } else if (!up && !downSince) {
                downSince = e.t;
            }
        } else if (item.kind == ChartEventKind::Parameter) {
            const auto eq = e.text.find('=');
            const std::string key = e.text.substr(0, eq);
            if (key == kRpmLimitKey)
                setLimit(marks.rpmLimit, e.t, numberAfter(e.text, eq + 1));
            else if (key == kAdvanceLimitKey)
                setLimit(marks.advanceLimit, e.t, numberAfter(e.text, eq + 1));
        }
    }
    if (downSince)
        marks.linkDown.push_back({*downSince, std::max(endMs, *downSince)});
    closeOpen(marks.rpmLimit, endMs);
    closeOpen(marks.advanceLimit, endMs);
    return marks;
}

std::vector<ChartEvent> ChartMarks::marks() const
{
    std::vector<ChartEvent> out;
    for (const ChartEvent &e : events)
        if (e.kind == ChartEventKind::Mark)
            out.push_back(e);
    return out;
}

std::optional<TrendPoint> sampleAtOrBefore(const std::vector<TrendPoint> &series, double t)
{
    auto it = std::upper_bound(series.begin(), series.end(), t,
                               [](double at, const TrendPoint &p) { return at < p.t; });
    if (it == series.begin())
        return std::nullopt;
    return *(it - 1);
}

std::optional<TrendPoint> nearestSample(const std::vector<TrendPoint> &series, double t)
{
    if (series.empty())
        return std::nullopt;
    auto it = std::lower_bound(series.begin(), series.end(), t,
                               [](const TrendPoint &p, double at) { return p.t < at; });
    if (it == series.end())
        return series.back();
    if (it == series.begin())
        return *it;
    const TrendPoint &after = *it, &before = *(it - 1);
    return t - before.t <= after.t - t ? before : after;
}

} // namespace quelo
