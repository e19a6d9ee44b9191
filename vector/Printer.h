#pragma once
// The process-wide printer. A print job is a PDF whose pages have the paper's physical size and
// whose canvas counts in printer pixels: one pixel is exactly 1/dpi inch on the page, and a font
// size in points keeps its physical size. The resolution is a device property that callers read
// through GetDeviceCaps, as they would from a printer driver.
//
// Used by one thread at a time, like any canvas.

#include <memory>
#include <string>

#include "../base/Export.h"
#include "../graphics/CustomCanvas.h"

namespace ribbon {

class TVectorFile;

/// Device capability indices.
inline constexpr int HORZRES = 8;      // page width in printer pixels
inline constexpr int VERTRES = 10;     // page height in printer pixels
inline constexpr int LOGPIXELSX = 88;  // dots per inch horizontally
inline constexpr int LOGPIXELSY = 90;  // dots per inch vertically

/// A paper size in millimetres.
struct TPaperSize {
    double Width;
    double Height;
    friend constexpr bool operator==(const TPaperSize&, const TPaperSize&) = default;
};
inline constexpr TPaperSize PaperA4{210.0, 297.0};
inline constexpr TPaperSize PaperLetter{215.9, 279.4};

class RIBBON_API TPrinter {
  public:
    static constexpr int DefaultDpi = 600;
    static constexpr int MaxDpi = 9600;
    static constexpr double MaxPaperMillimetres = 5000.0;  // PDF pages end at 200 inches

    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    /// Where EndDoc puts the document: a PDF file, replaced if it exists.
    std::string FileName;

    /// The resolution in dots per inch (1..MaxDpi); not while printing.
    void SetResolution(int Horizontal, int Vertical);
    /// The paper, each side above 0 and up to MaxPaperMillimetres; not while printing.
    void SetPaper(TPaperSize Paper);
    TPaperSize Paper() const { return paper_; }

    /// LOGPIXELSX, LOGPIXELSY, HORZRES or VERTRES; 0 for any other index.
    int GetDeviceCaps(int Index) const;
    int PageWidth() const { return GetDeviceCaps(HORZRES); }
    int PageHeight() const { return GetDeviceCaps(VERTRES); }

    bool Printing() const { return document_ != nullptr; }
    /// The page being printed, counted from 1; 0 when not printing.
    int PageNumber() const;

    /// Starts a job on its first page; raises when FileName cannot be created.
    void BeginDoc();
    void NewPage();
    /// Finishes the job and writes FileName; on a failure nothing is left under that name and
    /// the job is over.
    void EndDoc();
    /// Drops the job without writing anything.
    void Abort();

    /// The canvas of the current page; raises when no job is running.
    TCustomCanvas& Canvas();

  private:
    void RequirePrinting() const;
    void RequireIdle(const char* What) const;

    int dpiX_ = DefaultDpi;
    int dpiY_ = DefaultDpi;
    TPaperSize paper_ = PaperA4;
    std::unique_ptr<TVectorFile> document_;
};

/// The one printer of the process.
RIBBON_API TPrinter& Printer();

}  // namespace ribbon
