#pragma once
// The panel control: the windowed control that the barcode controls stand on. It has an outer
// size, a frame (bevels, border, window edge), a background colour, a font and a caption, and
// paints itself onto a client bitmap of its client size. No window system is needed: a widget
// adapter (qt/) shows the bitmap and feeds the mouse, focus and resize events in; without one
// the control still paints and can be saved as a picture.
//
// The properties that only a window system uses (docking, dragging, hints, tab order ...) are
// kept as stored values and callbacks, so that forms keep them and an adapter can act on them.

#include <cstdint>
#include <string>

#include "../base/Export.h"
#include "../framework/Component.h"
#include "../framework/Property.h"
#include "../graphics/Bitmap.h"
#include "../graphics/Graphics.h"

namespace ribbon {

/// The button-face grey of the classic desktop scheme, the panel's default colour.
inline constexpr TColor clBtnFace = 0xF0F0F0;
inline constexpr TColor clBtnHighlight = 0xFFFFFF;
inline constexpr TColor clBtnShadow = 0xA0A0A0;
inline constexpr TColor cl3DDkShadow = 0x696969;
inline constexpr TColor cl3DLight = 0xE3E3E3;
inline constexpr TColor clWindowFrame = 0x646464;

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TPanelBevel : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TBiDiMode : std::uint8_t {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};
enum TDragKind : std::uint8_t { dkDrag, dkDock };
enum TDragMode : std::uint8_t { dmManual, dmAutomatic };
enum TDragState : std::uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

/// A small set of enumeration values, as the class library's set types are.
template <typename E>
class TSet {
  public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> Values) {
        for (E v : Values) Include(v);
    }
    constexpr bool Contains(E Value) const { return (bits_ >> Value) & 1; }
    constexpr TSet& Include(E Value) {
        bits_ |= 1u << Value;
        return *this;
    }
    constexpr TSet& Exclude(E Value) {
        bits_ &= ~(1u << Value);
        return *this;
    }
    constexpr bool Empty() const { return bits_ == 0; }
    friend constexpr bool operator==(TSet, TSet) = default;

  private:
    std::uint32_t bits_ = 0;
};

enum TAnchorKind : std::uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TShiftKind : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftKind>;

/// What a control is and allows (bit n of the set is value n, so csReplicatable is 0x800).
enum TControlStyleKind : std::uint8_t {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,  // may be drawn once per record inside a record-replicating panel grid
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
};
using TControlStyle = TSet<TControlStyleKind>;

/// A message sent to a control with Perform; the control's Dispatch answers in Result.
struct TMessage {
    unsigned Msg = 0;
    std::intptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};
inline constexpr unsigned CM_BASE = 0xB000;
/// Asks a data-aware control for its data link (Result: the link's address).
inline constexpr unsigned CM_GETDATALINK = CM_BASE + 57;

/// A mouse cursor: the class library's numbering (crDefault 0, crDrag -12, ...).
using TCursor = std::int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crDrag = -12;

/// Limits on the control's size; 0 means no limit.
struct TSizeConstraints {
    int MaxHeight = 0;
    int MaxWidth = 0;
    int MinHeight = 0;
    int MinWidth = 0;
    friend bool operator==(const TSizeConstraints&, const TSizeConstraints&) = default;
};

using TMouseEvent =
    TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TCanResizeEvent = TEvent<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent =
    TEvent<void(TObject* Sender, int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight)>;
using TContextPopupEvent = TEvent<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TDragOverEvent =
    TEvent<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TEndDragEvent = TEvent<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TStartDragEvent = TEvent<void(TObject* Sender, TObject*& DragObject)>;
using TGetSiteInfoEvent = TEvent<void(TObject* Sender, TObject* DockClient, TRect& InfluenceRect,
                                      TPoint MousePos, bool& CanDock)>;
using TUnDockEvent =
    TEvent<void(TObject* Sender, TObject* Client, TObject* NewTarget, bool& Allow)>;

class TCustomPanel;

/// What a widget adapter hears from the control it shows.
class RIBBON_API TControlHost {
  public:
    virtual ~TControlHost() = default;
    /// The client bitmap holds a new picture.
    virtual void ControlPainted() = 0;
    /// The control's outer size, visibility or enabled state changed; its picture is stale.
    virtual void ControlChanged() = 0;
};

class RIBBON_API TCustomPanel : public TComponent {
  public:
    explicit TCustomPanel(TComponent* Owner);
    ~TCustomPanel() override;

    /// Position on the parent and outer size, frame included.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int Value) { SetBounds(Value, top_, width_, height_); }
    void SetTop(int Value) { SetBounds(left_, Value, width_, height_); }
    void SetWidth(int Value) { SetBounds(left_, top_, Value, height_); }
    void SetHeight(int Value) { SetBounds(left_, top_, width_, Value); }
    /// Sizes are kept within Constraints, offered to OnCanResize (which may veto them) and clamped
    /// to 0..TBitmap::MaxSide; a new size resizes the client bitmap and fires OnResize.
    void SetBounds(int Left, int Top, int Width, int Height);

    /// The total width of the window edge over both sides: 0 without BorderStyle, 4 for the
    /// sunken 3D edge, 2 for the flat line.
    int WindowEdge() const;
    int ClientWidth() const;
    int ClientHeight() const;

    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& Value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel Value);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel Value);
    /// At least 1; smaller values are ignored.
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int Value);
    /// 0 or more; negative values are ignored.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int Value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    const TSizeConstraints& Constraints() const { return constraints_; }
    void SetConstraints(const TSizeConstraints& Value);
    /// A component this panel refers to; it is cleared when that component is freed.
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* Value);

    /// Stored for the window system; they do not change the picture.
    TAlign Align = alNone;
    TAnchors Anchors{akLeft, akTop};
    bool AutoSize = false;
    TBiDiMode BiDiMode = bdLeftToRight;
    bool UseDockManager = true;
    bool DockSite = false;
    TCursor DragCursor = crDrag;
    TDragKind DragKind = dkDrag;
    TDragMode DragMode = dmManual;
    bool FullRepaint = true;
    bool Locked = false;
    bool ParentBiDiMode = true;
    bool ParentColor = false;
    bool ParentCtl3D = true;
    bool ParentFont = true;
    bool ParentShowHint = true;
    bool ShowHint = false;
    int TabOrder = 0;
    bool TabStop = false;
    TControlStyle ControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                               csSetCaption,      csOpaque,       csDoubleClicks};

    TCanResizeEvent OnCanResize;
    TNotifyEvent OnClick;
    TConstrainedResizeEvent OnConstrainedResize;
    TContextPopupEvent OnContextPopup;
    TDragDropEvent OnDockDrop;
    TDragOverEvent OnDockOver;
    TNotifyEvent OnDblClick;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TEndDragEvent OnEndDock;
    TEndDragEvent OnEndDrag;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TGetSiteInfoEvent OnGetSiteInfo;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;
    TStartDragEvent OnStartDock;
    TStartDragEvent OnStartDrag;
    TUnDockEvent OnUnDock;

    /// The client area's canvas and the bitmap behind it.
    TCanvas& Canvas() { return client_.Canvas(); }
    const TBitmap& ClientBitmap() const { return client_; }

    /// Paints the control now (not deferred). Should the paint change the control's size (a
    /// control that sizes itself to its content), it paints once more at the new size.
    void Repaint();
    /// The whole control as a picture of Width x Height: the window edge around the client bitmap
    /// as the last paint left it.
    TBitmap WindowPicture() const;

    /// The adapter that shows this control, or nullptr.
    void SetHost(TControlHost* Host) { host_ = Host; }

    /// Entry points for the adapter: they fire the events.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseMove(TShiftState Shift, int X, int Y);
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void Click();
    void DblClick();
    void DoEnter();
    void DoExit();
    /// Returns whether a handler took care of the context menu.
    bool DoContextPopup(TPoint MousePos);

    /// Sends the control a message and returns its answer.
    std::intptr_t Perform(unsigned Msg, std::intptr_t WParam, std::intptr_t LParam);
    /// Answers a message; the panel answers none (Result stays 0).
    virtual void Dispatch(TMessage& /*Message*/) {}

  protected:
    /// Draws the bevels and the border, fills the rest of the client area with Color and writes
    /// the caption, aligned by Alignment and centred vertically.
    virtual void Paint();
    void Notification(TComponent* Component, TOperation Operation) override;
    /// A property that the picture depends on changed.
    void Invalidate();
    /// Sets a property that the picture depends on (see SetProperty).
    template <typename T>
    void SetPictureProperty(T& Field, const T& Value) {
        SetProperty(Field, Value, [this] { Invalidate(); });
    }

  private:
    void Frame3D(TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

    int left_ = 0, top_ = 0, width_ = 185, height_ = 41;
    TColor color_ = clBtnFace;
    TFont font_;
    std::string caption_;
    TAlignment alignment_ = taCenter;
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    bool ctl3D_ = true;
    bool visible_ = true;
    bool enabled_ = true;
    TSizeConstraints constraints_;
    TComponent* popupMenu_ = nullptr;

    TBitmap client_;
    TControlHost* host_ = nullptr;
    bool resized_ = false;  // set when the size changes during a paint
};

}  // namespace ribbon
