// Draws an EAN-13 symbol with the C++ engine into the PNG named on the command line and shows
// that the engine's errors arrive as ribbon::Exception.
#include <ribbonkit/base/Exceptions.h>
#include <ribbonkit/engine/ZBarCode.h>
#include <ribbonkit/graphics/Bitmap.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace ribbon;
    try {
        Z_GetBarWidth(bcCode93, "ab", 1, 2.0, csNone);
        return 3;
    } catch (const Exception& e) {
        std::printf("%s\n", e.Message.c_str());
    }
    TBitmap bitmap(260, 110);
    Z_DrawBar(bitmap.Canvas(), bcCodeEAN13, "590123412345", 2, 2.0, csModulo10, 20, 20, 70, TFont{},
              tsNone, tpBottomCenter, clBlack, clWhite, clWhite, 0.0);
    bitmap.SaveToFile(argv[1]);
    std::printf("%s\n", Z_GetBarTypeName(bcCodeEAN13).c_str());
    return 0;
}
