#pragma once
// Four-corner polygons painted with their one-pixel outlines in one colour, straight into rows
// of three-byte pixels: exactly the pixels that ScanPolygon's interior and TraceLine's four
// closed outline lines give (Rasterizer.h), found row by row with incremental integer edges
// instead of pixel by pixel. Internal to the graphics library.

#include <cstdint>
#include <vector>

#include "graphics/Graphics.h"

namespace ribbon::detail {

class TQuadPainter {
  public:
    /// Rgb holds Height rows of Width pixels, red, green, blue, no padding.
    TQuadPainter(std::uint8_t* Rgb, int Width, int Height);

    /// Paints the interior of the polygon and its outline in Color. False, with nothing painted,
    /// for what this does not handle (coordinates near the 32-bit edge, shapes that cross some
    /// row more than twice): the caller draws those the general way.
    bool Paint(const TPoint (&Corners)[4], TColor Color);

    /// A slope whose offsets are tabled, and where they start.
    struct SlopeKey {
        long long dx, dy, at;
    };

  private:
    struct Edge;
    void SetColor(TColor Color);
    // X0..X1 inclusive, clipped here; inlined into the row loops.
    void Fill(long long Y, long long X0, long long X1);
    void Plot(long long X, long long Y);  // Y inside the surface
    void CornerRow(Edge* Edges, long long Y);
    void Rows(Edge& A, Edge& B, long long From, long long To);
    void FlatLine(TPoint A, TPoint B);  // a line at most 45 degrees off the horizontal
    // The four edges' steps from their first row inside First..Last (none for a flat one).
    void StartEdges(const TPoint (&P)[4], Edge (&Edges)[4], long long First, long long Last);
    // The rows First..Last: bands between the corners' rows, the corners' rows one by one.
    void PaintBands(const TPoint (&P)[4], Edge (&Edges)[4], long long First, long long Last);
    // Where the offsets of the slope Dx / Dy start in slopes_, made on first use; -1 when the
    // table is full or the slope too long.
    long long Slope(long long Dx, long long Dy);

    std::uint8_t* rgb_;
    long long width_, height_;
    std::size_t stride_;

    static constexpr long long MaxSlopeRows = 4096;
    static constexpr std::size_t MaxSlopes = 16;
    // Kept by the thread from call to call, so that painting allocates nothing once warm.
    std::vector<SlopeKey>& slopeKeys_;
    // For each slope, the nearest pixel's column offset row by row from the upper end.
    std::vector<int>& slopes_;
    // The colour repeated, so that a run is stored in a few wide overlapping blocks; one for
    // the bars and one for the spaces, which take turns.
    std::uint8_t blocks_[2][64];
    TColor colors_[2];
    bool made_[2] = {false, false};
    int current_ = 0;
    const std::uint8_t* block_ = blocks_[0];
};

}  // namespace ribbon::detail
