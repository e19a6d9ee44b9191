#include "components/pBarCode.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace ribbon {

namespace {

constexpr const char* AboutText =
    "TBarCode: one-dimensional barcodes in 23 symbologies, from the ribbonkit library";

// The data with leading and trailing blanks and control characters removed consists of the
// digits 0 to 9 only (nothing at all counts as digits).
bool DigitsOnly(const std::string& s) {
    std::size_t first = 0, last = s.size();
    while (first < last && static_cast<unsigned char>(s[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ') --last;
    return std::all_of(s.begin() + first, s.begin() + last,
                       [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

TBarCode::TBarCode(TComponent* Owner) : TCustomPanel(Owner) {
    SetCaption("");
}

TBarCode::~TBarCode() = default;

template <typename T>
void TBarCode::Change(T& Field, T Value) {
    SetProperty(Field, Value, [this] { DoChange(); });
}

void TBarCode::DoChange() {
    // While a form file sets the properties the values are only stored; Loaded settles them.
    if (Loading()) return;
    Repaint();
    if (OnChange) OnChange(this);
}

void TBarCode::RaiseNotNumeric(const std::string& Value) const {
    throw Exception(Format("%s: %s", Value, "Barcode must be numeric."));
}

void TBarCode::SetBarcode(const std::string& Value) {
    if (Value == barCode_) return;
    std::string text = Value;
    const bool numericOnly = barType_ < BarTypeCount && BCData[barType_].NumericOnly;
    // Each round offers the rejected text to OnInvalidChar once; a handler that repairs nothing
    // ends the loop at once, one that keeps inventing invalid text after MaxRepairRounds.
    for (int round = 0;; ++round) {
        if (numericOnly) {
            if (DigitsOnly(text)) {
                barCode_ = text;
                DoChange();  // an error of the engine leaves with the new data stored
                return;
            }
        } else {
            barCode_ = text;
            try {
                DoChange();
                return;
            } catch (const Exception&) {
                // offered for repair below; the rejected text stays stored
            }
        }
        if (!OnInvalidChar || round == MaxRepairRounds) RaiseNotNumeric(Value);
        const std::string before = text;
        OnInvalidChar(this, text);
        if (text == Value || text == before) RaiseNotNumeric(Value);
    }
}

void TBarCode::SetBarType(TBarType Value) {
    SetProperty(barType_, Value, [this] {
        try {
            DoChange();
        } catch (const Exception&) {
            if (!OnInvalidChar) throw;
            // The handler repairs the stored data in place; no repaint follows.
            OnInvalidChar(this, barCode_);
        }
    });
}

int TBarCode::Inset() const {
    return BorderWidth() + (BevelInner() != bvNone ? BevelWidth() : 0) +
           (BevelOuter() != bvNone ? BevelWidth() : 0);
}

int TBarCode::AvailableHeight() const {
    return (Vertical() ? Width() : Height()) - 2 * Inset() - WindowEdge() - 1;
}

void TBarCode::SetBarHeight(int Value) {
    if (Value == barHeight_) return;
    // While loading, the frame may not be read yet: Loaded checks the range.
    const bool fits = Value >= 0 && (Loading() || Value <= AvailableHeight());
    barHeight_ = fits ? Value : 0;
    DoChange();
}

void TBarCode::SetModul(int Value) {
    if (Value < 1 || Value > 49) return;
    Change(modul_, Value);
}

void TBarCode::SetRatio(double Value) {
    Change(ratio_, Value);
}

void TBarCode::SetCheckSum(TCheckSum Value) {
    Change(checkSum_, Value);
}

void TBarCode::SetColorSpc(TColor Value) {
    Change(colorSpc_, Value);
}

void TBarCode::SetColorBar(TColor Value) {
    Change(colorBar_, Value);
}

void TBarCode::SetOrientation(TOrientation Value) {
    Change(orientation_, Value);
}

void TBarCode::SetTextShow(TTextShow Value) {
    Change(textShow_, Value);
}

void TBarCode::SetTextPosition(TTextPosition Value) {
    Change(textPosition_, Value);
}

void TBarCode::SetTextColor(TColor Value) {
    Change(textColor_, Value);
}

void TBarCode::SetAutoWidth(bool Value) {
    Change(autoWidth_, Value);
}

void TBarCode::SetHMargin(int Value) {
    // The margin shows only when the control sizes itself.
    SetProperty(hMargin_, Value, [this] {
        if (autoWidth_) DoChange();
    });
}

std::string TBarCode::About() const {
    return AboutText;
}

std::string TBarCode::GetAbout() const {
    return About();
}

void TBarCode::SetAbout(const std::string&) {}

void TBarCode::Assign(const TObject* Source) {
    const auto* other = dynamic_cast<const TBarCode*>(Source);
    if (!other || other == this) return;
    orientation_ = other->orientation_;
    modul_ = other->modul_;
    ratio_ = other->ratio_;
    colorSpc_ = other->colorSpc_;
    colorBar_ = other->colorBar_;
    barType_ = other->barType_;
    barCode_ = other->barCode_;
    barHeight_ = other->barHeight_;
    checkSum_ = other->checkSum_;
    textColor_ = other->textColor_;
    textShow_ = other->textShow_;
    textPosition_ = other->textPosition_;
    hMargin_ = other->hMargin_;
    OnChange = other->OnChange;
}

double TBarCode::GetAngle() const {
    switch (orientation_) {
        case toRightLeft:
            return 180;
        case toTopBottom:
            return 270;
        case toBottomTop:
            return 90;
        default:
            return 0;
    }
}

TBarPlacement TBarCode::Placement() const {
    const int bw = Inset(), k = WindowEdge();
    const int w = GetBarWidth();
    TBarPlacement p;
    p.Angle = GetAngle();
    p.BarHeight = barHeight_ != 0 ? barHeight_ : AvailableHeight();
    // Along the symbol the outer length of the control, across it the other side. The rotations
    // by 180 and 90 degrees land one pixel further on; the "- 1" takes that back.
    const bool vertical = Vertical();
    const int along = vertical ? Height() : Width();
    const int across = vertical ? Width() : Height();
    const int shift = orientation_ == toRightLeft || orientation_ == toBottomTop ? 1 : 0;
    int a;
    switch (Alignment()) {
        case taLeftJustify:
            a = bw - shift;
            break;
        case taRightJustify:
            a = along - bw - k - w - shift;
            break;
        default:
            a = (along - k - w) / 2;
            break;
    }
    const int b = (across - p.BarHeight - k) / 2;
    p.Left = vertical ? b : a;
    p.Top = vertical ? a : b;
    return p;
}

void TBarCode::Paint() {
    TCustomPanel::Paint();
    if (autoWidth_) AutoSetWidth(hMargin_);
    const TBarPlacement p = Placement();
    ribbon::Z_DrawBar(Canvas(), barType_, barCode_, modul_, ratio_, checkSum_, p.Left, p.Top,
                      p.BarHeight, Font(), textShow_, textPosition_, colorBar_, colorSpc_,
                      textColor_, p.Angle);
}

void TBarCode::Loaded() {
    TCustomPanel::Loaded();
    if (barHeight_ > AvailableHeight()) barHeight_ = 0;
    Invalidate();
}

int TBarCode::GetBarHeight() {
    const int avail = AvailableHeight();
    if (barHeight_ > 0 && barHeight_ < avail) return barHeight_;
    barHeight_ = 0;
    return avail;
}

int TBarCode::AutoSetWidth(int Margin) {
    const int size = GetBarWidth() + 2 * (Margin + Inset() + WindowEdge());
    if (Vertical())
        SetHeight(size);
    else
        SetWidth(size);
    return size;
}

void TBarCode::Draw(TCustomCanvas& Canvas, int Left, int Top, int Height, double Angle) const {
    ribbon::Z_DrawBar(Canvas, barType_, barCode_, modul_, ratio_, checkSum_, Left, Top, Height,
                      Font(), textShow_, textPosition_, colorBar_, colorSpc_, textColor_, Angle);
}

void TBarCode::Draw(TCustomCanvas& Canvas, int Left, int Top, int Height) const {
    Draw(Canvas, Left, Top, Height, GetAngle());
}

int TBarCode::GetBarWidth() const {
    return ribbon::Z_GetBarWidth(barType_, barCode_, modul_, ratio_, checkSum_);
}

std::string TBarCode::GetBarTypeName() const {
    return ribbon::Z_GetBarTypeName(barType_);
}

int TBarCode::GetCanvasWidth(int BarHeight, double Angle) const {
    return ribbon::Z_GetCanvasWidth(barType_, barCode_, modul_, ratio_, checkSum_, BarHeight,
                                    Angle);
}

int TBarCode::GetCanvasWidth(int BarHeight) const {
    return GetCanvasWidth(BarHeight, GetAngle());
}

int TBarCode::GetCanvasHeight(int BarHeight, double Angle) const {
    return ribbon::Z_GetCanvasHeight(barType_, barCode_, modul_, ratio_, checkSum_, BarHeight,
                                     Angle);
}

int TBarCode::GetCanvasHeight(int BarHeight) const {
    return GetCanvasHeight(BarHeight, GetAngle());
}

void TBarCode::Z_DrawBar(TCustomCanvas& Canvas, TBarType BarType, const std::string& BarCode,
                         int Modul, double Ratio, TCheckSum CheckSum, int Left, int Top, int Height,
                         const TFont& Font, TTextShow TextShow, TTextPosition TextPosition,
                         TColor ColorBar, TColor ColorSpc, TColor TextColor, double Angle) const {
    ribbon::Z_DrawBar(Canvas, BarType, BarCode, Modul, Ratio, CheckSum, Left, Top, Height, Font,
                      TextShow, TextPosition, ColorBar, ColorSpc, TextColor, Angle);
}

void TBarCode::Print(TUnits Units, double Left, double Top, double Height, double Modul,
                     double Angle) const {
    ribbon::Z_PrintBar(Units, barType_, barCode_, Modul, ratio_, checkSum_, Left, Top, Height,
                       Font(), textShow_, textPosition_, colorBar_, colorSpc_, textColor_, Angle);
}

void TBarCode::Print(TUnits Units, double Left, double Top, double Height, double Modul) const {
    Print(Units, Left, Top, Height, Modul, GetAngle());
}

double TBarCode::GetPrnBarWidth(TUnits Units, double Modul) const {
    return ribbon::Z_GetPrnBarWidth(Units, barType_, barCode_, Modul, ratio_, checkSum_);
}

double TBarCode::GetPrnCanvasHeight(TUnits Units, double Height, double Modul, double Angle) const {
    return ribbon::Z_PrnCanvasWidth(Units, barType_, barCode_, Modul, ratio_, checkSum_, Height,
                                    Angle);
}

double TBarCode::GetPrnCanvasHeight(TUnits Units, double Height, double Modul) const {
    return GetPrnCanvasHeight(Units, Height, Modul, GetAngle());
}

double TBarCode::GetPrnCanvasWidth(TUnits Units, double Height, double Modul, double Angle) const {
    return ribbon::Z_PrnCanvasHeight(Units, barType_, barCode_, Modul, ratio_, checkSum_, Height,
                                     Angle);
}

double TBarCode::GetPrnCanvasWidth(TUnits Units, double Height, double Modul) const {
    return GetPrnCanvasWidth(Units, Height, Modul, GetAngle());
}

void TBarCode::Z_PrintBar(TUnits Units, TBarType BarType, const std::string& BarCode, double Modul,
                          double Ratio, TCheckSum CheckSum, double Left, double Top, double Height,
                          const TFont& Font, TTextShow TextShow, TTextPosition TextPosition,
                          TColor ColorBar, TColor ColorSpc, TColor TextColor, double Angle) const {
    ribbon::Z_PrintBar(Units, BarType, BarCode, Modul, Ratio, CheckSum, Left, Top, Height, Font,
                       TextShow, TextPosition, ColorBar, ColorSpc, TextColor, Angle);
}

double TBarCode::Z_GetPrnBarWidth(TUnits Units, TBarType BarType, const std::string& BarCode,
                                  double Modul, double Ratio, TCheckSum CheckSum) const {
    return ribbon::Z_GetPrnBarWidth(Units, BarType, BarCode, Modul, Ratio, CheckSum);
}

double TBarCode::Z_PrnCanvasWidth(TUnits Units, TBarType BarType, const std::string& BarCode,
                                  double Modul, double Ratio, TCheckSum CheckSum, double Height,
                                  double Angle) const {
    return ribbon::Z_PrnCanvasWidth(Units, BarType, BarCode, Modul, Ratio, CheckSum, Height, Angle);
}

double TBarCode::Z_PrnCanvasHeight(TUnits Units, TBarType BarType, const std::string& BarCode,
                                   double Modul, double Ratio, TCheckSum CheckSum, double Height,
                                   double Angle) const {
    return ribbon::Z_PrnCanvasHeight(Units, BarType, BarCode, Modul, Ratio, CheckSum, Height,
                                     Angle);
}

int TBarCode::Z_GetBarWidth(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                            TCheckSum CheckSum) const {
    return ribbon::Z_GetBarWidth(BarType, BarCode, Modul, Ratio, CheckSum);
}

int TBarCode::Z_GetCanvasWidth(TBarType BarType, const std::string& BarCode, int Modul,
                               double Ratio, TCheckSum CheckSum, int Height, double Angle) const {
    return ribbon::Z_GetCanvasWidth(BarType, BarCode, Modul, Ratio, CheckSum, Height, Angle);
}

int TBarCode::Z_GetCanvasHeight(TBarType BarType, const std::string& BarCode, int Modul,
                                double Ratio, TCheckSum CheckSum, int Height, double Angle) const {
    return ribbon::Z_GetCanvasHeight(BarType, BarCode, Modul, Ratio, CheckSum, Height, Angle);
}

std::string TBarCode::Z_GetBarTypeName(TBarType BarType) const {
    return ribbon::Z_GetBarTypeName(BarType);
}

}  // namespace ribbon
