// SPDX-License-Identifier: GPL-3.0-or-later
#include "summary_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quelo {

namespace {

struct QuantityLook
{
    const char *key;
    const char *name;
    const char *unit;
    int decimals;
};

// In the order of Quantity; the keys are the recording's column names.
const QuantityLook kQuantityLooks[kQuantityCount] = {
    {"rpm", "engine speed", "rpm", 0},
    {"advance_deg", "advance", "degrees", 1},
    {"bus_volts", "bus voltage", "V", 1},
    {"prop_angle_deg", "propeller angle", "degrees", 1},
};

double rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double r = std::round(value * scale) / scale;
    return r == 0 ? 0.0 : r; // no "-0"
}

SummaryFigure figure(const std::string &key, const std::string &label, const std::string &unit,
                     int decimals, std::optional<double> value, const std::string &absent = {})
{
    if (value)
        value = rounded(*value, decimals);
    return {key, label, unit, decimals, value, absent};
}

void appendLimit(std::vector<SummaryFigure> &out, const char *key, const char *label,
                 const LimitFigures &limit)
{
    out.push_back(figure(key, label, "s", 1,
                         limit.recorded ? std::optional<double>(limit.secondsAbove) : std::nullopt,
                         "limit not recorded"));
}

std::string jsonString(const std::string &text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = printableAt(text, i);
        if (length > 0 && text[i] != '"' && text[i] != '\\') {
            out.append(text, i, length);
            i += length;
            continue;
        }
        const auto b = static_cast<unsigned char>(text[i++]);
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
        out += b == '"' ? "\\\"" : b == '\\' ? "\\\\" : escaped;
    }
    return out + "\"";
}

std::string jsonNumber(const std::optional<double> &value, int decimals)
{
    return value ? numberText(*value, decimals) : "null";
}

std::string jsonBody(const SummaryReport &r)
{
    std::string out = "{\"file\":" + jsonString(r.name) + ",\"span\":" + jsonString(r.spanText);
    out += ",\"thinned\":" + std::string(r.thinned ? "true" : "false") + ",\"start\":{";
    for (std::size_t i = 0; i < r.start.size(); ++i)
        out += (i ? "," : "") + jsonString(r.start[i].first) + ":" + jsonString(r.start[i].second);
    out += "},\"figures\":{";
    for (std::size_t i = 0; i < r.figures.size(); ++i)
        out += (i ? ",\"" : "\"") + r.figures[i].key +
               "\":" + jsonNumber(r.figures[i].value, r.figures[i].decimals);
    return out + "}}";
}

std::optional<double> numberOf(const std::string &text)
{
    char *end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// The parameters either run reported at its start, A's order first.
std::vector<std::string> startKeys(const SummaryReport &a, const SummaryReport &b)
{
    std::vector<std::string> keys;
    for (const Configuration *c : {&a.start, &b.start})
        for (const auto &kv : *c)
            if (std::find(keys.begin(), keys.end(), kv.first) == keys.end())
                keys.push_back(kv.first);
    return keys;
}

// The decimal places a number's text shows.
int placesOf(const std::string &number)
{
    const auto point = number.find('.');
    return point == std::string::npos ? 0
                                      : int(std::min<std::size_t>(number.size() - point - 1, 6));
}

std::string startValue(const Configuration &config, const std::string &key)
{
    for (const auto &kv : config)
        if (kv.first == key)
            return kv.second;
    return {};
}

std::string header(const SummaryReport &r, const std::string &prefix)
{
    std::string out = prefix + printableText(r.name) + "\n";
    if (r.thinned)
        out += "note: " + printableText(r.name) +
               " holds more rows than are kept; the means are taken over rows spread evenly "
               "through it\n";
    return out;
}

} // namespace

std::string numberText(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, rounded(value, decimals));
    return text;
}

std::string printableText(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = printableAt(text, i);
        if (length > 0 && text[i] != '\\') {
            out.append(text, i, length);
            i += length;
            continue;
        }
        static const char hex[] = "0123456789abcdef";
        const auto b = static_cast<unsigned char>(text[i++]);
        out += b == '\\' ? std::string("\\\\") : std::string{'\\', 'x', hex[b >> 4], hex[b & 15]};
    }
    return out;
}

std::vector<SummaryFigure> summaryFigures(const RunSummary &s)
{
    std::vector<SummaryFigure> out;
    out.push_back(figure("run_length_s", "run length", "s", 1, s.lengthS));
    out.push_back(figure("link_down_s", "link down", "s", 1, s.linkDownS));
    out.push_back(figure("marks", "marks", "", 0, double(s.marks)));
    for (std::size_t q = 0; q < kQuantityCount; ++q) {
        const QuantityLook &look = kQuantityLooks[q];
        const SeriesFigures &f = s.series[q];
        const std::string key = look.key, name = look.name;
        const auto some = [&](double v) {
            return f.count > 0 ? std::optional<double>(v) : std::nullopt;
        };
        out.push_back(figure(key + "_min", name + " minimum", look.unit, look.decimals, some(f.min),
                             "no values"));
        out.push_back(figure(key + "_max", name + " maximum", look.unit, look.decimals, some(f.max),
                             "no values"));
        out.push_back(figure(key + "_mean", name + " mean", look.unit, look.decimals, some(f.mean),
                             "no values"));
        out.push_back(figure(key + "_time_weighted_mean", name + " time-weighted mean", look.unit,
                             look.decimals, f.timeWeightedMean, "no values"));
    }
    appendLimit(out, "above_max_rpm_limit_s", "time above max rpm limit", s.rpmLimit);
    appendLimit(out, "above_max_advance_limit_s", "time above max advance limit", s.advanceLimit);
    return out;
}

std::string shownValue(const SummaryFigure &f)
{
    if (!f.value)
        return f.absent;
    return numberText(*f.value, f.decimals) + (f.unit.empty() ? "" : " " + f.unit);
}

std::optional<double> difference(const SummaryFigure &a, const SummaryFigure &b)
{
    if (!a.value || !b.value)
        return std::nullopt;
    return rounded(*b.value - *a.value, a.decimals);
}

std::string summaryText(const SummaryReport &r)
{
    std::string out = header(r, "file: ") + "span: " + r.spanText + "\n";
    for (const auto &kv : r.start)
        out += "at the start, " + printableText(kv.first) + ": " + printableText(kv.second) + "\n";
    for (const SummaryFigure &f : r.figures)
        out += f.label + ": " + shownValue(f) + "\n";
    return out;
}

std::string summaryJson(const SummaryReport &r)
{
    return jsonBody(r) + "\n";
}

std::string comparisonText(const SummaryReport &a, const SummaryReport &b)
{
    std::string out = header(a, "A: ") + header(b, "B: ") + "span: " + a.spanText + "\n";
    for (const std::string &key : startKeys(a, b)) {
        const std::string va = startValue(a.start, key), vb = startValue(b.start, key);
        const auto na = numberOf(va), nb = numberOf(vb);
        out += "at the start, " + printableText(key) + ": A " +
               (va.empty() ? "not reported" : printableText(va)) + ", B " +
               (vb.empty() ? "not reported" : printableText(vb));
        if (na && nb)
            out += ", difference " + numberText(*nb - *na, std::max(placesOf(va), placesOf(vb)));
        out += "\n";
    }
    for (std::size_t i = 0; i < a.figures.size() && i < b.figures.size(); ++i) {
        const SummaryFigure &fa = a.figures[i], &fb = b.figures[i];
        const auto d = difference(fa, fb);
        SummaryFigure shownDifference = fa;
        shownDifference.value = d;
        shownDifference.absent = "n/a";
        out += fa.label + ": A " + shownValue(fa) + ", B " + shownValue(fb) + ", difference " +
               shownValue(shownDifference) + "\n";
    }
    return out;
}

std::string comparisonJson(const SummaryReport &a, const SummaryReport &b)
{
    std::string out = "{\"a\":" + jsonBody(a) + ",\"b\":" + jsonBody(b) + ",\"difference\":{";
    for (std::size_t i = 0; i < a.figures.size() && i < b.figures.size(); ++i)
        out += (i ? ",\"" : "\"") + a.figures[i].key +
               "\":" + jsonNumber(difference(a.figures[i], b.figures[i]), a.figures[i].decimals);
    return out + "}}\n";
}

} // namespace quelo
