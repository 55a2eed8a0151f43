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

// The link is not working after an event of this kind, until the next link up.
bool linkDownFrom(RunEventKind kind)
{
    return isStatusLine(kind) && kind != RunEventKind::LinkUp;
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

ChartEvent chartEvent(const RecordedEvent &event)
{
    ChartEvent out{event.t, event.kind, event.text};
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
    bool down = false;
    double downSince = 0;
    for (const RecordedEvent &e : events) {
        marks.events.push_back(chartEvent(e));
        if (e.kind == RunEventKind::LinkUp && down) {
            marks.linkDown.push_back({downSince, e.t});
            down = false;
        } else if (linkDownFrom(e.kind) && !down) {
            down = true;
            downSince = e.t;
        } else if (e.kind == RunEventKind::ParameterReported) {
            const auto eq = e.text.find('=');
            const std::string key = e.text.substr(0, eq);
            if (key == kRpmLimitKey)
                setLimit(marks.rpmLimit, e.t, numberAfter(e.text, eq + 1));
            else if (key == kAdvanceLimitKey)
                setLimit(marks.advanceLimit, e.t, numberAfter(e.text, eq + 1));
        }
    }
    if (down)
        marks.linkDown.push_back({downSince, std::max(endMs, downSince)});
    closeOpen(marks.rpmLimit, endMs);
    closeOpen(marks.advanceLimit, endMs);
    return marks;
}

std::vector<ChartEvent> ChartMarks::marks() const
{
    std::vector<ChartEvent> out;
    for (const ChartEvent &e : events)
        if (e.kind == RunEventKind::Mark)
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
