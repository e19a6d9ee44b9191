#include "qt/ControlWidget.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "base/Exceptions.h"

namespace ribbon::qt {

namespace {

TShiftState Shift(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s;
    if (modifiers & Qt::ShiftModifier) s.Include(ssShift);
    if (modifiers & Qt::AltModifier) s.Include(ssAlt);
    if (modifiers & Qt::ControlModifier) s.Include(ssCtrl);
    if (buttons & Qt::LeftButton) s.Include(ssLeft);
    if (buttons & Qt::RightButton) s.Include(ssRight);
    if (buttons & Qt::MiddleButton) s.Include(ssMiddle);
    return s;
}

bool Button(Qt::MouseButton button, TMouseButton& out) {
    switch (button) {
        case Qt::LeftButton:
            out = mbLeft;
            return true;
        case Qt::RightButton:
            out = mbRight;
            return true;
        case Qt::MiddleButton:
            out = mbMiddle;
            return true;
        default:
            return false;
    }
}

}  // namespace

ControlWidget::ControlWidget(TCustomPanel& Control, QWidget* Parent)
    : QWidget(Parent), control_(Control) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    control_.SetHost(this);
    FollowControl();
}

ControlWidget::~ControlWidget() {
    control_.SetHost(nullptr);
}

QSize ControlWidget::sizeHint() const {
    return {control_.Width(), control_.Height()};
}

void ControlWidget::SetError(const std::string& Message) {
    if (Message == error_) return;
    error_ = Message;
    if (OnPaintError) OnPaintError(error_);
}

void ControlWidget::paintEvent(QPaintEvent*) {
    if (!fresh_) {
        // Exposed by the window system: the control paints through its own Paint.
        painting_ = true;
        try {
            control_.Repaint();
            SetError({});
        } catch (const Exception& e) {
            SetError(e.Message);
        }
        painting_ = false;
    }
    fresh_ = false;
    const TBitmap picture = control_.WindowPicture();
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (picture.Width() > 0 && picture.Height() > 0) {
        const QImage image(picture.ScanLine(0), picture.Width(), picture.Height(),
                           picture.Width() * 3, QImage::Format_RGB888);
        painter.drawImage(0, 0, image);
    }
    if (!error_.empty()) {
        painter.setPen(Qt::red);
        painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap,
                         QString::fromLatin1(error_.c_str()));
    }
}

void ControlWidget::ControlPainted() {
    if (painting_) return;
    SetError({});
    fresh_ = true;
    update();
}

void ControlWidget::ControlChanged() {
    // A control that sizes itself while it paints is followed once the paint is over.
    if (painting_)
        QTimer::singleShot(0, this, [this] { FollowControl(); });
    else
        FollowControl();
}

void ControlWidget::FollowControl() {
    if (size() != sizeHint()) {
        updateGeometry();
        resize(sizeHint());
    }
    setEnabled(control_.Enabled());
    setFocusPolicy(control_.TabStop ? Qt::StrongFocus : Qt::ClickFocus);
    fresh_ = false;
    update();
}

void ControlWidget::resizeEvent(QResizeEvent*) {
    if (width() == control_.Width() && height() == control_.Height()) return;
    control_.SetBounds(control_.Left(), control_.Top(), width(), height());
    // Constraints or OnCanResize may have kept the control at another size.
    if (width() != control_.Width() || height() != control_.Height())
        QTimer::singleShot(0, this, [this] { FollowControl(); });
}

void ControlWidget::mousePressEvent(QMouseEvent* e) {
    TMouseButton b;
    const QPoint p = e->position().toPoint();
    if (Button(e->button(), b))
        control_.MouseDown(b, Shift(e->modifiers(), e->buttons()), p.x(), p.y());
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* e) {
    TMouseButton b;
    const QPoint p = e->position().toPoint();
    if (!Button(e->button(), b)) return;
    control_.MouseUp(b, Shift(e->modifiers(), e->buttons()), p.x(), p.y());
    if (b == mbLeft && rect().contains(p)) control_.Click();
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    TMouseButton b;
    const QPoint p = e->position().toPoint();
    if (!Button(e->button(), b)) return;
    control_.MouseDown(b, Shift(e->modifiers(), e->buttons()).Include(ssDouble), p.x(), p.y());
    if (b == mbLeft) control_.DblClick();
}

void ControlWidget::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    control_.MouseMove(Shift(e->modifiers(), e->buttons()), p.x(), p.y());
}

void ControlWidget::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    control_.DoEnter();
}

void ControlWidget::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    control_.DoExit();
}

void ControlWidget::contextMenuEvent(QContextMenuEvent* e) {
    if (!control_.DoContextPopup({e->pos().x(), e->pos().y()})) e->ignore();
}

}  // namespace ribbon::qt
