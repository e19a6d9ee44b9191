// A quadrilateral that no row crosses more than twice is cut into bands of rows at its corners'
// rows. Inside a band the same two edges bound every row; where both are steeper than 45 degrees
// each lights one pixel per row next to the interior, so the row is one run from one edge's pixel
// to the other's.

#include "graphics/QuadFill.h"

#include <algorithm>
#include <cstring>
#include <utility>

#if 0
#include <emmintrin.h>
#endif

namespace ribbon::detail {

namespace {

// Steep edges this many rows long or longer are tabled by slope (up to MaxSlopes slopes of up
// to MaxSlopeRows rows).
constexpr long long MinSlopeRows = 8;

// Coordinates within +-Limit keep every product below inside 64 bits: at most 2 * 2^30 * 2^30.
constexpr long long Limit = 1LL << 29;

// floor(N / D) and its remainder, D > 0.
void FloorDivMod(long long N, long long D, long long& Q, long long& R) {
    Q = N / D;
    R = N % D;
    if (R < 0) {
        --Q;
        R += D;
    }
}

// The same for a step no longer than D, the common case, without dividing.
void StepDivMod(long long N, long long D, long long& Q, long long& R) {
    if (N >= 0 && N < D) {
        Q = 0;
        R = N;
    } else if (N < 0 && N >= -D) {
        Q = -1;
        R = N + D;
    } else if (D == 2) {  // an edge one row high
        Q = N >> 1;
        R = N & 1;
    } else {
        FloorDivMod(N, D, Q, R);
    }
}

std::vector<TQuadPainter::SlopeKey>& ThreadSlopeKeys() {
    thread_local std::vector<TQuadPainter::SlopeKey> keys;
    return keys;
}

std::vector<int>& ThreadSlopes() {
    thread_local std::vector<int> offsets;
    return offsets;
}

}  // namespace

// An edge walked down its rows. With the crossing of the current row at x = q + (r - dy) / d
// (0 <= r < d = 2 dy), q is the pixel nearest to it (halves up, as the outline picks it) and the
// first pixel at or right of it (as the interior starts) is q or q + 1.
struct TQuadPainter::Edge {
    // Set field by field for each polygon (no zeroing first: this runs for every bar).
    long long top, bottom, dy, d;
    bool steep;  // more rows than columns: one outline pixel per row
    long long q, r, stepQ, stepR;
    long long x0, dx;  // the upper end's column and the run to the lower end
    long long table;   // where its slope's offsets start in slopes_, or -1

    long long Ceil() const { return q + (r > dy); }
    // The state at row Y, from the table.
    void Seek(long long Y, const int* Slopes) {
        const long long t = Y - top;
        if (t > dy) return;  // past its end: no longer used
        const long long o = Slopes[table + t];
        q = x0 + o;
        r = 2 * t * dx + dy - d * o;
    }
    // Branch-free: on a bar's slope the carry comes every other row or so, unpredictably.
    void Next() {
        q += stepQ;
        r += stepR;
        const long long carry = r >= d;
        q += carry;
        r -= d & -carry;
    }
};

TQuadPainter::TQuadPainter(std::uint8_t* Rgb, int Width, int Height)
    : rgb_(Rgb),
      width_(Width),
      height_(Height),
      stride_(static_cast<std::size_t>(Width > 0 ? Width : 0) * 3),
      slopeKeys_(ThreadSlopeKeys()),
      slopes_(ThreadSlopes()) {
    slopeKeys_.clear();
    slopes_.clear();
}

void TQuadPainter::SetColor(TColor Color) {
    for (int i : {current_, 1 - current_})
        if (made_[i] && colors_[i] == Color) {
            current_ = i;
            block_ = blocks_[i];
            return;
        }
    current_ = made_[current_] ? 1 - current_ : current_;
    std::uint8_t* block = blocks_[current_];
    block[0] = GetRValue(Color);
    block[1] = GetGValue(Color);
    block[2] = GetBValue(Color);
    // Doubled until full.
    std::memcpy(block + 3, block, 3);
    std::memcpy(block + 6, block, 6);
    std::memcpy(block + 12, block, 12);
    std::memcpy(block + 24, block, 24);
    std::memcpy(block + 48, block, 16);
    colors_[current_] = Color;
    made_[current_] = true;
    block_ = block;
}

void TQuadPainter::Plot(long long X, long long Y) {
    if (X >= 0 && X < width_)
        std::memcpy(rgb_ + static_cast<std::size_t>(Y) * stride_ + static_cast<std::size_t>(X) * 3,
                    block_, 3);
}

// Paints Bytes (a multiple of 3) at P with the colour repeated in Block.
[[gnu::always_inline]] inline void PaintRun(std::uint8_t* p, std::size_t bytes,
                                            const std::uint8_t* Block) {
    // Two or three overlapping stores per run, each reading the block from the offset whose
    // colour component matches where it lands (bytes is a multiple of 3); a bar's run is a few
    // pixels long.
    for (; bytes > 48; p += 48, bytes -= 48) std::memcpy(p, Block, 48);
    if (bytes <= 6) {                              // one pixel or two, alike
        const std::size_t middle = bytes / 2 - 1;  // 0 or 2
        std::memcpy(p, Block, 2);
        std::memcpy(p + middle, Block + middle, 2);
        std::memcpy(p + bytes - 2, Block + 1, 2);
    } else if (bytes <= 16) {
        std::memcpy(p, Block, 8);
        std::memcpy(p + bytes - 8, Block + 1, 8);
    } else if (bytes <= 32) {
        std::memcpy(p, Block, 16);
        std::memcpy(p + bytes - 16, Block + 2, 16);
    } else {
        std::memcpy(p, Block, 32);
        std::memcpy(p + bytes - 32, Block + 1, 32);
    }
}

[[gnu::always_inline]] inline void TQuadPainter::Fill(long long Y, long long X0, long long X1) {
    X0 = std::max(X0, 0LL);
    X1 = std::min(X1, width_ - 1);
    if (X0 > X1) return;
    PaintRun(rgb_ + static_cast<std::size_t>(Y) * stride_ + static_cast<std::size_t>(X0) * 3,
             static_cast<std::size_t>(X1 - X0 + 1) * 3, block_);
}

void TQuadPainter::CornerRow(Edge* Edges, long long Y) {
    long long lo = 0, hi = 0;
    int crossings = 0;
    for (int i = 0; i < 4; ++i) {
        Edge& e = Edges[i];
        if (e.dy == 0 || Y < e.top || Y > e.bottom) continue;
        if (Y < e.bottom) {
            const long long x = e.Ceil();
            lo = crossings ? std::min(lo, x) : x;
            hi = crossings ? std::max(hi, x) : x;
            ++crossings;
        }
        if (e.steep) Plot(e.q, Y);
        e.Next();
    }
    if (crossings) Fill(Y, lo, hi - 1);
}

void TQuadPainter::Rows(Edge& EdgeA, Edge& EdgeB, long long From, long long To) {
    // Walked in locals, which the stores into the rows cannot alias.
    Edge a = EdgeA, b = EdgeB;
    if (a.steep && b.steep) {
        // Interior and both edges' pixels make one run.
        const long long right = width_ - 1;
        const std::size_t stride = stride_;
        const std::uint8_t* const block = block_;
        std::uint8_t* row = rgb_ + static_cast<std::size_t>(From) * stride;
        auto run = [&](long long qa, long long qb) __attribute__((always_inline)) {
            const long long x0 = std::max(std::min(qa, qb), 0LL);
            const long long x1 = std::min(std::max(qa, qb), right);
            if (x0 <= x1)
                PaintRun(row + static_cast<std::size_t>(x0) * 3,
                         static_cast<std::size_t>(x1 - x0 + 1) * 3, block);
            row += stride;
        };
        if (a.table >= 0 && b.table >= 0) {
            // Both slopes tabled: the nearest pixels are looked up, not stepped.
            const int* ta = slopes_.data() + a.table + (From - a.top);
            const int* tb = slopes_.data() + b.table + (From - b.top);
            for (long long i = 0; i <= To - From; ++i) run(a.x0 + ta[i], b.x0 + tb[i]);
            a.Seek(To + 1, slopes_.data());
            b.Seek(To + 1, slopes_.data());
        } else {
            for (long long y = From; y <= To; ++y) {
                run(a.q, b.q);
                a.Next();
                b.Next();
            }
        }
    } else {
        // A flat edge's pixels are drawn apart, by columns.
        for (long long y = From; y <= To; ++y) {
            const long long ca = a.Ceil(), cb = b.Ceil();
            Fill(y, std::min(ca, cb), std::max(ca, cb) - 1);
            if (a.steep) Plot(a.q, y);
            if (b.steep) Plot(b.q, y);
            a.Next();
            b.Next();
        }
    }
    EdgeA = a;
    EdgeB = b;
}

long long TQuadPainter::Slope(long long Dx, long long Dy) {
    if (Dy > MaxSlopeRows) return -1;
    for (const SlopeKey& k : slopeKeys_)
        if (k.dx == Dx && k.dy == Dy) return k.at;
    if (slopeKeys_.size() == MaxSlopes) return -1;
    const long long at = static_cast<long long>(slopes_.size());
    slopes_.resize(slopes_.size() + static_cast<std::size_t>(Dy) + 1);
    int* offsets = slopes_.data() + at;
    // floor((2 t Dx + Dy) / (2 Dy)) for t = 0 .. Dy
    long long q = 0, r = Dy, stepQ, stepR;
    StepDivMod(2 * Dx, 2 * Dy, stepQ, stepR);
    for (long long t = 0; t <= Dy; ++t) {
        offsets[t] = static_cast<int>(q);
        q += stepQ;
        r += stepR;
        const long long carry = r >= 2 * Dy;
        q += carry;
        r -= (2 * Dy) & -carry;
    }
    slopeKeys_.push_back({Dx, Dy, at});
    return at;
}

void TQuadPainter::FlatLine(TPoint A, TPoint B) {
    if (A.X > B.X) std::swap(A, B);
    const long long run = static_cast<long long>(B.X) - A.X;  // >= |rise|
    const long long rise = static_cast<long long>(B.Y) - A.Y;
    if (run == 0) {  // a point
        if (A.Y >= 0 && A.Y < height_) Plot(A.X, A.Y);
        return;
    }
    const long long from = std::max<long long>(A.X, 0), to = std::min<long long>(B.X, width_ - 1);
    if (from > to) return;
    // The row nearest the line in each column, halves up.
    const long long d = 2 * run;
    long long q = 0, r = run, stepQ, stepR;
    if (from != A.X) FloorDivMod(2 * (from - A.X) * rise + run, d, q, r);
    q += A.Y;
    StepDivMod(2 * rise, d, stepQ, stepR);
    for (long long x = from; x <= to; ++x) {
        if (q >= 0 && q < height_) Plot(x, q);
        q += stepQ;
        r += stepR;
        const long long carry = r >= d;
        q += carry;
        r -= d & -carry;
    }
}

namespace {

// Whether every row crosses the outline at most twice: the edges' rises change sign at most
// twice around it.
bool CrossesRowsAtMostTwice(const TPoint (&P)[4]) {
    int firstSign = 0, previous = 0, changes = 0;
    for (int i = 0; i < 4; ++i) {
        const int rise = P[(i + 1) % 4].Y - P[i].Y;
        if (rise == 0) continue;
        const int sign = rise > 0 ? 1 : -1;
        if (firstSign == 0)
            firstSign = sign;
        else
            changes += sign != previous;
        previous = sign;
    }
    changes += previous != firstSign;
    return changes <= 2;
}

}  // namespace

void TQuadPainter::StartEdges(const TPoint (&P)[4], Edge (&Edges)[4], long long First,
                              long long Last) {
    for (int i = 0; i < 4; ++i) {
        TPoint a = P[i], b = P[(i + 1) % 4];
        if (a.Y > b.Y) std::swap(a, b);
        Edge& e = Edges[i];
        const long long dx = static_cast<long long>(b.X) - a.X;
        e.top = a.Y;
        e.bottom = b.Y;
        e.dy = e.bottom - e.top;
        e.steep = e.dy > (dx < 0 ? -dx : dx);
        if (e.dy == 0 || e.top > Last || e.bottom < First) {
            e.dy = 0;  // no rows here
            continue;
        }
        e.d = 2 * e.dy;
        const long long start = std::max(e.top, First);
        e.q = 0;
        e.r = e.dy;
        if (start != e.top) FloorDivMod(2 * (start - e.top) * dx + e.dy, e.d, e.q, e.r);
        e.q += a.X;
        e.stepQ = e.stepR = 0;
        if (std::min(e.bottom, Last) > start) StepDivMod(2 * dx, e.d, e.stepQ, e.stepR);
        e.x0 = a.X;
        e.dx = dx;
        // Long steep edges of one slope recur from bar to bar: their pixels are tabled once.
        e.table =
            e.steep && std::min(e.bottom, Last) - start >= MinSlopeRows ? Slope(dx, e.dy) : -1;
    }
}

void TQuadPainter::PaintBands(const TPoint (&P)[4], Edge (&Edges)[4], long long First,
                              long long Last) {
    long long ys[4] = {P[0].Y, P[1].Y, P[2].Y, P[3].Y};
    auto order = [&](int i, int j) {
        const long long lo = std::min(ys[i], ys[j]), hi = std::max(ys[i], ys[j]);
        ys[i] = lo;
        ys[j] = hi;
    };
    order(0, 1);
    order(2, 3);
    order(0, 2);
    order(1, 3);
    order(1, 2);
    const long long* const end = std::unique(ys, ys + 4);
    for (const long long* y = ys; y != end; ++y) {
        if (*y >= First && *y <= Last) CornerRow(Edges, *y);
        if (y + 1 == end) break;
        const long long from = std::max(*y + 1, First), to = std::min(y[1] - 1, Last);
        if (from > to) continue;
        // The two edges that span the band.
        Edge* pair[2] = {nullptr, nullptr};
        int found = 0;
        for (Edge& e : Edges)
            if (e.dy != 0 && e.top <= *y && e.bottom >= y[1] && found < 2) pair[found++] = &e;
        if (found == 2) Rows(*pair[0], *pair[1], from, to);
    }
}

bool TQuadPainter::Paint(const TPoint (&P)[4], TColor Color) {
    for (const TPoint& p : P)
        if (p.X > Limit || p.X < -Limit || p.Y > Limit || p.Y < -Limit) return false;
    if (!CrossesRowsAtMostTwice(P)) return false;

    if (width_ <= 0 || height_ <= 0) return true;
    long long minX = P[0].X, maxX = P[0].X, minY = P[0].Y, maxY = P[0].Y;
    for (const TPoint& p : P) {
        minX = std::min<long long>(minX, p.X);
        maxX = std::max<long long>(maxX, p.X);
        minY = std::min<long long>(minY, p.Y);
        maxY = std::max<long long>(maxY, p.Y);
    }
    // Every pixel lies within the corners' bounding box.
    const long long first = std::max(minY, 0LL), last = std::min(maxY, height_ - 1);
    if (first > last || maxX < 0 || minX >= width_) return true;
    SetColor(Color);

    Edge edges[4];
    StartEdges(P, edges, first, last);
    // Bands between the corners' rows; the corners' rows one by one.
    PaintBands(P, edges, first, last);
    for (int i = 0; i < 4; ++i)
        if (!edges[i].steep) FlatLine(P[i], P[(i + 1) % 4]);
    return true;
}

}  // namespace ribbon::detail
