// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run_summary.h"

#include <optional>
#include <string>
#include <vector>

namespace quelo {

// One figure as it is shown: its value rounded as printed (rpm whole, the rest to a tenth), so
// that the text, the JSON and a difference all hold the same number.
struct SummaryFigure
{
    std::string key;   // its JSON name: "rpm_max"
    std::string label; // "engine speed maximum"
    std::string unit;  // "rpm", "degrees", "V", "s", or none
    int decimals = 1;
    std::optional<double> value;
    std::string absent; // said instead of a value: "no values", "limit not recorded"
};

// A run's summary ready to show: where it comes from, the span, what the module held at the
// start, the figures.
struct SummaryReport
{
    std::string name;     // the file's name, as read (escaped when shown)
    std::string spanText; // "whole run", "from mark 1 to mark 2"
    Configuration start;
    std::vector<SummaryFigure> figures;
    bool thinned = false; // the file held more rows than were kept: the means are estimates
};

std::vector<SummaryFigure> summaryFigures(const RunSummary &summary);

// One line per figure, units named: "engine speed maximum: 3100 rpm".
std::string summaryText(const SummaryReport &report);
// One JSON object; numbers as the text shows them, a figure without a value null.
std::string summaryJson(const SummaryReport &report);

// Two runs side by side, one line per figure: "run length: A 120.0 s, B 118.5 s, difference
// -1.5 s" (the difference is B - A, of the figures as shown).
std::string comparisonText(const SummaryReport &a, const SummaryReport &b);
// {"a": ..., "b": ..., "difference": {key: number or null}}.
std::string comparisonJson(const SummaryReport &a, const SummaryReport &b);

// B - A of two figures with the same key, rounded as they are; none unless both have a value.
std::optional<double> difference(const SummaryFigure &a, const SummaryFigure &b);
// A figure's value as shown, with its unit ("3100 rpm"), or what stands for it.
std::string shownValue(const SummaryFigure &figure);
// A number as shown: `decimals` places, a point, no "-0".
std::string numberText(double value, int decimals);
// A text from a file as a line may show it: control characters and bytes out of place as \xNN,
// a backslash doubled.
std::string printableText(const std::string &text);

} // namespace quelo
