#include "vector/Printer.h"

#include <cmath>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "vector/VectorFile.h"

namespace ribbon {

namespace {

constexpr double PointsPerMillimetre = 72.0 / 25.4;

int Pixels(double Millimetres, int Dpi) {
    return static_cast<int>(std::lround(Millimetres / 25.4 * Dpi));
}

}  // namespace

TPrinter::TPrinter() = default;
TPrinter::~TPrinter() = default;

void TPrinter::RequirePrinting() const {
    if (!Printing()) throw Exception(Format("%s", "Printer is not currently printing."));
}

void TPrinter::RequireIdle(const char* What) const {
    if (Printing()) throw Exception(Format("Cannot change the %s while printing.", What));
}

void TPrinter::SetResolution(int Horizontal, int Vertical) {
    RequireIdle("resolution");
    if (Horizontal < 1 || Horizontal > MaxDpi || Vertical < 1 || Vertical > MaxDpi)
        throw Exception(Format("A resolution of %d x %d dpi is out of range (1 to %d).", Horizontal,
                               Vertical, MaxDpi));
    dpiX_ = Horizontal;
    dpiY_ = Vertical;
}

void TPrinter::SetPaper(TPaperSize Paper) {
    RequireIdle("paper");
    if (!(Paper.Width > 0 && Paper.Width <= MaxPaperMillimetres && Paper.Height > 0 &&
          Paper.Height <= MaxPaperMillimetres))
        throw Exception(Format("A paper of %g x %g mm is out of range (at most %g mm a side).",
                               Paper.Width, Paper.Height, MaxPaperMillimetres));
    paper_ = Paper;
}

int TPrinter::GetDeviceCaps(int Index) const {
    switch (Index) {
        case LOGPIXELSX:
            return dpiX_;
        case LOGPIXELSY:
            return dpiY_;
        case HORZRES:
            return Pixels(paper_.Width, dpiX_);
        case VERTRES:
            return Pixels(paper_.Height, dpiY_);
        default:
            return 0;
    }
}

int TPrinter::PageNumber() const {
    return document_ ? document_->PageCount() : 0;
}

void TPrinter::BeginDoc() {
    if (Printing()) throw Exception(Format("%s", "Printing in progress."));
    document_ = std::make_unique<TVectorFile>(
        FileName, TVectorFormat::Pdf,
        TPageSetup{paper_.Width * PointsPerMillimetre, paper_.Height * PointsPerMillimetre, dpiX_,
                   dpiY_});
}

void TPrinter::NewPage() {
    RequirePrinting();
    document_->NewPage();
}

void TPrinter::EndDoc() {
    RequirePrinting();
    // The job is over whatever the outcome; a failed file has already removed itself.
    const std::unique_ptr<TVectorFile> document = std::move(document_);
    document->Commit();
}

void TPrinter::Abort() {
    document_.reset();
}

TCustomCanvas& TPrinter::Canvas() {
    RequirePrinting();
    return document_->Canvas();
}

TPrinter& Printer() {
    static TPrinter printer;
    return printer;
}

}  // namespace ribbon
