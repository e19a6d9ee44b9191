#pragma once
// A PDF or SVG file drawn through a vector canvas. The file appears under its name only when
// it has been written completely (Commit): until then it grows under a hidden temporary name
// in the same directory, which is removed if anything fails or the file is dropped. The same
// picture can also be made in memory (TVectorPicture), for bytes sent elsewhere than a file.

#include <cairo.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "vector/VectorCanvas.h"

namespace ribbon {

enum class TVectorFormat : std::uint8_t { Pdf, Svg };

// The vector format that a file name's extension (.pdf, .svg, any case) names, if any.
std::optional<TVectorFormat> VectorFormatFromFileName(const std::string& FileName);

struct TPageSetup {
    double WidthPoints;  // page size in PostScript points (1/72 inch)
    double HeightPoints;
    int PixelsPerInchX;  // device pixels per inch, horizontally and vertically
    int PixelsPerInchY;
};

class TVectorFile {
  public:
    // Creates the temporary file; raises EFileError when the directory cannot take it. An SVG
    // holds one page.
    TVectorFile(const std::string& FileName, TVectorFormat Format, const TPageSetup& Page);
    ~TVectorFile();  // drops the file unless it was committed
    TVectorFile(const TVectorFile&) = delete;
    TVectorFile& operator=(const TVectorFile&) = delete;

    // The canvas of the current page, in device pixels from its top-left corner.
    TVectorCanvas& Canvas() { return *canvas_; }
    int PageCount() const { return pages_; }

    // Ends the current page and starts the next one (PDF only).
    void NewPage();
    // Finishes the file and gives it its name; raises EFileError (and leaves nothing behind)
    // when it cannot be written completely.
    void Commit();
    // Forgets the file and removes what was written.
    void Discard();

  private:
    static cairo_status_t Write(void* Closure, const unsigned char* Data, unsigned Length);
    void Close();
    [[noreturn]] void Fail(const std::string& Reason);

    std::string name_, temp_;
    TVectorFormat format_;
    std::FILE* file_ = nullptr;
    int writeError_ = 0;  // errno of the first failed write
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    std::unique_ptr<TVectorCanvas> canvas_;
    int pages_ = 1;
};

// A one-page PDF or SVG document made in memory, with the same bytes TVectorFile would write.
class TVectorPicture {
  public:
    TVectorPicture(TVectorFormat Format, const TPageSetup& Page);
    ~TVectorPicture();
    TVectorPicture(const TVectorPicture&) = delete;
    TVectorPicture& operator=(const TVectorPicture&) = delete;

    TVectorCanvas& Canvas() { return *canvas_; }
    // The finished document; raises Exception when cairo could not make it. Ends the drawing.
    std::string Finish();

  private:
    static cairo_status_t Write(void* Closure, const unsigned char* Data, unsigned Length);
    void Close();

    TVectorFormat format_;
    std::string bytes_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    std::unique_ptr<TVectorCanvas> canvas_;
};

}  // namespace ribbon
