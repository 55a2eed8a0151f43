// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_support.h"

#include "decoder.h"
#include "hex2dec.h"
#include "link_log.h"
#include "window_state.h"

#include <benchmark/benchmark.h>

#include <iterator>
#include <string>

using namespace quelo;

namespace {

const char *const kHexFields[] = {"8A", "03E8", "&h7FFF", "0123456789ABCDEF0123456"};

// One hexadecimal field of the kinds the module sends, from 2 digits to the longest (23).
void BM_Hex2Dec(benchmark::State &state)
{
    const std::string field = kHexFields[state.range(0)];
    for (auto _ : state) {
        auto value = Hex2Dec(field);
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(field);
}
BENCHMARK(BM_Hex2Dec)->DenseRange(0, std::size(kHexFields) - 1);

// Decoding reply lines: argument -1 cycles through one polling round's mix of lines, the others
// decode one kind of line. Items are lines.
void BM_HandleInput(benchmark::State &state)
{
    WindowState w;
    bench::BenchComm comm;
    LinkLog log;
    LineDecoder decoder(w, log, {});
    const long kind = state.range(0);
    std::size_t next = 0;
    std::string buffer;
    for (auto _ : state) {
        const std::size_t index =
            kind < 0 ? next++ % std::size(bench::kReplyLines) : std::size_t(kind);
        buffer = bench::kReplyLines[index].text;
        decoder.HandleInput(buffer);
        benchmark::DoNotOptimize(buffer);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(kind < 0 ? "mix" : bench::kReplyLines[kind].name);
}
BENCHMARK(BM_HandleInput)->Arg(-1)->DenseRange(0, std::size(bench::kReplyLines) - 1);

} // namespace
