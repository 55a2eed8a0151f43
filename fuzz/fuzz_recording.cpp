// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a recording, fed in pieces of the sizes the input chooses: the reader must
// return, never crash, hold no more than the text did, give the same answer however the text is
// cut, quote a bounded piece of a bad field, and hand the chart only finite values within its
// bound, in time order.
#include "recording_reader.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace quelo;

namespace {

[[noreturn]] void violated(const char *what)
{
    std::fprintf(stderr, "invariant violated: %s\n", what);
    std::abort();
}

void checkSeries(const std::vector<TrendPoint> &points)
{
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!std::isfinite(points[i].t) || !std::isfinite(points[i].v))
            violated("a value that is not finite");
        if (std::abs(points[i].v) > RecordingParser::kMaxMagnitude)
            violated("a value beyond the bound");
        if (i > 0 && points[i].t < points[i - 1].t)
            violated("a series out of time order");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t piece = data[0] % 16 + 1;
    const std::string text(reinterpret_cast<const char *>(data + 1), size - 1);

    const RecordingRead whole = parseRecording(text);
    RecordingParser parser;
    for (std::size_t at = 0; at < text.size(); at += piece)
        parser.feed(text.data() + at, std::min(piece, text.size() - at));
    const RecordingRead pieces = parser.finish();

    if (whole.error != pieces.error || whole.recording.rpm.size() != pieces.recording.rpm.size())
        violated("the answer depends on how the text is cut");
    // A message: "line N: " and a reason quoting at most kMaxQuoted bytes of a field.
    if (whole.error.size() > 200)
        violated("an overlong message");
    const Recording &r = whole.recording;
    if (!whole.error.empty() && (!r.rpm.empty() || !r.events.empty()))
        violated("a malformed text left something to draw");
    const std::size_t points =
        r.rpm.size() + r.advanceDeg.size() + r.busVolts.size() + r.propAngleDeg.size();
    if (points > text.size())
        violated("more points than the text could hold");
    for (const auto *series : {&r.rpm, &r.advanceDeg, &r.busVolts, &r.propAngleDeg})
        checkSeries(*series);
    return 0;
}
