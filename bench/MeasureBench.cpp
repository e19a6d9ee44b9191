// Z_GetBarWidth: a whole encoding plus the walk over the pattern, per call.

#include <benchmark/benchmark.h>

#include <string>

#include "engine/ZBarCode.h"

namespace {

using namespace ribbon;

std::string Repeat(const std::string& unit, std::size_t size) {
    std::string s;
    while (s.size() < size) s += unit;
    s.resize(size);
    return s;
}

void BarWidth(benchmark::State& state, TBarType type, const std::string& data) {
    for (auto _ : state) benchmark::DoNotOptimize(Z_GetBarWidth(type, data, 1, 2.0, csModulo10));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

const std::string Short = "RIBBON42";
const std::string Long = Repeat("THE QUICK BROWN FOX 0123456789-. $/+%", 80);

BENCHMARK_CAPTURE(BarWidth, Code39_8, bcCode39, Short);
BENCHMARK_CAPTURE(BarWidth, Code39_80, bcCode39, Long);
BENCHMARK_CAPTURE(BarWidth, Code93_8, bcCode93, Short);
BENCHMARK_CAPTURE(BarWidth, Code93_80, bcCode93, Long);

}  // namespace
