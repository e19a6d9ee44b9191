// The C interface: every entry point turns the engine's exceptions into a status and a
// per-thread message, so nothing thrown in C++ ever reaches a C caller.

#include <cmath>
#include <cstring>
#include <new>
#include <string>

#include "base/Exceptions.h"
#include "engine/ZBarCode.h"
#include "include/ribbonkit.h"
#include "library/Picture.h"
#include "library/Units.h"

namespace ribbon {
namespace {

// A fixed buffer rather than a std::string: a thread_local with a destructor would keep the
// library from being unloaded while the thread lives.
thread_local char LastError[4096];

ribbonkit_status Fail(ribbonkit_status Status, const char* Message) {
    std::strncpy(LastError, Message, sizeof LastError - 1);
    LastError[sizeof LastError - 1] = '\0';
    return Status;
}

struct TArgumentError {
    const char* Message;
};

void Require(bool Condition, const char* Message) {
    if (!Condition) throw TArgumentError{Message};
}

TBarType BarTypeArg(int Type) {
    Require(Type >= 0 && Type < BarTypeCount, "Unknown symbology: type must be 0..22.");
    return static_cast<TBarType>(Type);
}

TCheckSum CheckSumArg(int CheckSum) {
    Require(CheckSum == 0 || CheckSum == 1, "checksum must be 0 or 1.");
    return CheckSum ? csModulo10 : csNone;
}

// Runs Body, mapping every exception onto a status and message.
template <typename Body>
ribbonkit_status Guard(Body&& body) {
    LastError[0] = '\0';
    if (!LibraryStarted())
        return Fail(RIBBONKIT_NOT_STARTED, "The library was finalized; call Initialize first.");
    try {
        return body();
    } catch (const TArgumentError& e) {
        return Fail(RIBBONKIT_INVALID_ARGUMENT, e.Message);
    } catch (const EFileError& e) {
        return Fail(RIBBONKIT_FILE_ERROR, e.Message.c_str());
    } catch (const Exception& e) {
        return Fail(RIBBONKIT_REJECTED, e.Message.c_str());
    } catch (const std::bad_alloc&) {
        return Fail(RIBBONKIT_INTERNAL, "Out of memory.");
    } catch (const std::exception& e) {
        return Fail(RIBBONKIT_INTERNAL, e.what());
    } catch (...) {
        return Fail(RIBBONKIT_INTERNAL, "Unexpected error.");
    }
}

// Copies Value into a caller's buffer of *Size bytes; *Size becomes the size needed.
bool CopyOut(const std::string& Value, char* Buffer, size_t* Size) {
    const size_t needed = Value.size() + 1;
    const bool fits = Buffer && *Size >= needed;
    if (fits) std::memcpy(Buffer, Value.c_str(), needed);
    *Size = needed;
    return fits;
}

}  // namespace
}  // namespace ribbon

using namespace ribbon;

extern "C" {

const char* ribbonkit_last_error(void) {
    return LastError;
}

int ribbonkit_symbology_count(void) {
    return BarTypeCount;
}

const char* ribbonkit_symbology_name(int type) {
    if (!LibraryStarted() || type < 0 || type >= BarTypeCount) return nullptr;
    return BCData[type].Name.data();  // the names are NUL-terminated literals
}

int ribbonkit_symbology_numeric_only(int type) {
    if (!LibraryStarted() || type < 0 || type >= BarTypeCount) return -1;
    return BCData[type].NumericOnly ? 1 : 0;
}

ribbonkit_status ribbonkit_encode(int type, const char* data, int modul, double ratio, int checksum,
                                  char* pattern, size_t* pattern_size, char* text,
                                  size_t* text_size, int widths[4]) {
    return Guard([&] {
        Require(data && pattern_size, "data and pattern_size must not be NULL.");
        Require(!text || text_size, "text_size must be given with text.");
        const TBarSymbol symbol =
            EncodeBar(BarTypeArg(type), data, modul, ratio, CheckSumArg(checksum));
        const TBarWidths& w = symbol.Widths;
        const std::string& shown = symbol.Text;
        const std::string& bars = symbol.Pattern;
        if (widths) {
            widths[0] = w.Width0;
            widths[1] = w.Width1;
            widths[2] = w.Width2;
            widths[3] = w.Width3;
        }
        bool fits = CopyOut(bars, pattern, pattern_size);
        if (text_size) fits = CopyOut(shown, text, text_size) && fits;
        if (!fits)
            return Fail(RIBBONKIT_BUFFER_TOO_SMALL,
                        "The pattern or text buffer is too small; see the sizes returned.");
        return RIBBONKIT_OK;
    });
}

ribbonkit_status ribbonkit_measure(int type, const char* data, int modul, double ratio,
                                   int checksum, int height, double angle, int* bar_width,
                                   int* canvas_width, int* canvas_height) {
    return Guard([&] {
        Require(data != nullptr, "data must not be NULL.");
        const TBarType t = BarTypeArg(type);
        const TCheckSum cs = CheckSumArg(checksum);
        if (bar_width) *bar_width = Z_GetBarWidth(t, data, modul, ratio, cs);
        if (canvas_width)
            *canvas_width = Z_GetCanvasWidth(t, data, modul, ratio, cs, height, angle);
        if (canvas_height)
            *canvas_height = Z_GetCanvasHeight(t, data, modul, ratio, cs, height, angle);
        return RIBBONKIT_OK;
    });
}

void ribbonkit_drawing_init(ribbonkit_drawing* d) {
    if (!d) return;
    *d = ribbonkit_drawing{};
    d->modul = 1;
    d->ratio = 2.0;
    d->left = d->top = -1;
    d->height = 50;
    d->text_position = RIBBONKIT_BOTTOM_CENTER;
    d->font_size = 10;
    d->color_space = d->text_color = d->background = 0xFFFFFF;
}

ribbonkit_status ribbonkit_picture_size(const ribbonkit_drawing* drawing, int* width, int* height) {
    return Guard([&] {
        Require(drawing && width && height, "drawing, width and height must not be NULL.");
        const TPicture picture = PictureOf(*drawing);
        *width = picture.Width;
        *height = picture.Height;
        return RIBBONKIT_OK;
    });
}

ribbonkit_status ribbonkit_render_rgb(const ribbonkit_drawing* drawing, uint8_t* rgb, int width,
                                      int height, int stride) {
    return Guard([&] {
        Require(drawing && rgb, "drawing and rgb must not be NULL.");
        Require(width > 0 && height > 0 && stride >= 3LL * width,
                "width and height must be positive and stride at least 3 x width.");
        RenderRgb(PictureOf(*drawing), rgb, width, height, stride);
        return RIBBONKIT_OK;
    });
}

ribbonkit_status ribbonkit_render_file(const ribbonkit_drawing* drawing, const char* path) {
    return Guard([&] {
        Require(drawing && path, "drawing and path must not be NULL.");
        RenderFile(PictureOf(*drawing), path);
        return RIBBONKIT_OK;
    });
}
}
