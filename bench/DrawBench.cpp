// Z_DrawBar onto the web page's 500 x 200 bitmap, with libzint rendering the same data to its
// raster buffer at one pixel per module as a peer. zint turns rasters by right angles only, so
// its cases are 0 and 90 degrees.

#include <benchmark/benchmark.h>
#include <zint.h>

#include <cstring>
#include <string>

#include "engine/ZBarCode.h"
#include "runtime/Bitmap.h"
#include "runtime/Exceptions.h"

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

BENCHMARK_CAPTURE(DrawBar, EAN13_NoText_0, bcCodeEAN13, Ean13, csModulo10, tsNone, 0.0);
BENCHMARK_CAPTURE(DrawBar, EAN13_NoText_30, bcCodeEAN13, Ean13, csModulo10, tsNone, 30.0);
BENCHMARK_CAPTURE(DrawBar, EAN13_Text_0, bcCodeEAN13, Ean13, csModulo10, tsBarCode, 0.0);
BENCHMARK_CAPTURE(DrawBar, EAN13_Text_30, bcCodeEAN13, Ean13, csModulo10, tsBarCode, 30.0);
BENCHMARK_CAPTURE(DrawBar, Code128B_NoText_0, bcCode128B, Code128B, csNone, tsNone, 0.0);
BENCHMARK_CAPTURE(DrawBar, Code128B_NoText_30, bcCode128B, Code128B, csNone, tsNone, 30.0);
BENCHMARK_CAPTURE(DrawBar, Code128B_Text_0, bcCode128B, Code128B, csNone, tsBarCode, 0.0);
BENCHMARK_CAPTURE(DrawBar, Code128B_Text_30, bcCode128B, Code128B, csNone, tsBarCode, 30.0);

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

BENCHMARK_CAPTURE(Zint, EAN13_NoText_0, BARCODE_EANX, Ean13, false, 0);
BENCHMARK_CAPTURE(Zint, EAN13_NoText_90, BARCODE_EANX, Ean13, false, 90);
BENCHMARK_CAPTURE(Zint, EAN13_Text_0, BARCODE_EANX, Ean13, true, 0);
BENCHMARK_CAPTURE(Zint, EAN13_Text_90, BARCODE_EANX, Ean13, true, 90);
BENCHMARK_CAPTURE(Zint, Code128B_NoText_0, BARCODE_CODE128B, Code128B, false, 0);
BENCHMARK_CAPTURE(Zint, Code128B_NoText_90, BARCODE_CODE128B, Code128B, false, 90);
BENCHMARK_CAPTURE(Zint, Code128B_Text_0, BARCODE_CODE128B, Code128B, true, 0);
BENCHMARK_CAPTURE(Zint, Code128B_Text_90, BARCODE_CODE128B, Code128B, true, 90);

}  // namespace
