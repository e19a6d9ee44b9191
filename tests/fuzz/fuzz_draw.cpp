// Z_DrawBar of both editions onto a small bitmap with any geometry, angle (NaN and infinities
// too), text options, colours and font. Drawing must end in an error with a message or leave a
// bitmap of the same size; the sanitizers watch every pixel written.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <limits>

#include "base/Exceptions.h"
#include "engine/ZBarCode.h"
#include "graphics/Bitmap.h"

namespace {

using namespace ribbon;

double AnyAngle(FuzzedDataProvider& in) {
    constexpr double specials[] = {std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(),
                                   std::numeric_limits<double>::max(),
                                   std::numeric_limits<double>::denorm_min(),
                                   -0.0,
                                   90,
                                   180,
                                   270,
                                   1e17};
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0:
            return specials[in.ConsumeIntegralInRange<std::size_t>(0, std::size(specials) - 1)];
        case 1:
            return in.ConsumeFloatingPointInRange(-720.0, 720.0);
        default:
            return in.ConsumeFloatingPoint<double>();
    }
}

int SmallOrAny(FuzzedDataProvider& in, int low, int high) {
    return in.ConsumeIntegralInRange(0, 7) != 0 ? in.ConsumeIntegralInRange(low, high)
                                                : in.ConsumeIntegral<int>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const TEditionRules rules = in.ConsumeBool() ? WebRules : DesktopRules;
    const auto type = static_cast<TBarType>(in.ConsumeIntegralInRange(0, BarTypeCount));
    const auto checkSum = static_cast<TCheckSum>(in.ConsumeIntegralInRange(0, 1));
    const int width = in.ConsumeIntegralInRange(0, 96), height = in.ConsumeIntegralInRange(0, 96);
    const int modul = SmallOrAny(in, 1, 4);
    const double ratio = in.ConsumeFloatingPointInRange(-1.0, 5.0);
    const int left = SmallOrAny(in, -100, 100), top = SmallOrAny(in, -100, 100);
    const int barHeight = SmallOrAny(in, -10, 120);
    const double angle = AnyAngle(in);
    TFont font;
    constexpr const char* faces[] = {"DejaVu Sans",     "Arial", "Courier New", "Times New Roman",
                                     "Liberation Mono", "",      "No Such Face"};
    font.Name = faces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(faces) - 1)];
    if (in.ConsumeIntegralInRange(0, 15) == 0) font.Name = in.ConsumeRandomLengthString(40);
    font.Size = SmallOrAny(in, -40, 80);
    for (TFontStyle style : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
        if (in.ConsumeBool()) font.Style.Include(style);
    const auto textShow = static_cast<TTextShow>(in.ConsumeIntegralInRange(0, 3));
    const auto textPosition = static_cast<TTextPosition>(in.ConsumeIntegralInRange(0, 5));
    const auto colorBar = in.ConsumeIntegral<TColor>(), colorSpc = in.ConsumeIntegral<TColor>(),
               textColor = in.ConsumeIntegral<TColor>();
    const std::string text = in.ConsumeRemainingBytesAsString();

    TBitmap bitmap(width, height);
    try {
        const TBarSymbol symbol = Z_EncodeBar(type, text, modul, ratio, checkSum, rules);
        Z_DrawBar(bitmap.Canvas(), symbol, left, top, barHeight, font, textShow, textPosition,
                  colorBar, colorSpc, textColor, angle);
    } catch (const Exception& error) {
        if (error.Message.empty()) {
            std::fprintf(stderr, "an error without a message\n");
            std::abort();
        }
    }
    if (bitmap.Width() != width || bitmap.Height() != height) {
        std::fprintf(stderr, "the drawing resized the bitmap\n");
        std::abort();
    }
    return 0;
}
