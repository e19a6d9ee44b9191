// Form files: every published property written and read back, and hand-edited mistakes.

#include <gtest/gtest.h>

#include <filesystem>

#include "components/FormFile.h"
#include "components/FormProperties.h"
#include "components/LoadedForm.h"
#include "components/pDBBarcode.h"
#include "tests/AssertionText.h"
#include "tests/ErrorOf.h"
#include "tests/SamePixels.h"
#include "tests/TestDatabase.h"

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

// A form as the designer leaves it: a control bound to a table at its second record, one
// data-aware control without a binding and a plain one.
struct BoundForm {
    TestDatabase Db{
        "CREATE TABLE items(sku TEXT); INSERT INTO items VALUES ('4006381333931'), "
        "('9780201379624'), ('5901234123457');"};
    TComponent Owner{nullptr};
    TTableSource* Source = new TTableSource(&Owner);
    TDBBarcode* Bound = new TDBBarcode(&Owner);
    TDBBarcode* Unbound = new TDBBarcode(&Owner);
    TBarCode* Plain = new TBarCode(&Owner);
    BoundForm() {
        Owner.SetDesigning(true);
        Source->SetName("Stock");
        Source->SetDatabaseName(Db.Path());
        Source->SetTableName("items");
        Source->Open();
        Source->SetRecNo(2);
        Bound->SetName("Bound");
        Bound->SetBarType(bcCodeEAN13);
        Bound->SetDataSource(Source);
        Bound->SetDataField("sku");
        Unbound->SetName("Unbound");
        Unbound->SetBarcode("UNBOUND");
        Plain->SetName("Plain");
        Plain->SetBarcode("PLAIN");
    }
    std::string Text() const {
        const TBarCode* controls[] = {Bound, Unbound, Plain};
        return WriteForm(controls);
    }
};

std::string WriteTemp(const std::string& name, const std::string& text) {
    const std::string path = testing::TempDir() + std::to_string(getpid()) + "-" + name;
    std::ofstream(path) << text;
    return path;
}

TEST(FormFile, ALoadedFormHasTheSamePropertiesPictureAndRecord) {
    BoundForm a;
    const std::string text = a.Text();
    EXPECT_NE(text.find("object Stock: TTableSource\n  DatabaseName = '" + a.Db.Path() +
                        "'\n  TableName = 'items'\n  RecNo = 2\nend\nobject Bound: TDBBarcode\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("object Unbound: TBarCode\n"), std::string::npos) << text;
    // A relative file name is found beside the form.
    std::string relative = text;
    const std::string folder = std::filesystem::path(a.Db.Path()).parent_path().string() + "/";
    relative.erase(relative.find(folder), folder.size());
    for (const std::string& form : {text, relative}) {
        const std::string path = WriteTemp("bound.dfm", form);
        const TLoadedForm b(path);
        std::remove(path.c_str());
        ASSERT_EQ(b.Controls().size(), 3u);
        EXPECT_EQ(&b.Control(), &b.Control("BOUND"));  // the first by default
        EXPECT_EQ(b.Control("bound").BarCode(), "9780201379624");
        EXPECT_EQ(TLoadedForm::SourceOf(b.Control())->RecNo(), 2);
        const std::vector<const TBarCode*> written(b.Controls().begin(), b.Controls().end());
        if (form == text) {
            EXPECT_EQ(WriteForm(written), text);
        }
        TBarCode* before[] = {a.Bound, a.Unbound, a.Plain};
        const std::vector<TBarCode*>& controls = b.Controls();
        for (std::size_t i = 0; i < 3; ++i) {
            before[i]->Repaint();
            controls[i]->Repaint();
            EXPECT_TRUE(SamePixels(before[i]->WindowPicture(), controls[i]->WindowPicture()))
                << controls[i]->Name();
        }
    }
}

TEST(FormFile, LoadingMistakesNameTheFileAndLine) {
    BoundForm a;
    const std::string good = a.Text();
    auto with = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string folder = std::filesystem::path(a.Db.Path()).parent_path().string();
    const struct {
        std::string Text;
        std::string Error;  // after "<file>, "
    } cases[] = {
        {with(a.Db.Path(), "nowhere.db"),
         "line 1: " + folder + "/nowhere.db: unable to open database file"},
        {with("'items'", "'things'"), "line 1: Table 'things' not found"},
        {with("RecNo", "Record"), "line 4: TTableSource has no property 'Record'"},
        {with("DataSource = Stock", "DataSource = Plain"),
         "line 17: DataSource: 'Plain' is not a data source"},
        {"object Stock: TTableSource\nend\n", "line 1: No database file given to open"},
    };
    for (const auto& k : cases) {
        const std::string path = WriteTemp("bad.dfm", k.Text);
        EXPECT_EQ(ErrorOf([&] { TLoadedForm form(path); }), path + ", " + k.Error) << k.Text;
        std::remove(path.c_str());
    }
    const std::string path = WriteTemp("good.dfm", good);
    EXPECT_EQ(ErrorOf([&] { TLoadedForm(path).Control("Nope"); }),
              "The form file \"" + path + "\" has no control named Nope");
    std::remove(path.c_str());
    a.Source->SetName("");
    EXPECT_EQ(ErrorOf([&] { a.Text(); }),
              "Bound cannot be written: DataSource: the data source has no name");
}

// The generated table of properties shows values in the reader's own syntax.
TEST(FormFile, ThePropertyTableListsWhatTheReaderTakes) {
    std::istringstream table(FormPropertyTable());
    std::string row;
    int rows = 0;
    for (std::getline(table, row), std::getline(table, row); std::getline(table, row); ++rows) {
        std::vector<std::string> cells;  // "| a | b |": between the bars, without the spaces
        for (std::size_t at = 1, bar; (bar = row.find('|', at)) != std::string::npos; at = bar + 1)
            cells.push_back(row.substr(at + 1, bar - at - 2));
        ASSERT_EQ(cells.size(), 5u) << row;
        const std::string& name = cells[0];
        std::string value = cells[3];
        if (value.empty()) continue;  // events: no method by default
        value = value.substr(1, value.size() - 2);
        if (cells[1] == "TTableSource") {
            TTableSource source;
            EXPECT_NO_THROW(ReadTableSource({"S", "TTableSource", 1, {{2, name, value}}}, source))
                << row;
            EXPECT_EQ(FindTableSourceProperty(name)->Write(source), value);
            continue;
        }
        TComponent owner(nullptr);
        TDBBarcode* control = new TDBBarcode(&owner);
        control->SetName("X");
        TBarCode* controls[] = {control};
        EXPECT_EQ(ErrorOf([&] {
                      ReadForm("object X: TDBBarcode\n  " + name + " = " + value + "\nend\n",
                               controls);
                  }),
                  "<no error>")
            << row;
    }
    EXPECT_EQ(rows,
              static_cast<int>(PropertiesOf("TDBBarcode").size() + TableSourceProperties().size()));
}

}  // namespace
}  // namespace ribbon::test
