// The C interface with any arguments: every call returns a status, a failure comes with a
// message for the thread and a success with none, and drawing into the caller's picture stays
// inside the rows it was given (the picture is allocated to the byte, so ASan sees any overrun).

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "include/ribbonkit.h"

namespace {

[[noreturn]] void Fail(const char* what, int status) {
    std::fprintf(stderr, "%s (status %d, message \"%s\")\n", what, status, ribbonkit_last_error());
    std::abort();
}

void Check(ribbonkit_status status) {
    const bool quiet = ribbonkit_last_error()[0] == '\0';
    if (status == RIBBONKIT_OK && !quiet) Fail("a success with a message", status);
    if (status != RIBBONKIT_OK && quiet) Fail("a failure without a message", status);
}

struct Bytes {
    const std::uint8_t* p;
    std::size_t n;
    std::uint8_t Take() {
        if (n == 0) return 0;
        --n;
        return *p++;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 12 || size > 256) return 0;
    Bytes in{data, size};
    static const double angles[] = {0, 90, 180, 270, 30, -45, 1e300, NAN, INFINITY};

    ribbonkit_drawing d;
    ribbonkit_drawing_init(&d);
    d.type = static_cast<int>(in.Take()) - 2;  // a few unknown types below and above
    d.modul = static_cast<int>(in.Take() % 8) - 1;
    d.ratio = 1.0 + in.Take() / 64.0;
    d.checksum = in.Take() % 3;
    d.height = static_cast<int>(in.Take() % 70) - 5;
    d.angle = angles[in.Take() % (sizeof angles / sizeof *angles)];
    d.text_show = in.Take() % 5;
    d.text_position = in.Take() % 7;
    d.left = static_cast<int>(in.Take() % 40) - 1;
    d.top = static_cast<int>(in.Take() % 40) - 1;
    const int width = 1 + in.Take() % 96, height = 1 + in.Take() % 64;
    const std::string text(reinterpret_cast<const char*>(in.p), in.n);
    d.data = text.c_str();

    char pattern[64];
    std::size_t pattern_size = sizeof pattern, text_size = 0;
    int widths[4];
    ribbonkit_status status = ribbonkit_encode(d.type, d.data, d.modul, d.ratio, d.checksum,
                                               pattern, &pattern_size, nullptr, &text_size, widths);
    Check(status);
    if (status == RIBBONKIT_OK && std::strlen(pattern) + 1 != pattern_size)
        Fail("a pattern whose size is not the one reported", status);

    int bar_width = 0, canvas_width = 0, canvas_height = 0;
    Check(ribbonkit_measure(d.type, d.data, d.modul, d.ratio, d.checksum, d.height, d.angle,
                            &bar_width, &canvas_width, &canvas_height));

    const int stride = width * 3 + in.Take() % 4;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(stride) * height);
    Check(ribbonkit_render_rgb(&d, rgb.data(), width, height, stride));
    return 0;
}
