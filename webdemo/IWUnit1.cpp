#include "webdemo/IWUnit1.h"

#include <initializer_list>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Numeric.h"
#include "engine/ZBarCode.h"
#include "graphics/Bitmap.h"
#include "web/WorkGate.h"
#include "webdemo/BackPicture.h"

namespace ribbon::webdemo {

using namespace web;

namespace {

TIWLabel* Label(TformMain& form, const char* name, const char* caption, int left, int top,
                int width, int height) {
    auto* label = form.Add<TIWLabel>(name, left, top, width, height);
    label->Caption = caption;
    return label;
}

TIWEdit* Edit(TformMain& form, const char* name, const char* text, int left, int top, int width,
              int height, int tabOrder) {
    auto* edit = form.Add<TIWEdit>(name, left, top, width, height, tabOrder);
    edit->Text = text;
    return edit;
}

TIWCheckBox* Check(TformMain& form, const char* name, const char* caption, int left, int top,
                   int width, int height, int tabOrder, bool checked = false) {
    auto* box = form.Add<TIWCheckBox>(name, left, top, width, height, tabOrder);
    box->Caption = caption;
    box->Checked = checked;
    return box;
}

TIWComboBox* List(TformMain& form, const char* name, std::vector<std::string> items, int itemIndex,
                  int left, int top, int width, int height, int tabOrder) {
    auto* list = form.Add<TIWComboBox>(name, left, top, width, height, tabOrder);
    list->Items = std::move(items);
    list->ItemIndex = itemIndex;
    return list;
}

std::vector<std::string> ColorItems() {
    std::vector<std::string> names;
    for (const auto& entry : ColorTable) names.emplace_back(entry.Name);
    return names;
}

// The symbologies by their identifiers without the "bc" prefix, in ordinal order.
std::vector<std::string> BarTypeItems() {
    std::vector<std::string> items;
    for (int i = 0; i < BarTypeCount; ++i)
        items.emplace_back(Z_GetBarTypeIdentifier(static_cast<TBarType>(i)).substr(2));
    return items;
}

std::vector<std::string> Numbers(int first, int last) {
    std::vector<std::string> items;
    for (int i = first; i <= last; ++i) items.push_back(std::to_string(i));
    return items;
}

// The item index of a list, checked against the table it is about to select from. The lists
// only take indices of their own items, so this guards against a list and its table parting.
int Selected(const TIWComboBox& list, std::size_t tableSize) {
    if (list.ItemIndex < 0 || static_cast<std::size_t>(list.ItemIndex) >= tableSize)
        throw Exception(Format("%s: no valid item is selected.", list.Name));
    return list.ItemIndex;
}

TColor ColorOf(const TIWComboBox& list) {
    return ColorTable[Selected(list, ColorTable.size())].Value;
}

int IntOrDefault(const std::string& text, int fallback) {
    try {
        return StrToInt(text);
    } catch (const EConvertError&) {
        return fallback;
    }
}

std::string Trim(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
    return text.substr(first, last - first);
}

}  // namespace

TformMain::TformMain(std::string moduleDir)
    : TIWAppForm("formMain", 576, 562), moduleDir_(std::move(moduleDir)) {
    IWButton1 = Add<TIWButton>("IWButton1", 264, 536, 61, 21, 23);
    IWButton1->Caption = "View";
    IWButton1->OnClick = [this](TIWControl& sender) { IWButton1Click(sender); };
    edtBarcode = Edit(*this, "edtBarcode", "", 108, 220, 150, 21, 0);
    IWImage1 = Add<TIWImage>("IWImage1", 8, 8, 500, 200);
    IWLabel1 = Label(*this, "IWLabel1", "Barcode", 44, 222, 50, 16);
    IWLabel2 = Label(*this, "IWLabel2", "BarType", 43, 250, 51, 16);
    IWLabel3 = Label(*this, "IWLabel3", "Modul", 57, 278, 37, 16);
    IWLabel4 = Label(*this, "IWLabel4", "Ratio", 63, 306, 31, 16);
    chkCheckSum = Check(*this, "chkCheckSum", "CheckSum", 108, 332, 121, 21, 4);
    IWLabel5 = Label(*this, "IWLabel5", "Left", 71, 358, 23, 16);
    edtLeft = Edit(*this, "edtLeft", "20", 108, 356, 150, 21, 5);
    IWLabel6 = Label(*this, "IWLabel6", "Top", 70, 386, 24, 16);
    edtTop = Edit(*this, "edtTop", "20", 108, 384, 150, 21, 6);
    IWLabel7 = Label(*this, "IWLabel7", "Height", 55, 414, 39, 16);
    edtHeight = Edit(*this, "edtHeight", "50", 108, 412, 150, 21, 7);
    IWLabel8 = Label(*this, "IWLabel8", "Angle", 59, 442, 35, 16);
    edtAngle = Edit(*this, "edtAngle", "0", 108, 440, 150, 21, 8);
    cmbBarType = List(*this, "cmbBarType", BarTypeItems(), 3, 108, 248, 150, 21, 1);
    cmbModul = List(*this, "cmbModul", Numbers(1, 9), 0, 108, 276, 150, 21, 2);
    cmbRatio = List(*this, "cmbRatio", {"1.5", "2", "2.5", "3", "3.5"}, 1, 108, 304, 150, 21, 3);
    cmbBackColor = List(*this, "cmbBackColor", ColorItems(), 17, 392, 464, 121, 21, 21);
    cmbBarColor = List(*this, "cmbBarColor", ColorItems(), 0, 108, 468, 150, 21, 9);
    cmbSpaceColor = List(*this, "cmbSpaceColor", ColorItems(), 17, 108, 496, 150, 21, 10);
    cmbTextColor = List(*this, "cmbTextColor", ColorItems(), 0, 392, 324, 121, 21, 17);
    labBackColor = Label(*this, "labBackColor", "BackColor", 312, 466, 61, 16);
    labBarColor = Label(*this, "labBarColor", "BarColor", 41, 470, 53, 16);
    IWLabel9 = Label(*this, "IWLabel9", "SpaceColor", 23, 498, 71, 16);
    TextSize = Label(*this, "TextSize", "TextSize", 316, 218, 53, 16);
    cmbTextSize = List(*this, "cmbTextSize", Numbers(7, 14), 0, 392, 216, 121, 21, 11);
    IWLabel10 = Label(*this, "IWLabel10", "TextFont", 314, 246, 55, 16);
    cmbTextFont = List(*this, "cmbTextFont",
                       {"Courier", "Courier New", "Impact", "Ms Sans Serif", "Tahoma", "Verdand"},
                       -1, 392, 244, 121, 21, 12);
    IWLabel11 = Label(*this, "IWLabel11", "TextColor", 309, 326, 60, 16);
    IWLabel12 = Label(*this, "IWLabel12", "TextBackColor", 280, 354, 89, 16);
    cmbTextBackColor = List(*this, "cmbTextBackColor", ColorItems(), 17, 392, 352, 121, 21, 18);
    IWLabel13 = Label(*this, "IWLabel13", "", 302, 494, 0, 0);
    cmbTextPost =
        List(*this, "cmbTextPost",
             {"TopLeft", "TopRight", "TopCenter", "BottomLeft", "BottomRight", "BottomCenter"}, 5,
             392, 408, 121, 21, 20);
    IWLabel14 = Label(*this, "IWLabel14", "TextPosition", 294, 410, 75, 16);
    IWLabel15 = Label(*this, "IWLabel15", "TextShow", 307, 382, 62, 16);
    cmbTextShow = List(*this, "cmbTextShow", {"None", "BarCode", "BarType", "Both"}, 1, 392, 380,
                       121, 21, 19);
    chkBold = Check(*this, "chkBold", "Bold", 392, 272, 81, 21, 13);
    chkItalic = Check(*this, "chkItalic", "Italic", 480, 272, 65, 21, 14);
    chkUnderline = Check(*this, "chkUnderline", "UnderLine", 392, 296, 81, 21, 15);
    chkStrikeOut = Check(*this, "chkStrikeOut", "StrikeOut", 480, 296, 93, 21, 16);
    chkBitmap = Check(*this, "chkBitmap", "BackBitmap", 392, 496, 121, 21, 22, true);
}

void TformMain::IWButton1Click(TIWControl& /*Sender*/) {
    // Every selection is checked before anything changes, so a bad one leaves the picture alone.
    const TColor backColor = ColorOf(*cmbBackColor);
    const auto barType = static_cast<TBarType>(Selected(*cmbBarType, BarTypeCount));
    const int modul = Selected(*cmbModul, 9) + 1;
    const double ratio = (Selected(*cmbRatio, 5) + 1) * 0.5 + 1.0;
    const int textSize = Selected(*cmbTextSize, 8) + 7;
    const TColor textColor = ColorOf(*cmbTextColor);
    const auto textShow = static_cast<TTextShow>(Selected(*cmbTextShow, tsBoth + 1));
    const auto textPosition =
        static_cast<TTextPosition>(Selected(*cmbTextPost, tpBottomCenter + 1));
    const TColor barColor = ColorOf(*cmbBarColor);
    const TColor spaceColor = ColorOf(*cmbSpaceColor);
    const TColor textBackColor = ColorOf(*cmbTextBackColor);
    if (cmbTextFont->ItemIndex != -1) Selected(*cmbTextFont, cmbTextFont->Items.size());

    // The background file first: one that cannot be read leaves the picture as it was.
    const std::shared_ptr<const TBitmap> back =
        chkBitmap->Checked ? BackPicture(moduleDir_ + "Back.bmp") : nullptr;
    // Drawn into the bitmap the render slot keeps, so no picture is allocated per click. It
    // becomes the image's picture only with its background in: until then its pixels are
    // another session's picture.
    TBitmap picture = IWImage1->Picture.Width() == 0 && IWImage1->Picture.Height() == 0
                          ? web::TWorkGate::TakeBitmap()
                          : std::move(IWImage1->Picture);
    if (back) {
        picture.Assign(*back);
    } else {
        picture.SetSize(500, 200);
        TCanvas& canvas = picture.Canvas();
        const TBrush brush = canvas.Brush;
        const TPen pen = canvas.Pen;
        canvas.Brush.SetColor(backColor);
        canvas.Pen = TPen{};
        canvas.Rectangle(0, 0, picture.Width(), picture.Height());
        canvas.Brush = brush;
        canvas.Pen = pen;
    }
    IWImage1->Picture = std::move(picture);

    const TCheckSum checkSum = chkCheckSum->Checked ? csModulo10 : csNone;

    TFont font;
    if (cmbTextFont->ItemIndex != -1) font.Name = cmbTextFont->Items[cmbTextFont->ItemIndex];
    font.Size = textSize;
    font.Color = textColor;
    font.Style = {};
    if (chkBold->Checked) font.Style.Include(fsBold);
    if (chkItalic->Checked) font.Style.Include(fsItalic);
    if (chkUnderline->Checked) font.Style.Include(fsUnderline);
    if (chkStrikeOut->Checked) font.Style.Include(fsStrikeOut);

    // Left and Top fall back to 10 although the fields start at "20".
    const int left = IntOrDefault(edtLeft->Text, 10);
    const int top = IntOrDefault(edtTop->Text, 10);
    const int height = IntOrDefault(edtHeight->Text, 50);
    const double angle = IntOrDefault(edtAngle->Text, 0);
    const std::string barCode = Trim(edtBarcode->Text);

    Z_DrawBar(IWImage1->Picture.Canvas(), barType, barCode, modul, ratio, checkSum, left, top,
              height, font, textShow, textPosition, barColor, spaceColor, textBackColor, angle,
              WebRules);
}

}  // namespace ribbon::webdemo
