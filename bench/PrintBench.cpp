// Vector output: a 100-page PDF of EAN-13 labels with their text (what `ribbon print
// --data-file` does), and one symbol rendered to SVG against the same symbol to PNG.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "base/Exceptions.h"
#include "engine/ZBarCode.h"
#include "graphics/Bitmap.h"
#include "vector/Printer.h"
#include "vector/VectorFile.h"

namespace {

using namespace ribbon;

std::string Temp(const char* extension) {
    return "/tmp/ribbon-bench-" + std::to_string(getpid()) + extension;
}

void PrintPdf100Labels(benchmark::State& state) {
    const std::string pdf = Temp(".pdf");
    TPrinter& printer = Printer();
    printer.SetResolution(600, 600);
    printer.SetPaper({60, 40});  // label stock
    printer.FileName = pdf;
    constexpr int Pages = 100;
    std::uintmax_t bytes = 0;
    try {
        for (auto _ : state) {
            printer.BeginDoc();
            for (int page = 0; page < Pages; ++page) {
                if (page > 0) printer.NewPage();
                // A different label on every page, as from a data file.
                const std::string data = "590123" + std::to_string(100000 + page);
                Z_PrintBar(utMillimeter, bcCodeEAN13, data, 0.33, 2.0, csModulo10, 5, 5, 25,
                           TFont(), tsBarCode, tpBottomCenter, clBlack, clWhite, clWhite, 0);
            }
            printer.EndDoc();
            bytes = std::filesystem::file_size(pdf);
        }
    } catch (const Exception& e) {
        printer.Abort();
        state.SkipWithError(e.Message.c_str());
    }
    std::remove(pdf.c_str());
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * Pages);
    state.counters["bytes_per_page"] = static_cast<double>(bytes) / Pages;
}
BENCHMARK(PrintPdf100Labels)->Unit(benchmark::kMillisecond);

// The picture `ribbon render` makes for EAN-13 with modul 2, height 70 and its text.
constexpr int PictureWidth = 230, PictureHeight = 110;

void DrawLabel(TCustomCanvas& canvas) {
    canvas.Brush.SetColor(clWhite);
    canvas.FillRect({0, 0, PictureWidth, PictureHeight});
    Z_DrawBar(canvas, bcCodeEAN13, "590123412345", 2, 2.0, csModulo10, 20, 20, 70, TFont(),
              tsBarCode, tpBottomCenter, clBlack, clWhite, clWhite, 0);
}

void RenderPng(benchmark::State& state) {
    const std::string out = Temp(".png");
    for (auto _ : state) {
        TBitmap bitmap(PictureWidth, PictureHeight);
        DrawLabel(bitmap.Canvas());
        bitmap.SaveToFile(out);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(out));
    std::remove(out.c_str());
}
BENCHMARK(RenderPng)->Unit(benchmark::kMicrosecond);

void RenderSvg(benchmark::State& state) {
    const std::string out = Temp(".svg");
    for (auto _ : state) {
        TVectorFile file(out, TVectorFormat::Svg,
                         {PictureWidth * 0.75, PictureHeight * 0.75, 96, 96});
        DrawLabel(file.Canvas());
        file.Commit();
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(out));
    std::remove(out.c_str());
}
BENCHMARK(RenderSvg)->Unit(benchmark::kMicrosecond);

}  // namespace
