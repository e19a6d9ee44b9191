// The font bookkeeping that every surface shares: selected font objects and the own Font.

#include "graphics/CustomCanvas.h"

#include <cmath>
#include <utility>

#include "graphics/Canvas.h"

namespace ribbon {

TCustomCanvas::TCustomCanvas() = default;
TCustomCanvas::~TCustomCanvas() = default;

bool TCustomCanvas::SelectionHolds() const {
    return selected_ && Font.Assignments() == selectedAt_ && Font == selectedWith_;
}

const TFontHandle* TCustomCanvas::SelectFont(const TFontHandle* Font) {
    const TFontHandle* previous = SelectedFont();
    selected_ = Font;
    selectedAt_ = this->Font.Assignments();
    selectedWith_ = this->Font;
    return previous;
}

const TFontHandle* TCustomCanvas::SelectedFont() const {
    return SelectionHolds() ? selected_ : nullptr;
}

TLogFont TCustomCanvas::OwnLogFont() const {
    TLogFont lf = Font.LogFont(PixelsPerInch());
    if (HorizontalPixelsPerInch() != PixelsPerInch())
        lf.Width = AverageCharWidth(
            lf, static_cast<int>(std::lround(static_cast<long double>(-lf.Height) *
                                             HorizontalPixelsPerInch() / PixelsPerInch())));
    return lf;
}

TLogFont TCustomCanvas::CurrentLogFont() const {
    return SelectionHolds() ? selected_->LogFont() : OwnLogFont();
}

const TFontHandle& TCustomCanvas::CurrentFont() {
    if (SelectionHolds()) return *selected_;
    selected_ = nullptr;
    TLogFont wanted = OwnLogFont();
    if (!ownFont_ || !(wanted == ownFontLog_)) {
        ownFont_ = CreateFontIndirect(wanted);
        ownFontLog_ = std::move(wanted);
    }
    return *ownFont_;
}

void TCustomCanvas::FillRects(std::span<const TColorRect> Rects) {
    Pen.Width = 1;
    Pen.Style = psSolid;
    for (const TColorRect& r : Rects) {
        const TColorQuad quad{{{r.Rect.Left, r.Rect.Top},
                               {r.Rect.Left, r.Rect.Bottom},
                               {r.Rect.Right, r.Rect.Bottom},
                               {r.Rect.Right, r.Rect.Top}},
                              r.Color};
        TCustomCanvas::FillQuads({&quad, 1});
    }
}

void TCustomCanvas::FillQuads(std::span<const TColorQuad> Quads) {
    Pen.Width = 1;
    Pen.Style = psSolid;
    for (const TColorQuad& q : Quads) {
        Pen.Color = q.Color;
        Brush.SetColor(q.Color);
        Polygon(q.Corners);
    }
}

const TFontHandle& TCustomCanvas::FontFor(const TLogFont& LogFont) {
    if (!madeFont_ || !(LogFont == madeFontLog_)) {
        madeFont_ = CreateFontIndirect(LogFont);
        madeFontLog_ = LogFont;
    }
    return *madeFont_;
}

TSize TCustomCanvas::TextExtent(const std::string& Text) {
    return CurrentFont().TextExtent(Text);
}

}  // namespace ribbon
