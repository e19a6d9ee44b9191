#pragma once
// Four-corner polygons painted with their one-pixel outlines in one colour, straight into rows
// of three-byte pixels: exactly the pixels that ScanPolygon's interior and TraceLine's four
// closed outline lines give (Rasterizer.h), found row by row with incremental integer edges
// instead of pixel by pixel. Internal to the runtime.

#include <cstdint>

#include "runtime/Graphics.h"

namespace ribbon::detail {

class TQuadPainter {
  public:
    /// Rgb holds Height rows of Width pixels, red, green, blue, no padding.
    TQuadPainter(std::uint8_t* Rgb, int Width, int Height);

    /// Paints the interior of the polygon and its outline in Color. False, with nothing painted,
    /// for what this does not handle (coordinates near the 32-bit edge, shapes that cross some
    /// row more than twice): the caller draws those the general way.
    bool Paint(const TPoint (&Corners)[4], TColor Color);

  private:
    struct Edge;
    void SetColor(TColor Color);
    // X0..X1 inclusive, clipped here; inlined into the row loops.
    void Fill(long long Y, long long X0, long long X1);
    void Plot(long long X, long long Y);  // Y inside the surface
    void CornerRow(Edge* Edges, long long Y);
    void Rows(Edge& A, Edge& B, long long From, long long To);
    void FlatLine(TPoint A, TPoint B);  // a line at most 45 degrees off the horizontal

    std::uint8_t* rgb_;
    long long width_, height_;
    std::size_t stride_;
    std::uint8_t* end_;  // past the last row
    TColor color_ = 0;
    // The colour repeated, so that a run is stored in a few wide overlapping blocks.
    std::uint8_t block_[64];
};

}  // namespace ribbon::detail
