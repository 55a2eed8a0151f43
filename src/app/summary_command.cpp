// SPDX-License-Identifier: GPL-3.0-or-later
#include "summary_command.h"

#include "file_paths.h"
#include "model_texts.h"
#include "run_file.h"
#include "summary_report.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(SummaryCommand)
};

// A recording read for a summary, or what is wrong with it.
struct SummaryInput
{
    QString path;
    RecordingRead read;
    std::optional<TimeSpan> span;
};

QString fileName(const QString &path)
{
    return QString::fromStdString(printableText(QFileInfo(path).fileName().toStdString()));
}

QString marksOf(const Recording &run)
{
    QStringList names;
    for (const RecordedEvent &e : run.events)
        if (e.kind == RunEventKind::Mark)
            names << QString::fromStdString(printableText(e.text));
    return names.isEmpty() ? Text::tr("it has no marks")
                           : Text::tr("its marks: %1").arg(names.join(QStringLiteral(", ")));
}

// A mark as the options name it ("mark 2" for a bare 2), escaped; `otherwise` when none is.
std::string markName(const QString &mark, const char *otherwise)
{
    const std::string m = mark.toStdString();
    if (m.empty())
        return otherwise;
    return printableText(m.find_first_not_of("0123456789") == std::string::npos ? "mark " + m : m);
}

// The moment a --from or --to names in the run; the run's end for an empty name.
std::optional<QString> markAt(const SummaryInput &in, const QString &option, const QString &mark,
                              double &t)
{
    if (mark.isEmpty())
        return std::nullopt;
    bool twice = false;
    const auto found = markTime(in.read.recording, mark.toStdString(), &twice);
    const QString shown = QString::fromStdString(printableText(mark.toStdString()));
    if (twice)
        return Text::tr("%1 %2: %3 holds that mark more than once")
            .arg(option, shown, fileName(in.path));
    if (!found)
        return Text::tr("%1 %2: no such mark in %3 (%4)")
            .arg(option, shown, fileName(in.path), marksOf(in.read.recording));
    t = *found;
    return std::nullopt;
}

// Reads a file and finds the span the options name; the message when it cannot.
std::optional<QString> load(SummaryInput &in, const Options &options)
{
    in.read = readRecordingFile(in.path, {}, kSummaryPointLimit);
    if (!in.read.error.empty())
        return modelText(in.read.error);
    const Recording &run = in.read.recording;
    if (run.rpm.empty() && run.advanceDeg.empty() && run.busVolts.empty() &&
        run.propAngleDeg.empty())
        return Text::tr("%1 holds no telemetry rows: there is nothing to summarise")
            .arg(fileName(in.path));
    TimeSpan span = *runSpan(run);
    if (const auto wrong = markAt(in, QStringLiteral("--from"), options.summaryFrom, span.from))
        return wrong;
    if (const auto wrong = markAt(in, QStringLiteral("--to"), options.summaryTo, span.to))
        return wrong;
    if (span.from > span.to)
        return Text::tr("--from %1 comes after --to %2 in %3")
            .arg(QString::fromStdString(markName(options.summaryFrom, "")),
                 QString::fromStdString(markName(options.summaryTo, "")), fileName(in.path));
    in.span = span;
    return std::nullopt;
}

std::string spanText(const Options &options)
{
    if (options.summaryFrom.isEmpty() && options.summaryTo.isEmpty())
        return "whole run";
    return "from " + markName(options.summaryFrom, "the start") + " to " +
           markName(options.summaryTo, "the end");
}

SummaryReport reportOf(const SummaryInput &in, const Options &options)
{
    const Recording &run = in.read.recording;
    const RunSummary summary = summarize(run, chartMarks(run.events, runSpan(run)->to), *in.span);
    return {QFileInfo(in.path).fileName().toStdString(), spanText(options),
            startingConfiguration(run.events), summaryFigures(summary), in.read.thinned};
}

int refuse(const QString &message)
{
    std::fprintf(stderr, "quelo-link: %s\n", qPrintable(Text::tr("--summary: %1").arg(message)));
    return kExitUsage;
}

} // namespace

int printSummary(const Options &options)
{
    const bool comparing = !options.compare.isEmpty();
    if (comparing) {
        const QFileInfo a(options.summary), b(options.compare);
        if (a.exists() && a.canonicalFilePath() == b.canonicalFilePath())
            return refuse(Text::tr("--compare names the same file as --summary (%1): "
                                   "compare two different recordings")
                              .arg(fileName(options.summary)));
    }
    SummaryInput a{options.summary, {}, {}};
    if (const auto wrong = load(a, options))
        return refuse(*wrong);
    SummaryInput b{options.compare, {}, {}};
    if (comparing)
        if (const auto wrong = load(b, options))
            return refuse(*wrong);
    const SummaryReport ra = reportOf(a, options);
    std::string text;
    if (comparing) {
        const SummaryReport rb = reportOf(b, options);
        text = options.summaryJson ? comparisonJson(ra, rb) : comparisonText(ra, rb);
    } else {
        text = options.summaryJson ? summaryJson(ra) : summaryText(ra);
    }
    if (!writeStandardOutput(text.data(), text.size())) {
        std::fprintf(stderr, "quelo-link: %s\n",
                     qPrintable(Text::tr("--summary: standard output could not be written")));
        return kExitLink;
    }
    return kExitDone;
}

} // namespace quelo
