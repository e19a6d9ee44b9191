// Z_DrawBar onto the web page's 500 x 200 bitmap, with libzint rendering the same data to its
// raster buffer at one pixel per module as a peer. zint turns rasters by right angles only.

#include <benchmark/benchmark.h>
#include <zint.h>

#include <cstring>
#include <string>

#include "base/Exceptions.h"
#include "engine/ZBarCode.h"
#include "graphics/Bitmap.h"

namespace {

using namespace ribbon;

const std::string Ean13 = "590123412345";         // the check digit is added
const std::string Code128B = "Hello World 1234";  // 16 characters

void DrawBar(benchmark::State& state, TBarType type, const std::string& data, TCheckSum checkSum,
             TTextShow text, double angle) {
    TBitmap bitmap(500, 200);
    TFont font;
    try {
        for (auto _ : state) {
            Z_DrawBar(bitmap.Canvas(), type, data, 1, 2.0, checkSum, 10, 10, 100, font, text,
                      tpBottomCenter, clBlack, clWhite, clWhite, angle);
            benchmark::DoNotOptimize(bitmap.ScanLine(100));
        }
    } catch (const Exception& e) {
        state.SkipWithError(e.Message.c_str());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// A different number every time (more than the text layer keeps), as when every label differs.
void DrawFresh(benchmark::State& state, TTextShow text) {
    TBitmap bitmap(500, 200);
    TFont font;
    unsigned n = 0;
    std::string data = Ean13;
    for (auto _ : state) {
        const std::string digits = std::to_string(100000 + n++ % 1000);
        data.replace(data.size() - digits.size(), digits.size(), digits);
        Z_DrawBar(bitmap.Canvas(), bcCodeEAN13, data, 1, 2.0, csModulo10, 10, 10, 100, font, text,
                  tpBottomCenter, clBlack, clWhite, clWhite, 0);
        benchmark::DoNotOptimize(bitmap.ScanLine(100));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK_CAPTURE(DrawFresh, EAN13_FreshNoText_0, tsNone)->Name("DrawBar/EAN13_FreshNoText_0");
BENCHMARK_CAPTURE(DrawFresh, EAN13_FreshText_0, tsBarCode)->Name("DrawBar/EAN13_FreshText_0");

void Zint(benchmark::State& state, int symbology, const std::string& data, bool text, int angle) {
    zint_symbol* symbol = ZBarcode_Create();
    for (auto _ : state) {
        ZBarcode_Clear(symbol);
        symbol->symbology = symbology;
        symbol->scale = 0.5f;  // zint's raster scale 1 is two pixels per module
        symbol->height = 100;
        symbol->show_hrt = text ? 1 : 0;
        const int error =
            ZBarcode_Encode_and_Buffer(symbol, reinterpret_cast<const unsigned char*>(data.data()),
                                       static_cast<int>(data.size()), angle);
        if (error >= ZINT_ERROR) {
            state.SkipWithError(symbol->errtxt);
            break;
        }
        benchmark::DoNotOptimize(symbol->bitmap);
    }
    ZBarcode_Delete(symbol);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// The floor of an upright symbol: its rows' bytes set and nothing else (no encoding, no bars),
// where Z_DrawBar puts them: 101 rows of its width from (10, 10).
void Rows(benchmark::State& state, TBarType type, const std::string& data, TCheckSum checkSum) {
    TBitmap bitmap(500, 200);
    const std::size_t bytes =
        static_cast<std::size_t>(Z_GetBarWidth(type, data, 1, 2.0, checkSum)) * 3;
    for (auto _ : state) {
        for (int y = 10; y <= 110; ++y) std::memset(bitmap.ScanLine(y) + 30, 0, bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(Rows, EAN13, bcCodeEAN13, Ean13, csModulo10)->Name("Rows/EAN13");
BENCHMARK_CAPTURE(Rows, Code128B, bcCode128B, Code128B, csNone)->Name("Rows/Code128B");

// Both programs for both symbols, with and without text, at the right angles (zint turns its
// raster by those only) and, for ours, at 30 degrees. Names: <program>/<symbol>_<text>_<angle>.
const bool Registered = [] {
    struct Symbol {
        const char* name;
        TBarType type;
        const std::string* data;
        TCheckSum checkSum;
        int zint;
    };
    static const Symbol symbols[] = {{"EAN13", bcCodeEAN13, &Ean13, csModulo10, BARCODE_EANX},
                                     {"Code128B", bcCode128B, &Code128B, csNone, BARCODE_CODE128B}};
    for (const Symbol& s : symbols)
        for (bool text : {false, true})
            for (int angle : {0, 90, 180, 270, 30}) {
                const std::string name =
                    std::string(s.name) + (text ? "_Text_" : "_NoText_") + std::to_string(angle);
                benchmark::RegisterBenchmark(("DrawBar/" + name).c_str(), DrawBar, s.type, *s.data,
                                             s.checkSum, text ? tsBarCode : tsNone, angle);
                if (angle % 90 == 0)
                    benchmark::RegisterBenchmark(("Zint/" + name).c_str(), Zint, s.zint, *s.data,
                                                 text, angle);
            }
    return true;
}();

}  // namespace
