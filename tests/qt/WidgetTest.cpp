// The widget that hosts a control: what it shows, and the events it passes on.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "components/pBarCode.h"
#include "qt/ControlWidget.h"
#include "tests/qt/QtTestUtil.h"

namespace ribbon::test {
namespace {

struct Shown {
    TBarCode Control{nullptr};
    qt::ControlWidget Widget{Control};
    Shown() {
        Control.SetBounds(0, 0, 300, 100);
        Control.SetColor(clWhite);
        Control.SetBorderWidth(12);
        Control.SetBarcode("HELLO-1");
        Widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Widget));
    }
};

TEST(ControlWidget, ShowsTheSymbolAndRepaintsOnChange) {
    ASSERT_TRUE(HaveDecoders()) << "zbar-tools and zxing-cpp-tools are needed";
    Shown s;
    EXPECT_EQ(s.Widget.size(), QSize(300, 100));
    EXPECT_EQ(DecodeWidget(s.Widget), "HELLO-1|HELLO-1");
    s.Control.SetBarcode("HELLO-2");
    QApplication::processEvents();
    EXPECT_EQ(DecodeWidget(s.Widget), "HELLO-2|HELLO-2");
    // The control sizing itself is followed by the window.
    s.Control.SetAutoWidth(true);
    QApplication::processEvents();
    EXPECT_EQ(s.Widget.width(), s.Control.Width());
    EXPECT_EQ(DecodeWidget(s.Widget), "HELLO-2|HELLO-2");
}

TEST(ControlWidget, ShowsWhyItCannotPaint) {
    Shown s;
    s.Control.SetBarType(bcCode93);
    s.Control.BeginLoading();  // data the symbology refuses, stored without a repaint
    s.Control.SetBarcode("lower");
    s.Control.EndLoading();
    s.Widget.repaint();
    EXPECT_EQ(s.Widget.PaintError(), "lower : Code_93 bad data.");
}

TEST(ControlWidget, PassesMouseResizeAndFocusToTheControl) {
    Shown s;
    std::vector<std::string> seen;
    auto note = [&](std::string what) { seen.push_back(std::move(what)); };
    s.Control.OnMouseDown = [&](TObject*, TMouseButton b, TShiftState shift, int x, int y) {
        note("down " + std::to_string(b) + (shift.Contains(ssShift) ? " shift " : " ") +
             std::to_string(x) + "," + std::to_string(y));
    };
    s.Control.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        note("up " + std::to_string(x) + "," + std::to_string(y));
    };
    s.Control.OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
        note("move " + std::to_string(x) + "," + std::to_string(y));
    };
    s.Control.OnClick = [&](TObject*) { note("click"); };
    s.Control.OnDblClick = [&](TObject*) { note("double"); };
    s.Control.OnResize = [&](TObject*) { note("resize"); };
    QTest::mouseClick(&s.Widget, Qt::LeftButton, Qt::ShiftModifier, QPoint(12, 7));
    QTest::mouseDClick(&s.Widget, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseMove(&s.Widget, QPoint(20, 9));
    s.Widget.resize(250, 90);
    EXPECT_EQ(s.Control.Width(), 250);
    EXPECT_EQ(s.Control.Height(), 90);
    const std::vector<std::string> expected = {
        "down 0 shift 12,7", "up 12,7", "click", "down 0 3,4", "double", "move 20,9", "resize"};
    EXPECT_EQ(seen, expected);
    int enter = 0, exit = 0;
    s.Control.OnEnter = [&](TObject*) { ++enter; };
    s.Control.OnExit = [&](TObject*) { ++exit; };
    s.Widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s.Widget));
    s.Widget.clearFocus();  // the clicks gave it the focus
    enter = exit = 0;
    s.Widget.setFocus();
    EXPECT_EQ(enter, 1);
    s.Widget.clearFocus();
    EXPECT_EQ(exit, 1);
}

}  // namespace
}  // namespace ribbon::test
