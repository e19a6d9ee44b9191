#pragma once
// TBarCode: the barcode control. It keeps every barcode setting as a property, paints the
// symbol into its client area, repaints and fires OnChange at once when a setting changes, and
// lets the program repair rejected data through OnInvalidChar. It also measures and draws with
// its settings on other canvases, and carries the engine's functions as methods.

#include <string>

#include "../base/Export.h"
#include "../engine/ZBarCode.h"
#include "../framework/Panel.h"

namespace ribbon {

// Reading direction of the symbol.
#define RIBBON_TORIENTATION(V) V(toLeftRight) V(toRightLeft) V(toTopBottom) V(toBottomTop)
RIBBON_ENUM(TOrientation, RIBBON_TORIENTATION);

/// Asked to repair data that was rejected; the handler may assign new data to Barcode.
using TInvalidChar = TEvent<void(TObject* Sender, std::string& Barcode)>;

/// Where a paint hands the symbol to the drawing call, in client coordinates.
struct TBarPlacement {
    int Left = 0;
    int Top = 0;
    int BarHeight = 0;
    double Angle = 0;
    friend bool operator==(const TBarPlacement&, const TBarPlacement&) = default;
};

class TBarCode;

/// Type information of the control's types (unit pBarCode).
RIBBON_DECLARE_TYPE_INFO(TOrientation);
RIBBON_DECLARE_TYPE_INFO(TInvalidChar);
RIBBON_DECLARE_TYPE_INFO(TBarCode);

class RIBBON_API TBarCode : public TCustomPanel {
  public:
    /// The most rounds of repair that SetBarcode offers OnInvalidChar before giving up, so that
    /// a handler that keeps producing other invalid data cannot hang the program.
    static constexpr int MaxRepairRounds = 100;

    explicit TBarCode(TComponent* Owner);
    ~TBarCode() override;

    const std::string& BarCode() const { return barCode_; }
    virtual void SetBarcode(const std::string& Value);
    TBarType BarType() const { return barType_; }
    void SetBarType(TBarType Value);
    /// Bar height in pixels; 0 lets the bars fill the control.
    int BarHeight() const { return barHeight_; }
    void SetBarHeight(int Value);
    int Modul() const { return modul_; }
    void SetModul(int Value);
    double Ratio() const { return ratio_; }
    void SetRatio(double Value);
    TCheckSum CheckSum() const { return checkSum_; }
    void SetCheckSum(TCheckSum Value);
    TColor ColorSpc() const { return colorSpc_; }
    void SetColorSpc(TColor Value);
    TColor ColorBar() const { return colorBar_; }
    void SetColorBar(TColor Value);
    TOrientation Orientation() const { return orientation_; }
    void SetOrientation(TOrientation Value);
    TTextShow TextShow() const { return textShow_; }
    void SetTextShow(TTextShow Value);
    TTextPosition TextPosition() const { return textPosition_; }
    void SetTextPosition(TTextPosition Value);
    TColor TextColor() const { return textColor_; }
    void SetTextColor(TColor Value);
    bool AutoWidth() const { return autoWidth_; }
    void SetAutoWidth(bool Value);
    int HMargin() const { return hMargin_; }
    void SetHMargin(int Value);
    std::string About() const;
    /// About under the name of the published interface.
    std::string GetAbout() const;
    void SetAbout(const std::string& Value);

    TNotifyEvent OnChange;
    TInvalidChar OnInvalidChar;

    /// Copies the barcode settings (not AutoWidth, not OnInvalidChar) of another TBarCode,
    /// without repainting; any other source is ignored.
    virtual void Assign(const TObject* Source);

    /// Paints at once, then fires OnChange.
    virtual void DoChange();

    /// The drawing angle of Orientation: 0, 180, 270 or 90 degrees.
    double GetAngle() const;
    /// Bevels, border width and bevels again: the inset of the barcode inside the client area.
    int Inset() const;
    /// Where the next paint will draw, from the current settings and size.
    TBarPlacement Placement() const;
    /// The bar height that fits the control (see BarHeight); a stored height that does not fit
    /// strictly inside is reset to 0.
    int GetBarHeight();
    /// Sizes the control along the symbol to the symbol, the frame and Margin on both ends;
    /// returns that size.
    int AutoSetWidth(int Margin);

    void Draw(TCustomCanvas& Canvas, int Left, int Top, int Height, double Angle) const;
    void Draw(TCustomCanvas& Canvas, int Left, int Top, int Height) const;
    int GetBarWidth() const;
    std::string GetBarTypeName() const;
    int GetCanvasWidth(int BarHeight, double Angle) const;
    int GetCanvasWidth(int BarHeight) const;
    int GetCanvasHeight(int BarHeight, double Angle) const;
    int GetCanvasHeight(int BarHeight) const;

    /// Printing on the process-wide printer, in millimetres or inches, with the current settings
    /// but the given Modul; the caller begins and ends the print job.
    void Print(TUnits Units, double Left, double Top, double Height, double Modul,
               double Angle) const;
    void Print(TUnits Units, double Left, double Top, double Height, double Modul) const;
    double GetPrnBarWidth(TUnits Units, double Modul) const;
    /// Crossed on purpose, as the control has always had them: the height method answers with
    /// the engine's canvas width (about Height for a horizontal symbol), the width method with
    /// its canvas height (about the symbol's length).
    double GetPrnCanvasHeight(TUnits Units, double Height, double Modul, double Angle) const;
    double GetPrnCanvasHeight(TUnits Units, double Height, double Modul) const;
    double GetPrnCanvasWidth(TUnits Units, double Height, double Modul, double Angle) const;
    double GetPrnCanvasWidth(TUnits Units, double Height, double Modul) const;

    /// The engine's functions, passed through unchanged.
    void Z_DrawBar(TCustomCanvas& Canvas, TBarType BarType, const std::string& BarCode, int Modul,
                   double Ratio, TCheckSum CheckSum, int Left, int Top, int Height,
                   const TFont& Font, TTextShow TextShow, TTextPosition TextPosition,
                   TColor ColorBar, TColor ColorSpc, TColor TextColor, double Angle) const;
    int Z_GetBarWidth(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                      TCheckSum CheckSum) const;
    int Z_GetCanvasWidth(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                         TCheckSum CheckSum, int Height, double Angle) const;
    int Z_GetCanvasHeight(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                          TCheckSum CheckSum, int Height, double Angle) const;
    std::string Z_GetBarTypeName(TBarType BarType) const;
    void Z_PrintBar(TUnits Units, TBarType BarType, const std::string& BarCode, double Modul,
                    double Ratio, TCheckSum CheckSum, double Left, double Top, double Height,
                    const TFont& Font, TTextShow TextShow, TTextPosition TextPosition,
                    TColor ColorBar, TColor ColorSpc, TColor TextColor, double Angle) const;
    double Z_GetPrnBarWidth(TUnits Units, TBarType BarType, const std::string& BarCode,
                            double Modul, double Ratio, TCheckSum CheckSum) const;
    double Z_PrnCanvasWidth(TUnits Units, TBarType BarType, const std::string& BarCode,
                            double Modul, double Ratio, TCheckSum CheckSum, double Height,
                            double Angle) const;
    double Z_PrnCanvasHeight(TUnits Units, TBarType BarType, const std::string& BarCode,
                             double Modul, double Ratio, TCheckSum CheckSum, double Height,
                             double Angle) const;

  protected:
    void Paint() override;
    void Loaded() override;

    /// The space the bars may fill across the symbol.
    int AvailableHeight() const;
    bool Vertical() const { return orientation_ == toTopBottom || orientation_ == toBottomTop; }

  private:
    template <typename T>
    void Change(T& Field, T Value);
    [[noreturn]] void RaiseNotNumeric(const std::string& Value) const;

    std::string barCode_;
    TBarType barType_ = bcCode39;
    int barHeight_ = 0;
    int modul_ = 1;
    double ratio_ = 2.0;
    TCheckSum checkSum_ = csNone;
    TColor colorSpc_ = clWhite;
    TColor colorBar_ = clBlack;
    TOrientation orientation_ = toLeftRight;
    TTextShow textShow_ = tsNone;
    TTextPosition textPosition_ = tpBottomCenter;
    TColor textColor_ = clWhite;
    int hMargin_ = 0;
    bool autoWidth_ = false;
};

}  // namespace ribbon
