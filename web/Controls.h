#pragma once
// The controls a form is built from. Each control renders itself as absolutely placed HTML
// (its HTML name and id are the control's Name) and takes the value posted for its name.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Bitmap.h"

namespace ribbon::web {

class TIWControl;
using TNotifyEvent = std::function<void(TIWControl& Sender)>;

// What a control needs from the page being written.
struct TRenderContext {
    // Stores a picture (JPEG bytes) for the page and returns the URL it is served under.
    std::function<std::string(const std::string& jpeg)> StorePicture;
};

class TIWControl {
  public:
    TIWControl(std::string name, int left, int top, int width, int height, int tabOrder = -1);
    virtual ~TIWControl() = default;
    TIWControl(const TIWControl&) = delete;
    TIWControl& operator=(const TIWControl&) = delete;

    std::string Name;
    int Left, Top, Width, Height;
    int TabOrder;  // -1: not reached with the tab key
    // The event a post naming this control runs (IW_Action); a button's click.
    TNotifyEvent OnClick;

    virtual void Render(std::string& html, const TRenderContext& context) const = 0;
    // Takes the value posted under Name. Raises ribbon::Exception for a value the control
    // cannot take; the control is then unchanged.
    virtual void ApplyPostedValue(const std::string& /*value*/) {}
    // Runs before the page is written, after the request's event: puts what the control keeps
    // between requests into its compact form. Raises ribbon::Exception when it cannot.
    virtual void Settle() {}

  protected:
    // Appends style="position:absolute;..." with the extra declarations at its end.
    void AppendStyle(std::string& out, std::string_view extra1 = {},
                     std::string_view extra2 = {}) const;
    // Appends tabindex, counted from 1, when the control has a tab order.
    void AppendTabIndex(std::string& out) const;
};

class TIWLabel : public TIWControl {
  public:
    using TIWControl::TIWControl;
    std::string Caption;
    void Render(std::string& html, const TRenderContext& context) const override;
};

class TIWEdit : public TIWControl {
  public:
    using TIWControl::TIWControl;
    std::string Text;
    int MaxLength = 0;  // 0: no limit
    bool ReadOnly = false;
    bool Required = false;
    void Render(std::string& html, const TRenderContext& context) const override;
    void ApplyPostedValue(const std::string& value) override;
};

// A drop-down list whose option values are the item indices.
class TIWComboBox : public TIWControl {
  public:
    using TIWControl::TIWControl;
    std::vector<std::string> Items;
    int ItemIndex = -1;  // -1: nothing selected; then "-- No Selection --" is offered
    void Render(std::string& html, const TRenderContext& context) const override;
    // Takes the whole number before the first comma as the item index. An index outside the
    // items is refused; so is -1 unless the list is showing "-- No Selection --".
    void ApplyPostedValue(const std::string& value) override;
};

class TIWCheckBox : public TIWControl {
  public:
    using TIWControl::TIWControl;
    std::string Caption;
    bool Checked = false;
    void Render(std::string& html, const TRenderContext& context) const override;
    // Checked exactly when the value is "On" in any letter case.
    void ApplyPostedValue(const std::string& value) override;
};

// A push button that posts the form naming itself (it is not a submit button).
class TIWButton : public TIWControl {
  public:
    using TIWControl::TIWControl;
    std::string Caption;
    void Render(std::string& html, const TRenderContext& context) const override;
};

// Shows a picture as a baseline JPEG of quality 90. Between requests the image keeps only the
// JPEG (a 500 x 200 bitmap would be 300 KB per session).
class TIWImage : public TIWControl {
  public:
    using TIWControl::TIWControl;
    // The drawing surface of the current request: a picture assigned or drawn here becomes the
    // image's picture when the page is written, and Picture is empty again after that. Left
    // empty, the image keeps showing its last picture.
    TBitmap Picture;
    bool Border = false;
    // Shows the picture at the control's size rather than its own.
    bool UseSize = true;
    void Render(std::string& html, const TRenderContext& context) const override;
    // Encodes a picture waiting in Picture as the image's JPEG and frees the bitmap.
    void Settle() override;
    // The encoder settings of the pictures: baseline JPEG of quality 90, exact integer DCT.
    static TJPEGOptions JpegOptions();

    // The picture's JPEG and size; empty and 0 x 0 while there is none (no image element is
    // written then).
    const std::string& Jpeg() const { return jpeg_; }
    int PictureWidth() const { return pictureWidth_; }
    int PictureHeight() const { return pictureHeight_; }
    // Takes an already encoded picture in place of drawing into Picture.
    void SetJpeg(std::string jpeg, int width, int height);

  private:
    std::string jpeg_;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
};

}  // namespace ribbon::web
