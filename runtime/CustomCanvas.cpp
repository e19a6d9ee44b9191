// The font bookkeeping that every surface shares: selected font objects and the own Font.

#include "runtime/CustomCanvas.h"

#include <cmath>
#include <utility>

#include "runtime/Canvas.h"

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

TSize TCustomCanvas::TextExtent(const std::string& Text) {
    return CurrentFont().TextExtent(Text);
}

}  // namespace ribbon
