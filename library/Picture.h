#pragma once
// One C-interface drawing turned into an engine call: checked arguments, the symbol's place and
// the picture around it.

#include <cstdint>
#include <string>

#include "engine/ZBarCode.h"
#include "graphics/Graphics.h"
#include "include/ribbonkit.h"

namespace ribbon {

struct TPicture {
    TBarType Type;
    std::string Data;
    int Modul;
    double Ratio;
    TCheckSum CheckSum;
    int Left, Top, Height;
    double Angle;
    TTextShow TextShow;
    TTextPosition TextPosition;
    TFont Font;
    TColor ColorBar, ColorSpc, TextColor, Background;
    int Width, PictureHeight;  // the file's picture: the turned symbol with its margins
};

// Checks the drawing and places the symbol; raises for arguments out of range.
TPicture PictureOf(const ribbonkit_drawing& Drawing);

// Draws onto the caller's RGB rows; pixels outside the symbol keep their values.
void RenderRgb(const TPicture& Picture, std::uint8_t* Rgb, int Width, int Height, int Stride);

// Writes the picture into the file its extension names; nothing is left behind on failure.
void RenderFile(const TPicture& Picture, const std::string& Path);

}  // namespace ribbon
