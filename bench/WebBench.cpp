// The preview page's "View" in process, against the bare JPEG encoding of the same 500 x 200
// picture: how much the framework and the drawing add to the picture's encoding.
//
//   build/bench/ribbon_web_bench

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "runtime/Bitmap.h"
#include "web/Dispatcher.h"
#include "webdemo/IWUnit1.h"
#include "webdemo/ServerController.h"

namespace {

namespace fs = std::filesystem;
using namespace ribbon;

const char* const ViewBody =
    "IW_Action=IWButton1&IW_ActionParam=&edtBarcode=RIBBON-42&cmbBarType=3&cmbModul=1&"
    "cmbRatio=1&edtLeft=20&edtTop=20&edtHeight=50&edtAngle=0&cmbTextShow=1&chkBitmap=Off";

struct ScratchDir {
    ScratchDir() {
        std::random_device random;
        path = fs::temp_directory_path() / ("ribbon-web-bench-" + std::to_string(random()));
        fs::create_directories(path);
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
        web::Response page = app.handle(Post(path, ViewBody));
        path = PostPath(page.Body);
        benchmark::DoNotOptimize(page.Body.data());
        if (++count % 256 == 0) {
            state.PauseTiming();
            dir.EmptyCache();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ViewRequest)->Unit(benchmark::kMicrosecond);

// The click handler alone: background, font, Z_DrawBar into the 500 x 200 bitmap.
void BM_ViewClick(benchmark::State& state) {
    webdemo::TformMain form("/nowhere/");
    form.chkBitmap->Checked = false;
    form.edtBarcode->Text = "RIBBON-42";
    for (auto _ : state) form.IWButton1Click(*form.IWButton1);
}
BENCHMARK(BM_ViewClick)->Unit(benchmark::kMicrosecond);

// The same picture the View request makes, encoded as the page's JPEG (quality 90, baseline)
// in memory, without the file.
void BM_JpegEncode(benchmark::State& state) {
    webdemo::TformMain form("/nowhere/");
    form.chkBitmap->Checked = false;
    form.edtBarcode->Text = "RIBBON-42";
    form.IWButton1Click(*form.IWButton1);
    TJPEGOptions options;
    options.CompressionQuality = 90;
    for (auto _ : state) {
        std::string jpeg = form.IWImage1->Picture.Encode(TImageFormat::Jpeg, options);
        benchmark::DoNotOptimize(jpeg.data());
    }
}
BENCHMARK(BM_JpegEncode)->Unit(benchmark::kMicrosecond);

}  // namespace
