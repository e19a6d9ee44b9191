// Measuring a symbol (encoding included) for the symbologies most often printed.

#include <benchmark/benchmark.h>

#include <string>

#include "engine/ZBarCode.h"

namespace {

using namespace ribbon;

void GetBarWidth(benchmark::State& state, TBarType type, const std::string& data,
                 TCheckSum checkSum) {
    for (auto _ : state) benchmark::DoNotOptimize(Z_GetBarWidth(type, data, 1, 2.0, checkSum));
}

BENCHMARK_CAPTURE(GetBarWidth, EAN13, bcCodeEAN13, std::string("590123412345"), csModulo10);
BENCHMARK_CAPTURE(GetBarWidth, Code128B_16chars, bcCode128B, std::string("Ribbon kit 1.0/b"),
                  csNone);
BENCHMARK_CAPTURE(GetBarWidth, Code128C_16digits, bcCode128C, std::string("1234567890123456"),
                  csNone);
BENCHMARK_CAPTURE(GetBarWidth, Interleaved2of5_14digits, bcCode_2_5_interleaved,
                  std::string("12345678901234"), csNone);
BENCHMARK_CAPTURE(GetBarWidth, MSI_12digits, bcCodeMSI, std::string("123456789012"), csNone);

}  // namespace
