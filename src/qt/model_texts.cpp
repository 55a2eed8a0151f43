// SPDX-License-Identifier: GPL-3.0-or-later
#include "model_texts.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <iterator>
#include <vector>

namespace quelo {

namespace {

// The shapes of the model's messages outside the client area, whole messages first and the
// general shapes that parts share (lists, the reasons after a ";") last. Parameter names and
// file keys are the module's own terms and stay as they are.
const char *const kShapes[] = {
    // The status bar.
    QT_TRANSLATE_NOOP("ModelText",
                      "Link lost on Comm Port %1; searching until the module answers. %2"),
    QT_TRANSLATE_NOOP("ModelText",
                      "Link lost on Comm Port %1; searching once (RESET searches again). %2"),
    QT_TRANSLATE_NOOP("ModelText", "Connected again on Comm Port %1"),
    QT_TRANSLATE_NOOP("ModelText", "The module is not connected: nothing was stored"),
    QT_TRANSLATE_NOOP("ModelText", "%1 was not changed: no module is connected and answering, or "
                                   "it has not reported the value yet"),
    QT_TRANSLATE_NOOP("ModelText", "Store waiting for the module to report every value"),
    QT_TRANSLATE_NOOP("ModelText", "Store waiting for %1 to be confirmed"),
    QT_TRANSLATE_NOOP("ModelText", "%1. The store was not sent: %2"),
    QT_TRANSLATE_NOOP("ModelText", "The store was not sent: %1"),
    QT_TRANSLATE_NOOP("ModelText", "Not confirmed before %1, and not sent again: %2"),
    QT_TRANSLATE_NOOP("ModelText", "the link was lost"),
    QT_TRANSLATE_NOOP("ModelText", "the module fell silent"),
    QT_TRANSLATE_NOOP("ModelText", "The module kept %1 at %2 (asked %3)"),
    QT_TRANSLATE_NOOP("ModelText", "The module did not confirm %1 %2"),
    QT_TRANSLATE_NOOP("ModelText", "Configuration stored"),
    QT_TRANSLATE_NOOP("ModelText",
                      "This module's configuration differs from %1's last one — is it %2?"),
    QT_TRANSLATE_NOOP("ModelText", "saved for aircraft %1; the aircraft chosen is %2"),
    // Why a text is not an aircraft name.
    QT_TRANSLATE_NOOP("ModelText", "longer than %1 characters"),
    QT_TRANSLATE_NOOP("ModelText", "empty: a name needs at least one character besides spaces"),
    QT_TRANSLATE_NOOP("ModelText", "not valid UTF-8 text"),
    QT_TRANSLATE_NOOP("ModelText", "holds a control or invisible character"),
    // An export or import on standard error.
    QT_TRANSLATE_NOOP("ModelText", "connected on Comm Port %1"),
    QT_TRANSLATE_NOOP("ModelText", "the file was %1; nothing written"),
    QT_TRANSLATE_NOOP("ModelText", "saved from firmware %1; the connected module has firmware %2"),
    QT_TRANSLATE_NOOP("ModelText", "(not named in the file)"),
    QT_TRANSLATE_NOOP("ModelText", "interrupted; nothing written"),
    QT_TRANSLATE_NOOP("ModelText", "interrupted: waiting for the echo of the store already sent"),
    QT_TRANSLATE_NOOP("ModelText",
                      "interrupted: the module did not echo the store; the file's values are live "
                      "in the module, and whether it stored them is not known"),
    QT_TRANSLATE_NOOP("ModelText",
                      "timed out: the module did not echo the store; the file's values are live in "
                      "the module, and whether it stored them is not known"),
    QT_TRANSLATE_NOOP("ModelText", "interrupted"),
    QT_TRANSLATE_NOOP("ModelText", "%1 of %2 parameters reported"),
    QT_TRANSLATE_NOOP("ModelText", "the module already holds every value"),
    QT_TRANSLATE_NOOP("ModelText", "writing %1 of %2 parameters"),
    QT_TRANSLATE_NOOP("ModelText", "putting back %1 of %2 parameters"),
    QT_TRANSLATE_NOOP("ModelText", "the module did not take every value: %1"),
    QT_TRANSLATE_NOOP("ModelText", "all %1 parameters confirmed"),
    QT_TRANSLATE_NOOP("ModelText",
                      "the module echoed the store, but it does not hold every value written: %1"),
    QT_TRANSLATE_NOOP("ModelText", "stored"),
    QT_TRANSLATE_NOOP("ModelText", "the link to the module was lost; nothing written"),
    QT_TRANSLATE_NOOP("ModelText", "the link to the module was lost while writing: the module may "
                                   "hold some of the file's values, and they are not stored"),
    QT_TRANSLATE_NOOP("ModelText", "live in the module but not stored: %1"),
    QT_TRANSLATE_NOOP("ModelText", "timed out: no module connected"),
    QT_TRANSLATE_NOOP("ModelText", "timed out: not yet reported: %1"),
    QT_TRANSLATE_NOOP("ModelText", "timed out: not yet confirmed: %1"),
    QT_TRANSLATE_NOOP("ModelText", "firmware version"),
    QT_TRANSLATE_NOOP("ModelText", "%1; interrupted again while putting back: %2"),
    QT_TRANSLATE_NOOP("ModelText", "%1; putting back failed: %2"),
    QT_TRANSLATE_NOOP("ModelText", "%1; putting back timed out: %2"),
    QT_TRANSLATE_NOOP("ModelText", "%1; nothing was changed; nothing stored"),
    QT_TRANSLATE_NOOP("ModelText", "%1; put back %2; nothing stored"),
    QT_TRANSLATE_NOOP("ModelText", "%1 unconfirmed (file's value %2, earlier value %3)"),
    QT_TRANSLATE_NOOP("ModelText", "%1 asked %2, kept %3"),
    QT_TRANSLATE_NOOP("ModelText", "%1 (was %2)"),
    QT_TRANSLATE_NOOP("ModelText", "%1 (asked %2)"),
    QT_TRANSLATE_NOOP("ModelText", "%1 (the module reports \"%2\", outside the slider's range)"),
    // Why a port was passed over.
    QT_TRANSLATE_NOOP("ModelText", "opened; the module did not answer"),
    QT_TRANSLATE_NOOP("ModelText", "no serial device for this port"),
    QT_TRANSLATE_NOOP("ModelText", "%1: no such device"),
    QT_TRANSLATE_NOOP("ModelText", "%1: in use by another program (process %2). Close that "
                                   "program, or choose another port"),
    QT_TRANSLATE_NOOP("ModelText", "%1: in use by another program. Close that program, or choose "
                                   "another port"),
    QT_TRANSLATE_NOOP("ModelText", "%1: permission denied. To get access, join the group that "
                                   "owns it: sudo usermod -aG %2 $USER, then log out and in again"),
    QT_TRANSLATE_NOOP("ModelText", "%1: permission denied (the device's permissions do not let "
                                   "you read and write it)"),
    // A recording that cannot be read.
    QT_TRANSLATE_NOOP("ModelText", "%1, line %2: %3"),
    QT_TRANSLATE_NOOP("ModelText", "line %1: %2"),
    QT_TRANSLATE_NOOP("ModelText", "cancelled"),
    QT_TRANSLATE_NOOP("ModelText", "a row longer than %1 characters"),
    QT_TRANSLATE_NOOP("ModelText", "a quoted field not closed within %1 characters: %2"),
    QT_TRANSLATE_NOOP("ModelText", "a field longer than %1 characters: %2"),
    QT_TRANSLATE_NOOP("ModelText", "not a recording: the header should read %1"),
    QT_TRANSLATE_NOOP("ModelText", "expected %1 fields, found %2"),
    QT_TRANSLATE_NOOP("ModelText", "a quoted field is not closed"),
    QT_TRANSLATE_NOOP("ModelText",
                      "%1 in column %2 is beyond +-1000000, which no recorded quantity reaches"),
    QT_TRANSLATE_NOOP("ModelText", "%1 in column %2 is not a number"),
    QT_TRANSLATE_NOOP("ModelText", "%1 in column time is not a time"),
    // A run's figures in the Trends window: the span, the figure, its value or what stands for
    // it. The longer "time-weighted mean" comes before "mean".
    QT_TRANSLATE_NOOP("ModelText", "whole run"),
    QT_TRANSLATE_NOOP("ModelText", "visible range"),
    QT_TRANSLATE_NOOP("ModelText", "run length"),
    QT_TRANSLATE_NOOP("ModelText", "link down"),
    QT_TRANSLATE_NOOP("ModelText", "marks"),
    QT_TRANSLATE_NOOP("ModelText", "time above max rpm limit"),
    QT_TRANSLATE_NOOP("ModelText", "time above max advance limit"),
    QT_TRANSLATE_NOOP("ModelText", "%1 time-weighted mean"),
    QT_TRANSLATE_NOOP("ModelText", "%1 minimum"),
    QT_TRANSLATE_NOOP("ModelText", "%1 maximum"),
    QT_TRANSLATE_NOOP("ModelText", "%1 mean"),
    QT_TRANSLATE_NOOP("ModelText", "engine speed"),
    QT_TRANSLATE_NOOP("ModelText", "advance"),
    QT_TRANSLATE_NOOP("ModelText", "bus voltage"),
    QT_TRANSLATE_NOOP("ModelText", "propeller angle"),
    QT_TRANSLATE_NOOP("ModelText", "no values"),
    QT_TRANSLATE_NOOP("ModelText", "limit not recorded"),
    QT_TRANSLATE_NOOP("ModelText", "n/a"),
    QT_TRANSLATE_NOOP("ModelText", "%1 rpm"),
    QT_TRANSLATE_NOOP("ModelText", "%1 degrees"),
    // Counts in words, and the lists the model joins.
    QT_TRANSLATE_NOOP("ModelText", "seven"),
    QT_TRANSLATE_NOOP("ModelText", "eight"),
    QT_TRANSLATE_NOOP("ModelText", "%1 and %2"),
};

struct Shape
{
    const char *source;
    QRegularExpression pattern;
};

// "%1 of %2 parameters reported" -> ^(.+?) of (.+?) parameters reported$. A part ends where
// the shape's next words first appear: in "%1, line %2: %3" the reason after the line number
// may hold ": " itself.
std::vector<Shape> compileShapes()
{
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    std::vector<Shape> shapes;
    for (const char *source : kShapes) {
        const QString text = QString::fromUtf8(source);
        QString pattern = QStringLiteral("^");
        qsizetype at = 0;
        for (auto it = placeholder.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            pattern += QRegularExpression::escape(text.mid(at, m.capturedStart() - at));
            pattern += QStringLiteral("(.+?)");
            at = m.capturedEnd();
        }
        pattern += QRegularExpression::escape(text.mid(at)) + QStringLiteral("$");
        shapes.push_back(
            {source, QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption)});
    }
    return shapes;
}

// Parts are looked up in the table too, a few levels deep (a reason inside a list inside a
// failure); a part of no known shape is kept as written.
QString translated(const QString &text, int depth)
{
    static const std::vector<Shape> shapes = compileShapes();
    if (depth > 4 || text.isEmpty())
        return text;
    for (const Shape &shape : shapes) {
        const QRegularExpressionMatch m = shape.pattern.match(text);
        if (!m.hasMatch())
            continue;
        QString out = QCoreApplication::translate("ModelText", shape.source);
        // Put the parts in all at once, so that a part holding "%2" stays as it is.
        QStringList parts;
        for (int i = 1; i <= m.lastCapturedIndex(); ++i)
            parts << translated(m.captured(i), depth + 1);
        switch (parts.size()) {
        case 0:
            return out;
        case 1:
            return out.arg(parts[0]);
        case 2:
            return out.arg(parts[0], parts[1]);
        default:
            return out.arg(parts[0], parts[1], parts[2]);
        }
    }
    return text;
}

} // namespace

QString modelText(const std::string &text)
{
    return translated(QString::fromStdString(text), 0);
}

} // namespace quelo
