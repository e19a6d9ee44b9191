#include "framework/Panel.h"

#include <algorithm>

namespace ribbon {

TCustomPanel::TCustomPanel(TComponent* Owner) : TComponent(Owner) {
    client_.SetSize(ClientWidth(), ClientHeight());
}

TCustomPanel::~TCustomPanel() {
    SetPopupMenu(nullptr);
}

int TCustomPanel::WindowEdge() const {
    if (borderStyle_ == bsNone) return 0;
    return ctl3D_ ? 4 : 2;
}

int TCustomPanel::ClientWidth() const {
    return std::max(width_ - WindowEdge(), 0);
}

int TCustomPanel::ClientHeight() const {
    return std::max(height_ - WindowEdge(), 0);
}

void TCustomPanel::SetBounds(int Left, int Top, int Width, int Height) {
    auto limit = [](int v, int lo, int hi) {
        if (hi > 0) v = std::min(v, hi);
        if (lo > 0) v = std::max(v, lo);
        return std::clamp(v, 0, TBitmap::MaxSide);
    };
    int minW = constraints_.MinWidth, minH = constraints_.MinHeight;
    int maxW = constraints_.MaxWidth, maxH = constraints_.MaxHeight;
    if (OnConstrainedResize) OnConstrainedResize(this, minW, minH, maxW, maxH);
    Width = limit(Width, minW, maxW);
    Height = limit(Height, minH, maxH);
    const bool resize = Width != width_ || Height != height_;
    if (resize && OnCanResize) {
        bool allow = true;
        OnCanResize(this, Width, Height, allow);
        if (!allow) {
            Width = width_;
            Height = height_;
        }
        Width = limit(Width, minW, maxW);
        Height = limit(Height, minH, maxH);
    }
    if (Width != width_ || Height != height_) {
        // The bitmap first: a size it refuses leaves the control as it was.
        const int edge = WindowEdge();
        client_.SetSize(std::max(Width - edge, 0), std::max(Height - edge, 0));
    }
    left_ = Left;
    top_ = Top;
    if (Width == width_ && Height == height_) return;
    width_ = Width;
    height_ = Height;
    resized_ = true;
    Invalidate();
    if (OnResize) OnResize(this);
}

void TCustomPanel::SetColor(TColor Value) {
    SetProperty(color_, Value, [this] {
        if (!Loading()) ParentColor = false;  // a form file sets both
        Invalidate();
    });
}

void TCustomPanel::SetFont(const TFont& Value) {
    SetProperty(font_, Value, [this] {
        if (!Loading()) ParentFont = false;  // a form file sets both
        Invalidate();
    });
}

void TCustomPanel::SetCaption(const std::string& Value) {
    SetPictureProperty(caption_, Value);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    if (Value > taCenter) return;
    SetPictureProperty(alignment_, Value);
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
    if (Value > bvSpace) return;
    SetPictureProperty(bevelInner_, Value);
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
    if (Value > bvSpace) return;
    SetPictureProperty(bevelOuter_, Value);
}

void TCustomPanel::SetBevelWidth(int Value) {
    if (Value < 1) return;
    SetPictureProperty(bevelWidth_, Value);
}

void TCustomPanel::SetBorderWidth(int Value) {
    if (Value < 0) return;
    SetPictureProperty(borderWidth_, Value);
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
    if (Value > bsSingle) return;
    SetProperty(borderStyle_, Value, [this] {
        client_.SetSize(ClientWidth(), ClientHeight());
        Invalidate();
    });
}

void TCustomPanel::SetCtl3D(bool Value) {
    SetProperty(ctl3D_, Value, [this] {
        if (!Loading()) ParentCtl3D = false;  // a form file sets both
        client_.SetSize(ClientWidth(), ClientHeight());
        Invalidate();
    });
}

void TCustomPanel::SetVisible(bool Value) {
    SetPictureProperty(visible_, Value);
}

void TCustomPanel::SetEnabled(bool Value) {
    SetPictureProperty(enabled_, Value);
}

void TCustomPanel::SetConstraints(const TSizeConstraints& Value) {
    constraints_ = Value;
    SetBounds(left_, top_, width_, height_);
}

void TCustomPanel::SetPopupMenu(TComponent* Value) {
    if (Value == popupMenu_) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = Value;
    if (popupMenu_) popupMenu_->FreeNotification(this);
}

void TCustomPanel::Notification(TComponent* Component, TOperation Operation) {
    TComponent::Notification(Component, Operation);
    if (Operation == opRemove && Component == popupMenu_) popupMenu_ = nullptr;
}

void TCustomPanel::Invalidate() {
    if (host_) host_->ControlChanged();
}

void TCustomPanel::Repaint() {
    for (int round = 0; round < 2; ++round) {
        resized_ = false;
        Paint();
        if (!resized_) break;
    }
    if (host_) host_->ControlPainted();
}

// Width rings of one-pixel lines: top and left edges in TopColor, bottom and right edges in
// BottomColor (which also takes the top-right and bottom-left corners). Rect shrinks by Width.
void TCustomPanel::Frame3D(TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
    TCanvas& c = Canvas();
    c.Pen.Width = 1;
    c.Pen.Style = psSolid;
    for (; Width > 0; --Width) {
        const int l = Rect.Left, t = Rect.Top, r = Rect.Right - 1, b = Rect.Bottom - 1;
        c.Pen.Color = TopColor;
        c.MoveTo(l, b);
        c.LineTo(l, t);
        c.LineTo(r, t);
        c.Pen.Color = BottomColor;
        c.LineTo(r, b);
        c.LineTo(l - 1, b);
        Rect = {Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1};
    }
}

namespace {

TColor BevelTop(TPanelBevel Bevel, TColor Face) {
    return Bevel == bvLowered ? clBtnShadow : Bevel == bvRaised ? clBtnHighlight : Face;
}

TColor BevelBottom(TPanelBevel Bevel, TColor Face) {
    return Bevel == bvLowered ? clBtnHighlight : Bevel == bvRaised ? clBtnShadow : Face;
}

}  // namespace

void TCustomPanel::Paint() {
    TRect rect{0, 0, ClientWidth(), ClientHeight()};
    if (bevelOuter_ != bvNone)
        Frame3D(rect, BevelTop(bevelOuter_, color_), BevelBottom(bevelOuter_, color_), bevelWidth_);
    Frame3D(rect, color_, color_, borderWidth_);
    if (bevelInner_ != bvNone)
        Frame3D(rect, BevelTop(bevelInner_, color_), BevelBottom(bevelInner_, color_), bevelWidth_);
    TCanvas& c = Canvas();
    c.Brush.SetColor(color_);
    c.FillRect(rect);
    if (caption_.empty()) return;
    c.Font = font_;
    c.Brush.SetStyle(bsClear);
    const TSize extent = c.TextExtent(caption_);
    const int x = alignment_ == taLeftJustify    ? rect.Left
                  : alignment_ == taRightJustify ? rect.Right - extent.cx
                                                 : (rect.Left + rect.Right - extent.cx) / 2;
    c.TextOut(x, (rect.Top + rect.Bottom - extent.cy) / 2, caption_);
    c.Brush.SetColor(color_);
}

TBitmap TCustomPanel::WindowPicture() const {
    TBitmap picture(width_, height_);
    TCanvas& c = picture.Canvas();
    const int edge = WindowEdge() / 2;
    if (ctl3D_ && edge == 2) {
        // The sunken client edge: a shadow ring outside a darker one, lit from the top left.
        const TColor rings[2][2] = {{clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}};
        for (int i = 0; i < 2; ++i) {
            const int r = width_ - 1 - i, b = height_ - 1 - i;
            c.Pen.Color = rings[i][0];
            c.MoveTo(i, b);
            c.LineTo(i, i);
            c.LineTo(r, i);
            c.Pen.Color = rings[i][1];
            c.LineTo(r, b);
            c.LineTo(i - 1, b);
        }
    } else if (edge == 1) {
        c.Pen.Color = clWindowFrame;
        c.Brush.SetStyle(bsClear);
        c.Rectangle(0, 0, width_, height_);
    }
    for (int y = 0; client_.Width() > 0 && y < client_.Height(); ++y)
        std::copy_n(client_.ScanLine(y), client_.Width() * 3,
                    picture.ScanLine(y + edge) + edge * 3);
    return picture;
}

void TCustomPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TCustomPanel::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TCustomPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TCustomPanel::Click() {
    if (OnClick) OnClick(this);
}

void TCustomPanel::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TCustomPanel::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TCustomPanel::DoExit() {
    if (OnExit) OnExit(this);
}

bool TCustomPanel::DoContextPopup(TPoint MousePos) {
    bool handled = false;
    if (OnContextPopup) OnContextPopup(this, MousePos, handled);
    return handled;
}

std::intptr_t TCustomPanel::Perform(unsigned Msg, std::intptr_t WParam, std::intptr_t LParam) {
    TMessage message{Msg, WParam, LParam, 0};
    Dispatch(message);
    return message.Result;
}

}  // namespace ribbon
