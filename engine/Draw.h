#pragma once
// The steps of Z_DrawBar. Internal to the engine; the tests reach them here.

#include <string>

#include "engine/ZBarCode.h"
#include "graphics/Canvas.h"

namespace ribbon {
// Angle in degrees to radians, as the drawing uses it: computed in extended precision and kept
// as a double.
double DrawAngle(double Angle);

// P turned about (0, 0) by Theta radians, counter-clockwise on a y-down surface; each
// coordinate rounded half to even.
TPoint RotatePoint(TPoint P, double Theta);

// Where the symbol box's own (0, 0) goes so that the box of Size, turned by Theta, has the
// top-left corner of its upright bounding box at Corner.
TPoint RotatedBoxOrigin(TPoint Corner, TPoint Size, double Theta);

// Round(Angle) mod 360, the remainder taking the sign of Angle: picks the text's nudges.
int AngleBand(double Angle);

// Paints every element of Pattern as a filled four-corner polygon in the box W x H whose
// turned bounding box starts at (Left, Top). Spaces take ColorSpc; bars and half bars ColorBar.
void DrawBarLines(const std::string& Pattern, const TBarWidths& Widths, TCustomCanvas& Canvas,
                  TColor ColorBar, TColor ColorSpc, int Left, int Top, int W, int H, double Angle);

// Writes Text opaque inside the box at TextPosition with Font turned by Angle; its cells are
// filled with TextColor. The canvas's font is left set to Font.
void DrawBarText(const std::string& Text, TCustomCanvas& Canvas, TColor TextColor,
                 const TFont& Font, int Left, int Top, int W, int H, double Angle,
                 TTextPosition TextPosition);

}  // namespace ribbon
