// Generating the text of a square cursor, per output byte, against memcpy of
// the same number of bytes. Building must stay linear in the text's length.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <string.h>

#include <vector>

#include "cursor/cursorsource.h"

namespace
{

struct Masks
{
    CursorDirEntry entry;
    std::vector<uint8_t> xorMask;
    std::vector<uint8_t> andMask;
};

// A square cursor with a varied picture, so no row is trivially alike.
Masks MakeMasks(unsigned nSize)
{
    Masks masks = {};
    masks.entry.width = uint8_t(nSize);
    masks.entry.height = uint8_t(nSize);
    const size_t nBytes = size_t(GetMaskRowBytes(nSize)) * nSize;
    masks.xorMask.resize(nBytes);
    masks.andMask.resize(nBytes);
    for (size_t i = 0; i < nBytes; ++i)
    {
        masks.xorMask[i] = uint8_t(i * 37);
        masks.andMask[i] = uint8_t(~(i * 11));
    }
    return masks;
}

void GenerateSource(benchmark::State& state)
{
    const Masks masks = MakeMasks(unsigned(state.range(0)));
    size_t nBytes = 0;
    for (auto _ : state)
    {
        char* pszText = GenerateCursorSource(&masks.entry, masks.xorMask.data(), masks.andMask.data());
        benchmark::DoNotOptimize(pszText);
        nBytes = strlen(pszText);
        free(pszText);
    }
    state.SetBytesProcessed(int64_t(state.iterations() * nBytes));
    state.counters["text_bytes"] = double(nBytes);
    state.counters["time_per_byte"] = benchmark::Counter(double(state.iterations() * nBytes),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// memcpy of as many bytes as the text of the same cursor has.
void CopySameBytes(benchmark::State& state)
{
    const Masks masks = MakeMasks(unsigned(state.range(0)));
    const size_t nBytes = BuildCursorSource(nullptr, 0, &masks.entry, masks.xorMask.data(), masks.andMask.data()) - 1;
    std::vector<char> source(nBytes, 'X');
    std::vector<char> target(nBytes);
    for (auto _ : state)
    {
        memcpy(target.data(), source.data(), nBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations() * nBytes));
    state.counters["text_bytes"] = double(nBytes);
    state.counters["time_per_byte"] = benchmark::Counter(double(state.iterations() * nBytes),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(GenerateSource)->Arg(32)->Arg(255);
BENCHMARK(CopySameBytes)->Arg(32)->Arg(255);

BENCHMARK_MAIN();
