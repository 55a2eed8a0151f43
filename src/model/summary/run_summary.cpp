// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_summary.h"

#include <algorithm>

namespace quelo {

namespace {

// The link-down time before any moment, from the stretches (in time order, apart) as prefix
// sums, so that a span's known time costs two binary searches however many stretches a run has.
class DownTime
{
public:
    explicit DownTime(const std::vector<TimeSpan> &spans) : m_spans(spans)
    {
        m_before.reserve(spans.size() + 1);
        m_before.push_back(0);
        for (const TimeSpan &s : spans)
            m_before.push_back(m_before.back() + (s.to - s.from));
    }

    double before(double t) const
    {
        const auto k =
            std::size_t(std::lower_bound(m_spans.begin(), m_spans.end(), t,
                                         [](const TimeSpan &s, double at) { return s.from < at; }) -
                        m_spans.begin());
        double down = m_before[k];
        if (k > 0 && m_spans[k - 1].to > t)
            down -= m_spans[k - 1].to - t; // t falls inside that stretch
        return down;
    }

    // The time of [from, to] with a working link.
    double known(double from, double to) const
    {
        return to > from ? (to - from) - (before(to) - before(from)) : 0;
    }

private:
    const std::vector<TimeSpan> &m_spans;
    std::vector<double> m_before;
};

struct Hold
{
    double from = 0;
    double to = 0;
    double value = 0;
};

// The known time of a hold above the limits in force during it.
double knownAbove(const Hold &h, const std::vector<LimitStretch> &limits, const DownTime &down)
{
    auto it = std::lower_bound(limits.begin(), limits.end(), h.from,
                               [](const LimitStretch &s, double at) { return s.to <= at; });
    double above = 0;
    for (; it != limits.end() && it->from < h.to; ++it)
        if (h.value > it->value)
            above += down.known(std::max(h.from, it->from), std::min(h.to, it->to));
    return above;
}

bool covers(const std::vector<LimitStretch> &limits, TimeSpan span)
{
    return std::any_of(limits.begin(), limits.end(), [&](const LimitStretch &s) {
        return s.from <= span.to && s.to >= span.from;
    });
}

// Walks the holds of a series that touch the span: from the last sample at or before its start
// (or its first sample) to the last sample inside it.
template <typename Visit>
void forEachHold(const std::vector<TrendPoint> &points, TimeSpan span, Visit visit)
{
    auto it = std::upper_bound(points.begin(), points.end(), span.from,
                               [](double at, const TrendPoint &p) { return at < p.t; });
    if (it != points.begin())
        --it;
    for (; it != points.end() && it->t <= span.to; ++it) {
        const double next = it + 1 != points.end() ? (it + 1)->t : span.to;
        const Hold hold{std::max(it->t, span.from), std::min(next, span.to), it->v};
        visit(*it, hold);
    }
}

SeriesFigures seriesFigures(const std::vector<TrendPoint> &points, TimeSpan span,
                            const DownTime &down, const std::vector<LimitStretch> *limits,
                            LimitFigures *limit)
{
    SeriesFigures f;
    double sum = 0, weighted = 0, weight = 0;
    forEachHold(points, span, [&](const TrendPoint &p, const Hold &hold) {
        if (p.t >= span.from) {
            f.min = f.count == 0 ? p.v : std::min(f.min, p.v);
            f.max = f.count == 0 ? p.v : std::max(f.max, p.v);
            sum += p.v;
            ++f.count;
        }
        const double known = down.known(hold.from, hold.to);
        weighted += p.v * known;
        weight += known;
        if (limits)
            limit->secondsAbove += knownAbove(hold, *limits, down) / 1000;
    });
    if (f.count > 0)
        f.mean = sum / double(f.count);
    if (weight > 0)
        f.timeWeightedMean = weighted / weight;
    else if (f.count > 0)
        f.timeWeightedMean = f.mean;
    return f;
}

std::optional<std::pair<std::string, std::string>> parameterOf(const RecordedEvent &e)
{
    const auto eq = e.text.find('=');
    if (e.kind != RunEventKind::ParameterReported || eq == std::string::npos)
        return std::nullopt;
    return std::make_pair(e.text.substr(0, eq), e.text.substr(eq + 1));
}

} // namespace

const std::vector<TrendPoint> &seriesOf(const Recording &recording, Quantity quantity)
{
    switch (quantity) {
    case Quantity::EngineSpeed:
        return recording.rpm;
    case Quantity::Advance:
        return recording.advanceDeg;
    case Quantity::BusVolts:
        return recording.busVolts;
    case Quantity::PropAngle:
        break;
    }
    return recording.propAngleDeg;
}

std::optional<TimeSpan> runSpan(const Recording &recording)
{
    std::optional<TimeSpan> span;
    const auto take = [&span](double t) {
        span = span ? TimeSpan{std::min(span->from, t), std::max(span->to, t)} : TimeSpan{t, t};
    };
    for (std::size_t q = 0; q < kQuantityCount; ++q) {
        const std::vector<TrendPoint> &points = seriesOf(recording, Quantity(q));
        if (!points.empty()) {
            take(points.front().t);
            take(points.back().t);
        }
    }
    if (!recording.events.empty()) {
        take(recording.events.front().t);
        take(recording.events.back().t);
    }
    return span;
}

RunSummary summarize(const Recording &recording, const ChartMarks &marks, TimeSpan span)
{
    RunSummary s;
    s.span = span;
    s.lengthS = (span.to - span.from) / 1000;
    const DownTime down(marks.linkDown);
    s.linkDownS = (down.before(span.to) - down.before(span.from)) / 1000;
    for (const RecordedEvent &e : recording.events)
        s.marks += e.kind == RunEventKind::Mark && e.t >= span.from && e.t <= span.to ? 1 : 0;
    s.rpmLimit.recorded = covers(marks.rpmLimit, span);
    s.advanceLimit.recorded = covers(marks.advanceLimit, span);
    for (std::size_t q = 0; q < kQuantityCount; ++q) {
        const auto quantity = Quantity(q);
        const bool rpm = quantity == Quantity::EngineSpeed;
        const bool advance = quantity == Quantity::Advance;
        s.series[q] = seriesFigures(seriesOf(recording, quantity), span, down,
                                    rpm       ? &marks.rpmLimit
                                    : advance ? &marks.advanceLimit
                                              : nullptr,
                                    rpm ? &s.rpmLimit : &s.advanceLimit);
    }
    return s;
}

RunSummary summarize(const Recording &recording)
{
    const std::optional<TimeSpan> span = runSpan(recording);
    if (!span)
        return {};
    return summarize(recording, chartMarks(recording.events, span->to), *span);
}

std::optional<double> markTime(const Recording &recording, const std::string &name, bool *twice)
{
    const bool bare = !name.empty() && std::all_of(name.begin(), name.end(),
                                                   [](char c) { return c >= '0' && c <= '9'; });
    const std::string text = bare ? "mark " + name : name;
    std::optional<double> found;
    for (const RecordedEvent &e : recording.events) {
        if (e.kind != RunEventKind::Mark || e.text != text)
            continue;
        if (found) {
            if (twice)
                *twice = true;
            return std::nullopt;
        }
        found = e.t;
    }
    return found;
}

Configuration configurationAt(const std::vector<RecordedEvent> &events, double t)
{
    Configuration config;
    for (const RecordedEvent &e : events) {
        if (e.t > t)
            break;
        const auto parameter = parameterOf(e);
        if (!parameter)
            continue;
        auto it = std::find_if(config.begin(), config.end(),
                               [&](const auto &kv) { return kv.first == parameter->first; });
        if (it == config.end())
            config.push_back(*parameter);
        else
            it->second = parameter->second;
    }
    return config;
}

Configuration startingConfiguration(const std::vector<RecordedEvent> &events)
{
    Configuration config;
    for (const RecordedEvent &e : events) {
        const auto parameter = parameterOf(e);
        if (parameter && std::none_of(config.begin(), config.end(),
                                      [&](const auto &kv) { return kv.first == parameter->first; }))
            config.push_back(*parameter);
    }
    return config;
}

} // namespace quelo
