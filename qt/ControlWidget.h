#pragma once
// A Qt widget that shows a panel control (TBarCode, or any TCustomPanel) in a real window. It
// shows the control's picture, frame included, asks the control to paint when the window
// system exposes it, repaints when the control painted itself after a change, and passes
// resizing, the mouse and the focus on to the control's events.

#include <QWidget>
#include <functional>
#include <string>

#include "../framework/Panel.h"

namespace ribbon::qt {

class ControlWidget : public QWidget, private TControlHost {
  public:
    // The control must outlive the widget.
    explicit ControlWidget(TCustomPanel& Control, QWidget* Parent = nullptr);
    ~ControlWidget() override;

    TCustomPanel& Control() { return control_; }
    // The message of the last paint that failed (the control's data refused by its
    // symbology), or empty; the widget shows it over the control.
    const std::string& PaintError() const { return error_; }
    // Told each time a paint fails or succeeds again (with an empty message).
    std::function<void(const std::string&)> OnPaintError;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

  private:
    void ControlPainted() override;
    void ControlChanged() override;
    void SetError(const std::string& Message);
    void FollowControl();

    TCustomPanel& control_;
    std::string error_;
    bool fresh_ = false;     // the control's picture is newer than the window's
    bool painting_ = false;  // inside paintEvent: the control's own notices are expected
};

}  // namespace ribbon::qt
