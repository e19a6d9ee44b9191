// The preview page's "View" in process, against the bare JPEG encoding of the same 500 x 200
// picture: how much the framework and the drawing add to the picture's encoding. The cases with
// argument 1 have the background picture on, as the page starts. BM_PageHtml: the page's HTML
// alone.
//
//   build/bench/ribbon_web_bench

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "graphics/Bitmap.h"
#include "web/Controls.h"
#include "web/Dispatcher.h"
#include "web/Pages.h"
#include "webdemo/IWUnit1.h"
#include "webdemo/ServerController.h"

namespace {

namespace fs = std::filesystem;
using namespace ribbon;

// Argument of the benchmarks: 0 without the background picture, 1 with the default "Back.bmp".
const char* const ViewBody[] = {
    "IW_Action=IWButton1&IW_ActionParam=&edtBarcode=RIBBON-42&cmbBarType=3&cmbModul=1&"
    "cmbRatio=1&edtLeft=20&edtTop=20&edtHeight=50&edtAngle=0&cmbTextShow=1&chkBitmap=Off",
    "IW_Action=IWButton1&IW_ActionParam=&edtBarcode=RIBBON-42&cmbBarType=3&cmbModul=1&"
    "cmbRatio=1&edtLeft=20&edtTop=20&edtHeight=50&edtAngle=0&cmbTextShow=1&chkBitmap=On",
};

struct ScratchDir {
    ScratchDir() {
        std::random_device random;
        path = fs::temp_directory_path() / ("ribbon-web-bench-" + std::to_string(random()));
        fs::create_directories(path);
        fs::copy_file(RIBBON_BACK_BMP, path / "Back.bmp");
    }
    ~ScratchDir() { fs::remove_all(path); }
    void EmptyCache() const {
        for (const auto& entry : fs::directory_iterator(path / "Cache")) fs::remove(entry.path());
    }
    fs::path path;
};

web::Request Post(const std::string& path, const std::string& body) {
    web::Request request;
    request.Method = "POST";
    request.BasePath = "/ribbon";
    request.Path = path;
    request.Body = body;
    request.Headers["user-agent"] = "Mozilla/5.0 (X11; Linux x86_64) Chrome/120.0";
    request.Headers["content-type"] = "application/x-www-form-urlencoded";
    return request;
}

// The path the page posts back to ("/EXEC/<counter>/<id>").
std::string PostPath(const std::string& page) {
    const std::string head = "action=\"/ribbon";
    const auto at = page.find(head) + head.size();
    return page.substr(at, page.find('"', at) - at);
}

// One request: the posted values applied, the barcode drawn, the JPEG written, the page made.
void BM_ViewRequest(benchmark::State& state) {
    ScratchDir dir;
    webdemo::TIWServerController controller(dir.path.string() + "/");
    web::TIWDispatcher app(controller);
    web::Request open = Post("/", "");
    open.Method = "GET";
    std::string path = PostPath(app.handle(open).Body);
    long count = 0;
    for (auto _ : state) {
        web::Response page = app.handle(Post(path, ViewBody[state.range(0)]));
        path = PostPath(page.Body);
        benchmark::DoNotOptimize(page.Body.data());
        if (++count % 256 == 0) {
            state.PauseTiming();
            dir.EmptyCache();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ViewRequest)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The click handler alone: background, font, Z_DrawBar into the 500 x 200 bitmap.
void BM_ViewClick(benchmark::State& state) {
    ScratchDir dir;
    webdemo::TformMain form(dir.path.string() + "/");
    form.chkBitmap->Checked = state.range(0) == 1;
    form.edtBarcode->Text = "RIBBON-42";
    for (auto _ : state) form.IWButton1Click(*form.IWButton1);
}
BENCHMARK(BM_ViewClick)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The picture of the View with the background, encoded as the page encodes it, in
// memory. Argument 0: the page's settings; 1: with Huffman tables fitted to the picture;
// 2: the fast integer DCT (which changes the pixels, so the page cannot take it). "bytes" is
// the size of the file.
void BM_JpegEncode(benchmark::State& state) {
    ScratchDir dir;
    webdemo::TformMain form(dir.path.string() + "/");
    form.edtBarcode->Text = "RIBBON-42";
    form.IWButton1Click(*form.IWButton1);
    TJPEGOptions options = web::TIWImage::JpegOptions();
    if (state.range(0) == 1) options.OptimizeCoding = true;
    if (state.range(0) == 2) options.Performance = jpBestSpeed;
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string jpeg = form.IWImage1->Picture.Encode(TImageFormat::Jpeg, options);
        bytes = jpeg.size();
        benchmark::DoNotOptimize(jpeg.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_JpegEncode)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The page's HTML alone, for a form whose picture is in place (the picture's storing left out).
void BM_PageHtml(benchmark::State& state) {
    ScratchDir dir;
    webdemo::TformMain form(dir.path.string() + "/");
    form.edtBarcode->Text = "RIBBON-42";
    form.IWButton1Click(*form.IWButton1);
    form.Settle();
    web::TRenderContext context;
    context.StorePicture = [](const std::string&) {
        return std::string("/ribbon/cache/JPGabcdef.tmp");
    };
    for (auto _ : state) {
        web::Response page = web::FormPage(
            {form, "ribbon", "/ribbon/EXEC/2/0123456789abcdef01234567", false, ""}, context);
        benchmark::DoNotOptimize(page.Body.data());
    }
}
BENCHMARK(BM_PageHtml)->Unit(benchmark::kMicrosecond);

}  // namespace
