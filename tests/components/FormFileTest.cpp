// Form files: every published property written and read back, and hand-edited mistakes.

#include <gtest/gtest.h>

#include "components/FormFile.h"
#include "components/FormProperties.h"
#include "tests/AssertionText.h"
#include "tests/ErrorOf.h"

namespace ribbon::test {
namespace {

// A form with two barcode controls, a popup menu and the methods event lines bind to.
struct Form {
    TComponent Owner{nullptr};
    TBarCode* First = new TBarCode(&Owner);
    TBarCode* Second = new TBarCode(&Owner);
    TComponent* Menu = new TComponent(&Owner);
    TFormMethods Methods;
    int Clicks = 0;
    Form() {
        First->SetName("BarCode1");
        Second->SetName("BarCode2");
        Menu->SetName("PopupMenu1");
        Methods.Add<void(TObject*)>("BarCode1Click", [this](TObject*) { ++Clicks; });
        Methods.Add<void(TObject*, std::string&)>("Repair",
                                                  [](TObject*, std::string& s) { s = "1"; });
    }
    std::vector<TBarCode*> Controls() { return {First, Second}; }
    std::string Text() {
        const std::vector<const TBarCode*> c = {First, Second};
        return WriteForm(c);
    }
};

// Every published property away from its default.
void ChangeEverything(Form& f) {
    TBarCode& c = *f.First;
    c.SetBounds(5, 6, 300, 90);
    c.SetBarType(bcCode128B);
    c.SetBarcode("It's #1\t\x80");
    c.SetModul(2);
    c.SetRatio(2.75);
    c.SetCheckSum(csModulo10);
    c.SetColorSpc(clYellow);
    c.SetColorBar(RGB(1, 2, 3));
    c.SetOrientation(toBottomTop);
    c.SetTextShow(tsBoth);
    c.SetTextPosition(tpTopLeft);
    c.SetTextColor(clAqua);
    c.SetHMargin(4);
    c.SetAutoWidth(true);
    c.SetBarHeight(40);
    c.Align = alClient;
    c.SetAlignment(taRightJustify);
    c.Anchors = {akRight, akBottom};
    c.AutoSize = true;
    c.SetBevelInner(bvLowered);
    c.SetBevelOuter(bvSpace);
    c.SetBevelWidth(3);
    c.BiDiMode = bdRightToLeft;
    c.SetBorderWidth(2);
    c.SetBorderStyle(bsSingle);
    c.SetColor(clWhite);
    c.SetConstraints({500, 600, 20, 30});
    c.SetCtl3D(false);
    c.UseDockManager = false;
    c.DockSite = true;
    c.DragCursor = -21;
    c.DragKind = dkDock;
    c.DragMode = dmAutomatic;
    c.SetEnabled(false);
    c.FullRepaint = false;
    TFont font;
    font.Name = "Liberation Mono";
    font.Size = 12;
    font.Color = clRed;
    font.Style = {fsBold, fsUnderline};
    font.Charset = ANSI_CHARSET;
    c.SetFont(font);
    c.Locked = true;
    c.ParentBiDiMode = false;
    c.ParentColor = true;
    c.ParentCtl3D = false;
    c.ParentFont = false;
    c.ParentShowHint = false;
    c.SetPopupMenu(f.Menu);
    c.ShowHint = true;
    c.TabOrder = 3;
    c.TabStop = true;
    c.SetVisible(false);
    c.OnClick = f.Methods.Find<TNotifyEvent>("BarCode1Click");
    c.OnInvalidChar = f.Methods.Find<TInvalidChar>("Repair");
}

TEST(FormFile, EveryPublishedPropertyRoundTrips) {
    Form a;
    ChangeEverything(a);
    a.Second->SetBarcode("B");
    a.First->Repaint();  // the frame changed since the last paint sized it
    const std::string text = a.Text();

    Form b;
    ReadForm(text, b.Controls(), &b.Methods);
    EXPECT_EQ(b.Text(), text);
    // Spot checks that the values arrived, not only that they were written alike.
    EXPECT_EQ(b.First->BarCode(), "It's #1\t\x80");
    EXPECT_EQ(b.First->Ratio(), 2.75);
    EXPECT_EQ(b.First->ColorBar(), RGB(1, 2, 3));
    EXPECT_EQ(b.First->Font().Size, 12);
    EXPECT_EQ(b.First->PopupMenu(), b.Menu);
    EXPECT_EQ(b.First->Width(), a.First->Width());
    b.First->Click();
    EXPECT_EQ(b.Clicks, 1);
    EXPECT_EQ(b.Second->BarCode(), "B");
    // Every property of the table was written.
    for (const TPropertyInfo& p : BarCodeProperties()) {
        if (p.Storage == TPropertyInfo::NeverStored ||
            (p.Event && p.Name != "OnClick" && p.Name != "OnInvalidChar"))
            continue;
        EXPECT_NE(text.find("  " + std::string(p.Name) + " = "), std::string::npos) << p.Name;
    }
}

TEST(FormFile, DefaultsAreLeftOut) {
    Form f;
    const std::string text = f.Text();
    const std::string first = text.substr(0, text.find("end\n") + 4);
    EXPECT_EQ(first,
              "object BarCode1: TBarCode\n"
              "  Left = 0\n  Top = 0\n  Width = 185\n  Height = 41\n"
              "  BarCode = ''\n  Modul = 1\n  Ratio = 2\n  About = " +
                  QuoteFormString(f.First->About()) + "\nend\n");
}

TEST(FormFile, ReadingSetsTheFileValuesOverThoseOfANewControl) {
    Form f;
    f.First->SetModul(7);
    f.First->SetColor(clRed);
    int changes = 0;
    f.First->OnChange = [&](TObject*) { ++changes; };
    ReadForm("object BarCode1: TBarCode\n  BarCode = 'X'\nend\n", f.Controls());
    EXPECT_EQ(f.First->Modul(), 1);
    EXPECT_EQ(f.First->Color(), clBtnFace);
    EXPECT_EQ(f.First->BarCode(), "X");
    EXPECT_TRUE(f.First->OnChange);  // a handler from code stays
    EXPECT_EQ(changes, 0);           // loading is no change of the program's making
}

TEST(FormFile, MistakesNameTheLineAndChangeNothing) {
    const std::string head = "object BarCode1: TBarCode\n  Width = 300\n";
    const struct {
        std::string Text;
        std::string Error;
    } cases[] = {
        {head + "  Colour = clRed\nend\n", "line 3: TBarCode has no property 'Colour'"},
        {head + "  BarType = bcCode99\nend\n", "line 3: BarType: 'bcCode99' is not a valid value"},
        {head + "  Modul = 1.5\nend\n", "line 3: Modul: '1.5' is not a valid value"},
        {head + "  Height = 99999999999\nend\n",
         "line 3: Height: '99999999999' is not a valid value"},
        {head + "  Width = 65535\n  Height = 65535\nend\n",
         "line 4: Height: A picture of 65535 x 65535 pixels is out of range (each side at most "
         "65535, at most 67108864 pixels)."},
        {head + "  BarCode = 'open\nend\n", "line 3: BarCode: the string has no closing quote"},
        {head + "  BarCode = #300\nend\n",
         "line 3: BarCode: '#300' is not a character code (#0 to #255)"},
        {head + "  Font.Style = [fsBold, fsWide]\nend\n",
         "line 3: Font.Style: 'fsWide' is not a valid value"},
        {head + "  ColorBar = $1000000\nend\n",
         "line 3: ColorBar: '$1000000' is not a valid value"},
        {head + "  BarType = bcCodeEAN13\n  BarCode = '12A4'\nend\n",
         "line 4: BarCode: 12A4: Barcode must be numeric."},
        {head + "  BarType = bcCodeEAN13\n  BarCode = '12345678901234'\nend\n",
         "line 4: EAN13 : Invalid barcode length. (BarDef.cpp, line N)"},  // the engine refuses it
        {head + "  OnClick = Nowhere\nend\n",
         "line 3: OnClick: the form has no method named 'Nowhere'"},
        {head + "  OnClick = Repair\nend\n",
         "line 3: OnClick: the method 'Repair' does not have the parameters of this event"},
        {head + "  PopupMenu = Menu9\nend\n",
         "line 3: PopupMenu: 'Menu9' is no component of the form"},
        {head + "  Width 300\nend\n", "line 3: expected 'Name = Value', found 'Width 300'"},
        {head + "  Width = 300\n",
         "line 3: the file ends inside the object BarCode1 begun at line 1"},
        {head + "object BarCode2: TBarCode\nend\n",
         "line 3: the object BarCode1 begun at line 1 has no 'end'"},
        {"object BarCode1: TPanel\nend\n", "line 1: unknown class 'TPanel'"},
        {"object BarCode9: TBarCode\nend\n", "line 1: there is no control named BarCode9"},
        {"  Width = 3\n", "line 1: a property outside any object"},
        {"end\n", "line 1: 'end' without an object"},
        // A good first object does not get read when the second one is bad.
        {"object BarCode2: TBarCode\n  Modul = 3\nend\nobject BarCode1: TBarCode\n  Ratio = "
         "x\nend\n",
         "line 5: Ratio: 'x' is not a valid value"},
    };
    for (const auto& k : cases) {
        Form f;
        f.First->SetBarcode("KEEP");
        const std::string before = f.Text();
        std::string error = ErrorOf([&] { ReadForm(k.Text, f.Controls(), &f.Methods); });
        if (error.find(".cpp, line") != std::string::npos) error = WithoutLineNumber(error);
        EXPECT_EQ(error, k.Error) << k.Text;
        EXPECT_EQ(f.Text(), before) << k.Text;
    }
}

TEST(FormFile, FilesOnDisk) {
    Form a;
    a.First->SetBarcode("DISK");
    const std::string path = testing::TempDir() + "ribbon-form-test.dfm";
    const std::vector<const TBarCode*> controls = {a.First};
    WriteFormFile(path, controls);
    Form b;
    ReadFormFile(path, b.Controls());
    EXPECT_EQ(b.First->BarCode(), "DISK");
    std::remove(path.c_str());
    EXPECT_EQ(ErrorOf([&] { ReadFormFile(path, b.Controls()); }),
              "Cannot open file \"" + path + "\": No such file or directory");
}

}  // namespace
}  // namespace ribbon::test
