// The designer demo: live edits, form files, and its window under a real X server.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <fstream>

#include "qt/ControlWidget.h"
#include "qt/Designer.h"
#include "tests/PdfTools.h"
#include "tests/qt/QtTestUtil.h"

namespace ribbon::test {
namespace {

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

TEST(Designer, EditsTheControlLive) {
    ASSERT_TRUE(HaveDecoders()) << "zbar-tools and zxing-cpp-tools are needed";
    qt::DesignerWindow d;
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_EQ(DecodeWidget(d.Widget()), "RIBBONKIT|RIBBONKIT");

    d.DataEdit().selectAll();
    QTest::keyClicks(&d.DataEdit(), "QT-6");
    EXPECT_EQ(d.BarCode().BarCode(), "QT-6");
    EXPECT_EQ(DecodeWidget(d.Widget()), "QT-6|QT-6");

    // A symbology the data does not suit: the message shows, and typing repairs it.
    d.TypeBox().setCurrentIndex(bcCodeEAN13);
    EXPECT_EQ(d.BarCode().BarType(), bcCodeEAN13);
    EXPECT_EQ(d.Status(), "QT-6 : Barcode must be numeric.");
    d.DataEdit().selectAll();
    QTest::keyClicks(&d.DataEdit(), "5901234123457");
    EXPECT_EQ(d.Status(), "");
    EXPECT_EQ(DecodeWidget(d.Widget()), "5901234123457|5901234123457");
}

TEST(Designer, SavesAndLoadsFormFiles) {
    const std::string file = testing::TempDir() + "designer-" + std::to_string(getpid()) + ".dfm";
    qt::DesignerWindow a;
    a.BarCode().SetBarcode("SAVED");
    a.BarCode().SetModul(2);
    ASSERT_TRUE(a.SaveForm(QString::fromStdString(file)));

    qt::DesignerWindow b;
    ASSERT_TRUE(b.LoadForm(QString::fromStdString(file)));
    EXPECT_EQ(b.BarCode().BarCode(), "SAVED");
    EXPECT_EQ(b.BarCode().Modul(), 2);
    EXPECT_EQ(b.DataEdit().text(), "SAVED");

    std::ofstream(file) << "object BarCode1: TBarCode\n  Modul = many\nend\n";
    EXPECT_FALSE(b.LoadForm(QString::fromStdString(file)));
    EXPECT_EQ(b.Status().toStdString(), file + ", line 2: Modul: 'many' is not a valid value");
    EXPECT_EQ(b.BarCode().BarCode(), "SAVED");
    std::remove(file.c_str());
}

TEST(Designer, PrintsThroughThePrinter) {
    if (!HaveTool("pdftoppm", "poppler-utils")) return;
    const std::string base = testing::TempDir() + "designer-print-" + std::to_string(getpid());
    qt::DesignerWindow d;
    d.BarCode().SetBarcode("PRINTED");
    d.BarCode().SetOrientation(toTopBottom);
    ASSERT_TRUE(d.PrintToFile(QString::fromStdString(base + ".pdf"))) << d.Status().toStdString();
    RasterisePdf(base + ".pdf", 300, 300).SaveToFile(base + ".png");
    EXPECT_EQ(ZbarRead(base + ".png"), "PRINTED");
    EXPECT_EQ(ZxingRead(base + ".png"), "PRINTED");
    std::remove((base + ".pdf").c_str());
    std::remove((base + ".png").c_str());
}

// The designer in a real X server (Xvfb): what the screen shows of the control scans.
TEST(Designer, UnderXvfb) {
    if (CaptureOutput("command -v xvfb-run").empty())
        GTEST_SKIP() << "xvfb-run is not installed (package xvfb): the window was not checked";
    ASSERT_TRUE(HaveDecoders()) << "zbar-tools and zxing-cpp-tools are needed";
    const std::string base = testing::TempDir() + "designer-x-" + std::to_string(getpid());
    std::ofstream(base + ".dfm") << "object Label: TBarCode\n  Width = 420\n  Height = 140\n"
                                    "  BarType = bcCode128B\n  BarCode = 'On screen'\n"
                                    "  Modul = 2\n"
                                    "  Color = clWhite\n  BorderWidth = 14\nend\n";
    const std::string command = "env QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1024x768x24' " +
                                ShellQuote(RIBBON_DESIGNER) + " --form " +
                                ShellQuote(base + ".dfm") + " --screenshot " +
                                ShellQuote(base + ".png") + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(ZbarRead(base + ".png"), "On screen");
    EXPECT_EQ(ZxingRead(base + ".png"), "On screen");
    std::remove((base + ".dfm").c_str());
    std::remove((base + ".png").c_str());
}

}  // namespace
}  // namespace ribbon::test
