// The barcode control: its setters, the repair of rejected data, and where it paints.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "components/pBarCode.h"
#include "tests/Decoders.h"
#include "tests/ErrorOf.h"
#include "tests/PdfTools.h"
#include "vector/Printer.h"

namespace ribbon::test {
namespace {

// Counts the paints and OnChange calls of a control.
class CountingBarCode : public TBarCode {
  public:
    CountingBarCode() : TBarCode(nullptr) {
        OnChange = [this](TObject* sender) {
            EXPECT_EQ(sender, this);
            ++Changes;
        };
    }
    int Paints = 0;
    int Changes = 0;

  protected:
    void Paint() override {
        ++Paints;
        TBarCode::Paint();
    }
};

TEST(BarCode, NewControl) {
    TBarCode c(nullptr);
    EXPECT_EQ(c.BarType(), bcCode39);
    EXPECT_EQ(c.BarCode(), "");
    EXPECT_EQ(c.Modul(), 1);
    EXPECT_EQ(c.Ratio(), 2.0);
    EXPECT_EQ(c.CheckSum(), csNone);
    EXPECT_EQ(c.ColorBar(), clBlack);
    EXPECT_EQ(c.ColorSpc(), clWhite);
    EXPECT_EQ(c.TextColor(), clWhite);
    EXPECT_EQ(c.TextShow(), tsNone);
    EXPECT_EQ(c.TextPosition(), tpBottomCenter);
    EXPECT_EQ(c.Orientation(), toLeftRight);
    EXPECT_EQ(c.BarHeight(), 0);
    EXPECT_EQ(c.HMargin(), 0);
    EXPECT_FALSE(c.AutoWidth());
    EXPECT_EQ(c.Caption(), "");
    EXPECT_EQ(c.Color(), clBtnFace);
    EXPECT_EQ(c.BevelOuter(), bvRaised);
    EXPECT_EQ(c.BevelInner(), bvNone);
    EXPECT_EQ(c.BevelWidth(), 1);
    EXPECT_EQ(c.Alignment(), taCenter);
    EXPECT_NO_THROW(c.Repaint());  // Code 39 of no data: start and stop only
}

TEST(BarCode, SettersStoreRepaintAndNotifyOnce) {
    struct Case {
        const char* Name;
        std::function<void(TBarCode&)> Set;
        std::function<bool(const TBarCode&)> Holds;
        int Changes;
    };
    const Case cases[] = {
        {"Modul 0 ignored", [](TBarCode& c) { c.SetModul(0); },
         [](const TBarCode& c) { return c.Modul() == 1; }, 0},
        {"Modul 50 ignored", [](TBarCode& c) { c.SetModul(50); },
         [](const TBarCode& c) { return c.Modul() == 1; }, 0},
        {"Modul 49 taken", [](TBarCode& c) { c.SetModul(49); },
         [](const TBarCode& c) { return c.Modul() == 49; }, 1},
        {"Modul unchanged", [](TBarCode& c) { c.SetModul(1); },
         [](const TBarCode& c) { return c.Modul() == 1; }, 0},
        {"Ratio", [](TBarCode& c) { c.SetRatio(2.5); },
         [](const TBarCode& c) { return c.Ratio() == 2.5; }, 1},
        {"Ratio equal", [](TBarCode& c) { c.SetRatio(2.0); },
         [](const TBarCode& c) { return c.Ratio() == 2.0; }, 0},
        {"colours", [](TBarCode& c) { c.SetColorBar(clNavy), c.SetColorSpc(clYellow); },
         [](const TBarCode& c) { return c.ColorBar() == clNavy && c.ColorSpc() == clYellow; }, 2},
        {"BarHeight -5", [](TBarCode& c) { c.SetBarHeight(20), c.SetBarHeight(-5); },
         [](const TBarCode& c) { return c.BarHeight() == 0; }, 2},
        {"BarHeight beyond the control", [](TBarCode& c) { c.SetBarHeight(1000); },
         [](const TBarCode& c) { return c.BarHeight() == 0; }, 1},
        {"HMargin without AutoWidth", [](TBarCode& c) { c.SetHMargin(7); },
         [](const TBarCode& c) { return c.HMargin() == 7; }, 0},
        {"HMargin with AutoWidth", [](TBarCode& c) { c.SetAutoWidth(true), c.SetHMargin(7); },
         [](const TBarCode& c) { return c.HMargin() == 7 && c.AutoWidth(); }, 2},
        {"About is fixed", [](TBarCode& c) { c.SetAbout("mine"); },
         [](const TBarCode& c) { return c.About() != "mine" && !c.About().empty(); }, 0},
        {"BarType", [](TBarCode& c) { c.SetBarType(bcCode128B); },
         [](const TBarCode& c) { return c.BarType() == bcCode128B; }, 1},
    };
    for (const Case& k : cases) {
        CountingBarCode c;
        k.Set(c);
        EXPECT_TRUE(k.Holds(c)) << k.Name;
        EXPECT_EQ(c.Changes, k.Changes) << k.Name;
        // Each change painted once before OnChange; a control that resizes itself to the
        // symbol paints again at its new size.
        EXPECT_EQ(c.Paints, k.Changes * (c.AutoWidth() ? 2 : 1)) << k.Name;
    }
}

TEST(BarCode, BarHeightEqualToTheAvailableHeight) {
    TBarCode c(nullptr);
    c.SetBounds(0, 0, 200, 41);  // bw 1, k 0: 41 - 2 - 0 - 1 = 38
    c.SetBarHeight(38);
    EXPECT_EQ(c.BarHeight(), 38);
    EXPECT_EQ(c.GetBarHeight(), 38);
    EXPECT_EQ(c.BarHeight(), 0);
    c.SetBarHeight(30);
    EXPECT_EQ(c.GetBarHeight(), 30);
    EXPECT_EQ(c.BarHeight(), 30);
}

// Offers the data to the handler, which returns the next text to try.
struct RepairCase {
    const char* Name;
    TBarType Type;
    std::function<std::string(const std::string&)> Repair;  // empty: no handler
    std::string Value;
    std::string Stored;  // BarCode afterwards
    std::string Error;   // the message raised, or "<no error>"
    int Paints;
    int Changes;
};

const std::string NotNumeric = "12A4: Barcode must be numeric.";

TEST(BarCode, RejectedDataIsOfferedForRepair) {
    auto digitsOnly = [](const std::string& s) {
        std::string d;
        for (char c : s)
            if (c >= '0' && c <= '9') d += c;
        return d;
    };
    int counter = 0;
    const RepairCase cases[] = {
        {"numeric, no handler", bcCode_2_5_interleaved, nullptr, "12A4", "old", NotNumeric, 0, 0},
        {"numeric, handler repairs", bcCode_2_5_interleaved, digitsOnly, "12A4", "124",
         "<no error>", 1, 1},
        {"numeric, handler gives the value back", bcCode_2_5_interleaved,
         [](const std::string& s) { return s; }, "12A4", "old", NotNumeric, 0, 0},
        {"numeric, handler never repairs", bcCode_2_5_interleaved,
         [&](const std::string&) { return "X" + std::to_string(++counter); }, "12A4", "old",
         NotNumeric, 0, 0},
        {"numeric, blanks pass the control's check", bcCode_2_5_interleaved, nullptr, " 123 ",
         " 123 ", " 123  : Barcode must be numeric.", 1, 0},
        {"other symbology, no handler", bcCode93, nullptr, "12a4", "12a4",
         "12a4: Barcode must be numeric.", 1, 0},
        {"other symbology, handler repairs", bcCode93,
         [](const std::string&) { return std::string("12A4"); }, "12a4", "12A4", "<no error>", 2,
         1},
        {"other symbology, handler never repairs", bcCode93,
         [&](const std::string&) { return "x" + std::to_string(++counter); }, "12a4", "x",
         "12a4: Barcode must be numeric.", 1 + TBarCode::MaxRepairRounds, 0},
    };
    for (const RepairCase& k : cases) {
        CountingBarCode c;
        c.SetBarType(k.Type);
        if (k.Type != bcCode93) c.SetBarcode("0");  // valid data for the starting state
        c.OnChange = nullptr;
        const std::string start = k.Type == bcCode93 ? "" : "0";
        int offers = 0;
        if (k.Repair)
            c.OnInvalidChar = [&](TObject* sender, std::string& data) {
                EXPECT_EQ(sender, &c);
                ++offers;
                data = k.Repair(data);
            };
        int changes = 0;
        c.OnChange = [&](TObject*) { ++changes; };
        c.Paints = 0;
        counter = 0;
        const std::string error = ErrorOf([&] { c.SetBarcode(k.Value); });
        EXPECT_EQ(error, k.Error) << k.Name;
        const std::string stored = k.Stored == "old" ? start : k.Stored;
        if (k.Stored == "x")  // the last text the handler produced stays stored
            EXPECT_EQ(c.BarCode(), "x" + std::to_string(TBarCode::MaxRepairRounds)) << k.Name;
        else
            EXPECT_EQ(c.BarCode(), stored) << k.Name;
        EXPECT_EQ(c.Paints, k.Paints) << k.Name;
        EXPECT_EQ(changes, k.Changes) << k.Name;
        if (counter) {
            EXPECT_EQ(offers, TBarCode::MaxRepairRounds) << k.Name;
        }
    }
}

TEST(BarCode, SymbologyChangeThatInvalidatesTheData) {
    TBarCode c(nullptr);
    c.SetBarcode("AB12");
    EXPECT_EQ(ErrorOf([&] { c.SetBarType(bcCodeEAN13); }), "AB12 : Barcode must be numeric.");
    EXPECT_EQ(c.BarType(), bcCodeEAN13);

    TBarCode d(nullptr);
    d.SetBarcode("AB12");
    int changes = 0;
    d.OnChange = [&](TObject*) { ++changes; };
    d.OnInvalidChar = [](TObject*, std::string& data) { data = "590123412345"; };
    EXPECT_EQ(ErrorOf([&] { d.SetBarType(bcCodeEAN13); }), "<no error>");
    EXPECT_EQ(d.BarType(), bcCodeEAN13);
    EXPECT_EQ(d.BarCode(), "590123412345");  // repaired in place, no repaint
    EXPECT_EQ(changes, 0);
}

TEST(BarCode, AssignCopiesTheBarcodeSettings) {
    TBarCode a(nullptr), b(nullptr);
    a.SetBarType(bcCode128B);
    a.SetBarcode("Hello");
    a.SetModul(3);
    a.SetRatio(2.5);
    a.SetColorBar(clRed);
    a.SetOrientation(toBottomTop);
    a.SetTextShow(tsBoth);
    a.SetHMargin(4);
    a.SetAutoWidth(true);
    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    a.OnInvalidChar = [](TObject*, std::string&) {};
    b.Assign(&a);
    EXPECT_EQ(b.BarType(), bcCode128B);
    EXPECT_EQ(b.BarCode(), "Hello");
    EXPECT_EQ(b.Modul(), 3);
    EXPECT_EQ(b.Ratio(), 2.5);
    EXPECT_EQ(b.ColorBar(), clRed);
    EXPECT_EQ(b.Orientation(), toBottomTop);
    EXPECT_EQ(b.TextShow(), tsBoth);
    EXPECT_EQ(b.HMargin(), 4);
    EXPECT_FALSE(b.AutoWidth());
    EXPECT_FALSE(b.OnInvalidChar);
    EXPECT_EQ(changes, 0);
    b.SetModul(4);
    EXPECT_EQ(changes, 1);  // the copied OnChange is a's handler
}

// The extent of the pixels of the given colours in the client bitmap.
TRect Extent(const TBitmap& b, std::initializer_list<TColor> colors) {
    TRect r{b.Width(), b.Height(), -1, -1};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const std::uint8_t* p = b.ScanLine(y) + x * 3;
            if (std::find(colors.begin(), colors.end(), RGB(p[0], p[1], p[2])) == colors.end())
                continue;
            r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x),
                 std::max(r.Bottom, y)};
        }
    return r;
}

TEST(BarCode, DefaultFrame200By41) {
    TBarCode c(nullptr);
    c.SetBounds(0, 0, 200, 41);
    c.SetBarType(bcCodeEAN13);
    c.SetBarcode("5901234123457");
    ASSERT_EQ(c.GetBarWidth(), 95);
    EXPECT_EQ(c.Placement(), (TBarPlacement{52, 1, 38, 0}));
}

// The symbol lands against the inset for left alignment, against the far inset for right
// alignment and in the middle for centre, whatever the orientation; across it starts at the
// inset and is as long as the bar height.
TEST(BarCode, SymbolPlacementByOrientationAndAlignment) {
    for (TOrientation o : {toLeftRight, toRightLeft, toTopBottom, toBottomTop})
        for (TAlignment a : {taLeftJustify, taRightJustify, taCenter}) {
            TBarCode c(nullptr);
            c.SetBounds(0, 0, 260, 230);
            c.SetBevelWidth(2);
            c.SetBevelInner(bvLowered);
            c.SetBorderWidth(3);
            c.SetBorderStyle(bsSingle);  // 3D edge: k = 4
            c.SetColorSpc(clYellow);
            c.SetBarcode("RIBBON");
            c.SetOrientation(o);
            c.SetAlignment(a);
            c.Repaint();
            const int bw = 2 + 2 + 3, w = c.GetBarWidth();
            const bool vertical = o == toTopBottom || o == toBottomTop;
            const TRect e = Extent(c.ClientBitmap(), {clYellow, clBlack});  // the symbol box
            const int alongStart = vertical ? e.Top : e.Left,
                      alongEnd = vertical ? e.Bottom : e.Right;
            const int acrossStart = vertical ? e.Left : e.Top;
            const int acrossEnd = vertical ? e.Right : e.Bottom;
            const int client = vertical ? c.ClientHeight() : c.ClientWidth();
            const std::string name = std::to_string(o) + "/" + std::to_string(a);
            EXPECT_EQ(alongEnd - alongStart + 1, w) << name;
            const int expectedStart = a == taLeftJustify    ? bw
                                      : a == taRightJustify ? client - bw - w
                                                            : (client - w) / 2;
            EXPECT_NEAR(alongStart, expectedStart, a == taCenter ? 1 : 0) << name;
            EXPECT_EQ(acrossStart, bw) << name;
            // The bars cover both their first and their last row.
            EXPECT_EQ(acrossEnd - acrossStart, c.Placement().BarHeight) << name;
        }
}

TEST(BarCode, RightToLeftWithoutInsetStartsAtTheEdge) {
    for (TOrientation o : {toLeftRight, toRightLeft}) {
        TBarCode c(nullptr);
        c.SetBevelOuter(bvNone);
        c.SetAlignment(taLeftJustify);
        c.SetBarcode("AB");
        c.SetOrientation(o);
        c.Repaint();
        EXPECT_EQ(c.Placement().Left, o == toRightLeft ? -1 : 0);
        const TRect bars = Extent(c.ClientBitmap(), {clBlack});
        EXPECT_EQ(bars.Left, 0) << o;
        EXPECT_EQ(bars.Right, c.GetBarWidth() - 1) << o;
    }
}

TEST(BarCode, AutoWidthSizesTheControlAlongTheSymbol) {
    TBarCode c(nullptr);
    c.SetBorderStyle(bsSingle);
    c.SetCtl3D(false);  // k = 2
    c.SetBarcode("AUTO");
    c.SetHMargin(5);
    c.SetAutoWidth(true);
    EXPECT_EQ(c.Width(), c.GetBarWidth() + 2 * (5 + 1 + 2));
    c.SetOrientation(toTopBottom);
    EXPECT_EQ(c.Height(), c.GetBarWidth() + 2 * (5 + 1 + 2));
    EXPECT_EQ(c.AutoSetWidth(0), c.GetBarWidth() + 2 * 3);
}

TEST(BarCode, MeasuresWithItsSettingsAndTheEngineMethodsPassThrough) {
    TBarCode c(nullptr);
    c.SetBarcode("12");
    c.SetModul(2);
    c.SetOrientation(toTopBottom);
    EXPECT_EQ(c.GetBarWidth(), Z_GetBarWidth(bcCode39, "12", 2, 2.0, csNone));
    EXPECT_EQ(c.GetCanvasWidth(30), Z_GetCanvasWidth(bcCode39, "12", 2, 2.0, csNone, 30, 270));
    EXPECT_EQ(c.GetCanvasHeight(30, 0), Z_GetCanvasHeight(bcCode39, "12", 2, 2.0, csNone, 30, 0));
    EXPECT_EQ(c.GetBarTypeName(), "Code39");
    EXPECT_EQ(c.Z_GetBarWidth(bcCodeEAN8, "1234567", 3, 2.0, csModulo10),
              Z_GetBarWidth(bcCodeEAN8, "1234567", 3, 2.0, csModulo10));
    EXPECT_EQ(c.Z_GetBarTypeName(bcCodeEAN8), Z_GetBarTypeName(bcCodeEAN8));
}

TEST(BarCode, PrintsWithItsSettingsAndMeasuresWithTheCrossedPair) {
    TBarCode c(nullptr);
    c.SetBarType(bcCodeEAN13);
    c.SetBarcode("5901234123457");
    const std::string d = "5901234123457";
    // The height method answers with the engine's canvas width, and the other way round.
    EXPECT_EQ(c.GetPrnCanvasHeight(utMillimeter, 15, 0.5, 0),
              Z_PrnCanvasWidth(utMillimeter, bcCodeEAN13, d, 0.5, 2.0, csNone, 15, 0));
    EXPECT_EQ(c.GetPrnCanvasWidth(utMillimeter, 15, 0.5),
              Z_PrnCanvasHeight(utMillimeter, bcCodeEAN13, d, 0.5, 2.0, csNone, 15, 0));
    EXPECT_EQ(c.GetPrnCanvasHeight(utMillimeter, 15, 0.5), 15);  // about the bar height
    EXPECT_EQ(c.GetPrnBarWidth(utInch, 0.01),
              Z_GetPrnBarWidth(utInch, bcCodeEAN13, d, 0.01, 2.0, csNone));
    EXPECT_EQ(c.Z_PrnCanvasHeight(utInch, bcCode39, "A", 0.01, 2.0, csNone, 1, 90),
              Z_PrnCanvasHeight(utInch, bcCode39, "A", 0.01, 2.0, csNone, 1, 90));

    if (!HaveTool("pdftoppm", "poppler-utils") || !HaveTool("zbarimg", "zbar-tools")) return;
    const std::string base = testing::TempDir() + "barcode-print-" + std::to_string(getpid());
    Printer().Abort();
    Printer().SetResolution(600, 600);
    Printer().SetPaper({120, 80});
    Printer().FileName = base + ".pdf";
    Printer().BeginDoc();
    c.SetOrientation(toBottomTop);
    c.Print(utMillimeter, 10, 10, 20, 0.4);
    Printer().EndDoc();
    RasterisePdf(base + ".pdf", 300, 300).SaveToFile(base + ".png");
    EXPECT_EQ(ZbarRead(base + ".png"), d);
    std::remove((base + ".pdf").c_str());
    std::remove((base + ".png").c_str());
}

TEST(Component, OwnersFreeWhatTheyOwnAndReferencesAreCleared) {
    auto* form = new TComponent(nullptr);
    auto* bar = new TBarCode(form);
    auto* menu = new TComponent(form);
    bar->SetName("BarCode1");
    menu->SetName("PopupMenu1");
    EXPECT_EQ(form->FindComponent("barcode1"), bar);
    EXPECT_THROW(menu->SetName("BARCODE1"), Exception);
    bar->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(bar->PopupMenu(), nullptr);
    EXPECT_EQ(form->ComponentCount(), 1);

    TComponent other(nullptr);
    bar->SetPopupMenu(&other);  // outside the owner: told through the free notification
    delete form;                // frees bar, which unhooks itself from other
    EXPECT_NO_THROW(other.SetName("Menu"));
}

}  // namespace
}  // namespace ribbon::test
