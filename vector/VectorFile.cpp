// PDF and SVG files through cairo, written under a temporary name and renamed when complete.

#include "vector/VectorFile.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace ribbon {

namespace {

std::string LowerExtension(const std::string& FileName) {
    const auto dot = FileName.find_last_of("./");
    if (dot == std::string::npos || FileName[dot] != '.') return {};
    std::string ext = FileName.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

std::string Directory(const std::string& FileName) {
    const auto slash = FileName.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : FileName.substr(0, slash);
}

std::string BaseName(const std::string& FileName) {
    const auto slash = FileName.rfind('/');
    return slash == std::string::npos ? FileName : FileName.substr(slash + 1);
}

// The page's surface writing through Write, and a context drawing on it in device pixels.
void OpenSurface(TVectorFormat Format, const TPageSetup& Page, cairo_write_func_t Write,
                 void* Closure, cairo_surface_t*& Surface, cairo_t*& Context) {
    if (Format == TVectorFormat::Pdf) {
        Surface = cairo_pdf_surface_create_for_stream(Write, Closure, Page.WidthPoints,
                                                      Page.HeightPoints);
    } else {
        // Measured in CSS pixels (96 an inch), which is what SVG viewers take a pixel for.
        Surface = cairo_svg_surface_create_for_stream(Write, Closure, Page.WidthPoints * 96 / 72,
                                                      Page.HeightPoints * 96 / 72);
        cairo_svg_surface_set_document_unit(Surface, CAIRO_SVG_UNIT_PX);
    }
    Context = cairo_create(Surface);
    const double unitsPerInch = Format == TVectorFormat::Pdf ? 72.0 : 96.0;
    cairo_scale(Context, unitsPerInch / Page.PixelsPerInchX, unitsPerInch / Page.PixelsPerInchY);
}

void CloseSurface(std::unique_ptr<TVectorCanvas>& Canvas, cairo_t*& Context,
                  cairo_surface_t*& Surface) {
    Canvas.reset();
    if (Context) cairo_destroy(Context);
    Context = nullptr;
    if (Surface) {
        cairo_surface_finish(Surface);
        cairo_surface_destroy(Surface);
    }
    Surface = nullptr;
}

}  // namespace

std::optional<TVectorFormat> VectorFormatFromFileName(const std::string& FileName) {
    const std::string ext = LowerExtension(FileName);
    if (ext == ".pdf") return TVectorFormat::Pdf;
    if (ext == ".svg") return TVectorFormat::Svg;
    return std::nullopt;
}

TVectorFile::TVectorFile(const std::string& FileName, TVectorFormat Format, const TPageSetup& Page)
    : name_(FileName), format_(Format) {
    if (FileName.empty() || BaseName(FileName).empty())
        throw EFileError(ribbon::Format("Cannot create the file \"%s\": no file name.", FileName));
    std::string pattern = Directory(FileName) + "/." + BaseName(FileName) + ".XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        throw EFileError(
            ribbon::Format("Cannot create the file \"%s\": %s.", FileName, std::strerror(errno)));
    temp_ = pattern;
    // mkstemp makes the file private; give it the mode any new file of the user would get.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    file_ = fdopen(fd, "wb");
    if (!file_) {
        close(fd);
        Fail(std::strerror(errno));
    }

    // The destructor does not run for a constructor that raises: drop the file here (cairo
    // itself may be what fails, when the ribbon tool cannot load it).
    try {
        OpenSurface(Format, Page, Write, this, surface_, cr_);
        if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS)
            Fail(cairo_status_to_string(cairo_status(cr_)));
        canvas_ = std::make_unique<TVectorCanvas>(cr_, Page.PixelsPerInchX, Page.PixelsPerInchY);
    } catch (...) {
        Discard();
        throw;
    }
}

TVectorFile::~TVectorFile() {
    Discard();
}

cairo_status_t TVectorFile::Write(void* Closure, const unsigned char* Data, unsigned Length) {
    auto* self = static_cast<TVectorFile*>(Closure);
    if (self->writeError_ != 0 || !self->file_) return CAIRO_STATUS_WRITE_ERROR;
    if (std::fwrite(Data, 1, Length, self->file_) != Length) {
        self->writeError_ = errno != 0 ? errno : EIO;
        return CAIRO_STATUS_WRITE_ERROR;
    }
    return CAIRO_STATUS_SUCCESS;
}

void TVectorFile::NewPage() {
    if (format_ != TVectorFormat::Pdf)
        throw Exception(ribbon::Format("%s", "An SVG picture has a single page."));
    cairo_show_page(cr_);
    ++pages_;
}

void TVectorFile::Close() {
    CloseSurface(canvas_, cr_, surface_);
}

void TVectorFile::Fail(const std::string& Reason) {
    const std::string name = name_;
    Discard();
    throw EFileError(ribbon::Format("Cannot write the file \"%s\": %s.", name, Reason));
}

void TVectorFile::Commit() {
    if (temp_.empty()) throw Exception(ribbon::Format("%s", "The file was already closed."));
    if (!surface_) Fail("the drawing was interrupted");
    // Ending the last page explicitly keeps it even when nothing was drawn on it, like every
    // page before it: a document has as many pages as were begun.
    if (format_ == TVectorFormat::Pdf) cairo_show_page(cr_);
    cairo_surface_finish(surface_);
    const cairo_status_t status = cairo_surface_status(surface_);
    Close();
    if (writeError_ != 0) Fail(std::strerror(writeError_));
    if (status != CAIRO_STATUS_SUCCESS) Fail(cairo_status_to_string(status));
    // The data must be on the disk before the name points at it.
    if (std::fflush(file_) != 0 || fsync(fileno(file_)) != 0) Fail(std::strerror(errno));
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) Fail(std::strerror(errno));
    if (std::rename(temp_.c_str(), name_.c_str()) != 0) Fail(std::strerror(errno));
    temp_.clear();
}

void TVectorFile::Discard() {
    Close();
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) unlink(temp_.c_str());
    temp_.clear();
}

TVectorPicture::TVectorPicture(TVectorFormat Format, const TPageSetup& Page) : format_(Format) {
    OpenSurface(Format, Page, Write, this, surface_, cr_);
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        const std::string reason = cairo_status_to_string(cairo_status(cr_));
        Close();
        throw Exception(ribbon::Format("Cannot make the picture: %s.", reason));
    }
    canvas_ = std::make_unique<TVectorCanvas>(cr_, Page.PixelsPerInchX, Page.PixelsPerInchY);
}

TVectorPicture::~TVectorPicture() {
    Close();
}

cairo_status_t TVectorPicture::Write(void* Closure, const unsigned char* Data, unsigned Length) {
    static_cast<TVectorPicture*>(Closure)->bytes_.append(reinterpret_cast<const char*>(Data),
                                                         Length);
    return CAIRO_STATUS_SUCCESS;
}

std::string TVectorPicture::Finish() {
    if (!surface_) throw Exception(ribbon::Format("%s", "The picture was already finished."));
    // As TVectorFile::Commit: the page is ended explicitly, so a PDF keeps it even when empty.
    if (format_ == TVectorFormat::Pdf) cairo_show_page(cr_);
    cairo_surface_finish(surface_);
    const cairo_status_t status = cairo_surface_status(surface_);
    Close();
    if (status != CAIRO_STATUS_SUCCESS)
        throw Exception(
            ribbon::Format("Cannot make the picture: %s.", cairo_status_to_string(status)));
    return std::move(bytes_);
}

void TVectorPicture::Close() {
    CloseSurface(canvas_, cr_, surface_);
}

}  // namespace ribbon
