// The designer demo: live edits, form files, and its window under a real X server.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <fstream>

#include "components/FormFile.h"
#include "qt/ControlWidget.h"
#include "qt/DataPanel.h"
#include "qt/Designer.h"
#include "tests/PdfTools.h"
#include "tests/SamePixels.h"
#include "tests/TestDatabase.h"
#include "tests/cli/RunTool.h"
#include "tests/qt/QtTestUtil.h"

namespace ribbon::test {
namespace {

std::string FormText(TBarCode& Control) {
    const TBarCode* controls[] = {&Control};
    return WriteForm(controls);
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

// What the designer saves, the designer and `ribbon control` open again with the same
// properties and the same picture: a plain control, and one bound to a table at its second
// record.
TEST(Designer, SavedFormsOpenAgainInTheDesignerAndTheTool) {
    TestDatabase db(
        "CREATE TABLE items(name TEXT, sku TEXT); INSERT INTO items VALUES "
        "('pen', '4006381333931'), ('book', '9780201379624'), ('cup', '5901234123457');");
    const std::string base = testing::TempDir() + "designer-again-" + std::to_string(getpid());
    for (const bool bound : {false, true}) {
        qt::DesignerWindow a;
        a.TypeBox().setCurrentIndex(bcCodeEAN13);
        a.BarCode().SetBarcode("5901234123457");
        a.BarCode().SetTextShow(tsBarCode);
        if (bound) {
            ASSERT_TRUE(a.Data().OpenDatabase(QString::fromStdString(db.Path())));
            a.Data().FieldBox().setCurrentText("sku");
            ASSERT_TRUE(a.Data().Move(dcNext));
        }
        ASSERT_TRUE(a.SaveForm(QString::fromStdString(base + ".dfm"))) << bound;
        EXPECT_NE(
            FileBytes(base + ".dfm")
                .find(bound ? "object BarCode1: TDBBarcode\n" : "object BarCode1: TBarCode\n"),
            std::string::npos);

        qt::DesignerWindow b;
        ASSERT_TRUE(b.LoadForm(QString::fromStdString(base + ".dfm"))) << b.Status().toStdString();
        EXPECT_EQ(FormText(b.BarCode()), FormText(a.BarCode()));
        EXPECT_EQ(b.Data().RecordText(), bound ? "record 2 of 3" : "");
        EXPECT_EQ(b.Data().FieldBox().currentText(), bound ? "sku" : "");

        const ToolResult r = RunTool({"control", "--form", base + ".dfm", "--out", base + ".png"});
        ASSERT_EQ(r.Status, 0) << r.Err;
        TBitmap tool;
        tool.LoadFromFile(base + ".png");
        a.BarCode().Repaint();
        b.BarCode().Repaint();
        EXPECT_TRUE(SamePixels(b.BarCode().WindowPicture(), a.BarCode().WindowPicture())) << bound;
        EXPECT_TRUE(SamePixels(tool, a.BarCode().WindowPicture())) << bound;
    }
    std::remove((base + ".dfm").c_str());
    std::remove((base + ".png").c_str());
}

TEST(Designer, OpensTheChosenControlOfAFormWithSeveral) {
    const std::string file = testing::TempDir() + "designer-several-" + std::to_string(getpid());
    std::ofstream(file) << "object First: TBarCode\n  BarCode = 'ONE'\nend\n"
                           "object Second: TDBBarcode\n  BarCode = 'TWO'\n"
                           "  DataField = 'sku'\nend\n";
    qt::DesignerWindow d;
    const struct {
        const char* Name;
        const char* Chosen;
        const char* BarCode;
        const char* Field;  // a data-aware control without a source keeps its field's name
    } cases[] = {{"", "First", "ONE", ""}, {"second", "Second", "TWO", "sku"}};
    for (const auto& k : cases) {
        ASSERT_TRUE(d.LoadForm(QString::fromStdString(file), k.Name)) << d.Status().toStdString();
        EXPECT_EQ(d.BarCode().Name(), k.Chosen);
        EXPECT_EQ(d.BarCode().BarCode(), k.BarCode);
        EXPECT_EQ(static_cast<TDBBarcode&>(d.BarCode()).DataField(), k.Field);
    }
    EXPECT_FALSE(d.LoadForm(QString::fromStdString(file), "Third"));
    EXPECT_EQ(d.Status().toStdString(),
              "The form file \"" + file + "\" has no control named Third");
    EXPECT_EQ(d.BarCode().BarCode(), "TWO");
    std::remove(file.c_str());
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
