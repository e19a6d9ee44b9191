#pragma once
// The controls a form is built from. Each control renders itself as absolutely placed HTML
// (its HTML name and id are the control's Name) and takes the value posted for its name.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Bitmap.h"

namespace ribbon::web {

class TIWControl;
using TNotifyEvent = std::function<void(TIWControl& Sender)>;

// What a control needs from the page being written.
struct TRenderContext {
    // Stores a picture for the page and returns the URL it is served under.
    std::function<std::string(const TBitmap&)> StorePicture;
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

  protected:
    // style="position:absolute;..." plus extra declarations.
    std::string StyleAttribute(const std::string& extra = {}) const;
    std::string TabIndexAttribute() const;
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

class TIWImage : public TIWControl {
  public:
    using TIWControl::TIWControl;
    // Empty (0 x 0) until a picture is assigned; an empty picture writes no image element.
    TBitmap Picture;
    bool Border = false;
    // Shows the picture at the control's size rather than its own.
    bool UseSize = true;
    void Render(std::string& html, const TRenderContext& context) const override;
};

}  // namespace ribbon::web
