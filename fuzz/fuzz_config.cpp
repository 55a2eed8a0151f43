// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a configuration file: the parser must return, never crash or hang, and
// either refuse the text with a message and the values untouched, or take seven values each
// inside its slider's range. The same bytes as a restore point: taken only with a firmware
// version of digits and a sequence number in range, and written back to a file that reads the
// same.
#include "config_file.h"
#include "history_folder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace quelo;

namespace {

[[noreturn]] void violated(const char *what)
{
    std::fprintf(stderr, "invariant violated: %s\n", what);
    std::abort();
}

void checkRestorePoint(const QByteArray &bytes)
{
    Snapshot snapshot;
    QString error;
    if (!parseSnapshot(bytes, snapshot, error)) {
        if (error.isEmpty())
            violated("a restore point refused without a message");
        return;
    }
    if (!isFirmwareVersion(snapshot.config.firmware))
        violated("a restore point with a firmware that is not a version was taken");
    if (snapshot.sequence < 0 || snapshot.sequence > kMaxSequence)
        violated("a sequence number out of range was taken");
    if (historyLine(snapshot, "f", 0).find('\n') != std::string::npos)
        violated("a restore point prints on more than one line");
    Snapshot again;
    if (!parseSnapshot(snapshotToJson(snapshot), again, error) ||
        again.config.values != snapshot.config.values || again.sequence != snapshot.sequence ||
        again.utcMs != snapshot.utcMs || again.event != snapshot.event)
        violated("a taken restore point does not survive writing and reading");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkRestorePoint(bytes);
    ConfigValues config;
    config.values.fill(-999);
    config.firmware = "untouched";
    QString error;
    const bool taken = parseConfig(bytes, config, error);
    if (!taken) {
        if (error.isEmpty())
            violated("refused without a message");
        if (config.firmware != "untouched" || config.values[0] != -999)
            violated("a refused file changed the values");
        return 0;
    }
    for (std::size_t i = 0; i < kParameterCount; ++i)
        if (config.values[i] < minOf(kParameters[i]) || config.values[i] > maxOf(kParameters[i]))
            violated("a value outside its slider's range was taken");
    // What was taken writes back to a file that reads the same.
    ConfigValues again;
    if (!parseConfig(configToJson(config, QDateTime::currentDateTimeUtc()), again, error) ||
        again.values != config.values)
        violated("a taken configuration does not survive writing and reading");
    return 0;
}
