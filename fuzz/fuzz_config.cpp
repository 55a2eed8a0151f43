// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a configuration file: the parser must return, never crash or hang, and
// either refuse the text with a message and the values untouched, or take seven values each
// inside its slider's range.
#include "config_file.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
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
