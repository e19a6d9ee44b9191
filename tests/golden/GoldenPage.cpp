// Plays a scripted session of the preview page inside the process and writes every response
// (status, headers, HTML) and every picture it shows into a folder, for golden.py to digest.
// The random parts are normalised: the session id and the picture's cache name.
//
// Usage: golden_page MODULE_DIR OUT_DIR   (MODULE_DIR holds Back.bmp; it gets the Cache/)

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "tests/web/PageClient.h"
#include "web/Dispatcher.h"
#include "webdemo/ServerController.h"

namespace {

namespace fs = std::filesystem;
using namespace ribbon;

// The form's fields as the browser sends them on "View", before a step's changes.
constexpr const char* Base =
    "IW_Action=IWButton1&IW_ActionParam=&edtBarcode=CODE39&cmbBarType=3&cmbModul=0&cmbRatio=1&"
    "edtLeft=20&edtTop=20&edtHeight=50&edtAngle=0&cmbTextSize=0&cmbTextShow=1&cmbTextPost=5&"
    "cmbBarColor=0&cmbSpaceColor=17&cmbTextColor=0&cmbTextBackColor=17&cmbBackColor=17&";

// Each step's fields, appended to Base (a later field of the same name wins).
constexpr const char* Steps[] = {
    "chkBitmap=Off",
    "chkBitmap=On",
    "chkBitmap=On&edtBarcode=590123412345&cmbBarType=14&chkCheckSum=On",
    "chkBitmap=Off&edtBarcode=12345678&cmbBarType=7&cmbModul=1&edtAngle=90&cmbTextShow=3",
    "chkBitmap=Off&edtBarcode=Code+128&cmbBarType=6&cmbRatio=3&edtAngle=30&cmbTextPost=0&"
    "chkBold=On&chkItalic=On&cmbTextSize=5&cmbTextFont=2&cmbBarColor=4&cmbSpaceColor=11&"
    "cmbTextColor=9&cmbTextBackColor=10&cmbBackColor=14",
    "chkBitmap=Off&edtBarcode=+%0912345+&cmbBarType=0&cmbTextShow=2&chkUnderline=On&"
    "chkStrikeOut=On&cmbTextPost=2",
    "chkBitmap=Off&edtBarcode=ab&cmbBarType=8",           // refused data: the alert
    "chkBitmap=Off&edtBarcode=12A4&cmbBarType=22",        // digits only for EAN-128 C
    "chkBitmap=Off&edtBarcode=123&edtLeft=abc&edtTop=x",  // fields read as defaults
    "chkBitmap=Off&edtBarcode=0123456&cmbBarType=16&cmbModul=2&edtHeight=80&edtAngle=180",
};

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The cached picture's name in the page ("" when it shows none).
std::string PictureName(const std::string& body) {
    const std::string head = "src=\"/ribbon/cache/";
    const auto at = body.find(head);
    if (at == std::string::npos) return {};
    const auto start = at + head.size();
    return body.substr(start, body.find('"', start) - start);
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

// Writes NAME.http (status, content type, headers, normalised body) and NAME.jpg (the picture).
void Record(const fs::path& moduleDir, const fs::path& outDir, const std::string& name,
            const web::Response& response, const std::string& sessionId) {
    const std::string picture = PictureName(response.Body);
    std::ostringstream text;
    text << response.Status << '\n' << response.ContentType << '\n';
    for (const auto& [key, value] : response.Headers) text << key << ": " << value << '\n';
    std::string body = ReplaceAll(response.Body, sessionId, "<session>");
    text << '\n' << ReplaceAll(body, picture, "<picture>");
    Write(outDir / (name + ".http"), text.str());
    if (picture.empty()) return;
    std::ifstream in(moduleDir / "Cache" / picture, std::ios::binary);
    if (!in) throw std::runtime_error("the page shows a picture that is not in the cache");
    Write(outDir / (name + ".jpg"),
          std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: golden_page MODULE_DIR OUT_DIR\n";
        return 2;
    }
    try {
        const fs::path moduleDir = argv[1], outDir = argv[2];
        auto clock = std::make_shared<testing::FakeClock>();
        webdemo::TIWServerController controller(moduleDir.string() + "/", clock);
        web::TIWDispatcher app(controller);
        testing::PageClient browser(app);
        const web::Response opened = browser.Open();
        Record(moduleDir, outDir, "00-open", opened, browser.SessionId());
        int step = 1;
        for (const char* fields : Steps) {
            // The id is read before the post: a page that is refused names no new one.
            const std::string id = browser.SessionId();
            const std::string name = (step < 10 ? "0" : "") + std::to_string(step);
            Record(moduleDir, outDir, name, browser.Post(std::string(Base) + fields), id);
            ++step;
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "golden_page: " << e.what() << '\n';
        return 1;
    }
}
