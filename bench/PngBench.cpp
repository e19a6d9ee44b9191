// PNG encoding of typical labels, drawn as `ribbon render` draws them (a quiet zone of 10 modules,
// bars 50 pixels high, the digits below): the file's bytes ("bytes") and the time to encode.
//
//   PngEncode/<label>                  the encoder as shipped
//   PngEncode/Before/<label>           8-bit RGB with libpng's default filters and level, as before
//   PngOptions/<filter>/<level>/<label>   the grid the shipped settings came from (Z_FILTERED,
//                                      memory level 4), and the shipped settings with zlib's
//                                      default strategy or memory level 8
//
// build/bench/ribbon_bench --benchmark_filter=Png

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <string>

#include "engine/ZBarCode.h"
#include "graphics/Bitmap.h"
#include "graphics/ImageCodecs.h"

namespace {

using namespace ribbon;

struct Label {
    const char* Name;
    TBarType Type;
    const char* Data;
    TCheckSum CheckSum;
    double Angle;
    TColor Bar, Space, Text;
};

const Label Labels[] = {
    {"EAN13", bcCodeEAN13, "590123412345", csModulo10, 0, clBlack, clWhite, clBlack},
    {"Code128B", bcCode128B, "Hello World 1234", csNone, 0, clBlack, clWhite, clBlack},
    {"EAN13_Turned90", bcCodeEAN13, "590123412345", csModulo10, 90, clBlack, clWhite, clBlack},
    {"EAN13_Turned30", bcCodeEAN13, "590123412345", csModulo10, 30, clBlack, clWhite, clBlack},
    {"EAN13_Coloured", bcCodeEAN13, "590123412345", csModulo10, 0, clNavy, clYellow, clRed},
};

TBitmap Draw(const Label& l) {
    constexpr int modul = 2, height = 50, quiet = 10 * modul;
    const TBarSymbol symbol = Z_EncodeBar(l.Type, l.Data, modul, 2.0, l.CheckSum);
    TBitmap bitmap(Z_GetCanvasHeight(symbol, height, l.Angle) + 2 * quiet,
                   Z_GetCanvasWidth(symbol, height, l.Angle) + 2 * quiet);
    bitmap.Canvas().Brush.SetColor(l.Space);
    bitmap.Canvas().FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    TFont font;
    font.Color = l.Text;
    Z_DrawBar(bitmap.Canvas(), symbol, quiet, quiet, height, font, tsBarCode, tpBottomCenter, l.Bar,
              l.Space, l.Space, l.Angle);
    return bitmap;
}

void Encode(benchmark::State& state, const Label& label, detail::TPngTuning tuning) {
    const TBitmap bitmap = Draw(label);
    TPixelBuffer pixels{bitmap.Width(), bitmap.Height(), {}};
    for (int y = 0; y < bitmap.Height(); ++y)
        pixels.Rgb.insert(pixels.Rgb.end(), bitmap.ScanLine(y),
                          bitmap.ScanLine(y) + bitmap.Width() * 3);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string png = detail::EncodePng(pixels, tuning);
        bytes = png.size();
        benchmark::DoNotOptimize(png.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

const int Registered = [] {
    const std::pair<const char*, int> filters[] = {
        {"None", PNG_FILTER_NONE},   {"Sub", PNG_FILTER_SUB},  {"Up", PNG_FILTER_UP},
        {"Paeth", PNG_FILTER_PAETH}, {"All", PNG_ALL_FILTERS},
    };
    for (const Label& l : Labels) {
        const std::string name = l.Name;
        auto add = [&](const std::string& what, detail::TPngTuning tuning) {
            benchmark::RegisterBenchmark((what + "/" + name).c_str(), Encode, l, tuning);
        };
        add("PngEncode", {});
        add("PngEncode/Before", {-1, -1, -1, -1, false});
        for (auto [filterName, filter] : filters)
            for (int level : {1, 3, 6, 9})
                add("PngOptions/" + std::string(filterName) + "/" + std::to_string(level),
                    {filter, level});
        add("PngOptions/None/6/DefaultStrategy", {PNG_FILTER_NONE, 6, Z_DEFAULT_STRATEGY});
        add("PngOptions/None/6/MemLevel8", {PNG_FILTER_NONE, 6, Z_FILTERED, 8});
    }
    return 0;
}();

}  // namespace
