#pragma once
// The barcode preview form: data, symbology and presentation options in, a 500 x 200 picture of
// the barcode out. One instance per session.

#include <array>
#include <string>
#include <string_view>

#include "graphics/Graphics.h"
#include "web/AppForm.h"

namespace ribbon::webdemo {

// The colours of the colour lists, indexed by the list's item index.
using TColorEntry = TColorName;
inline constexpr const std::array<TColorEntry, 18>& ColorTable = ColorNames;

class TformMain : public web::TIWAppForm {
  public:
    // moduleDir ends with '/'; the background picture is moduleDir + "Back.bmp".
    explicit TformMain(std::string moduleDir);

    // Renders the barcode of the current control values into IWImage1's picture. Errors (a
    // missing background file, data the symbology refuses) leave as ribbon::Exception.
    void IWButton1Click(web::TIWControl& Sender);

    web::TIWButton* IWButton1;
    web::TIWEdit* edtBarcode;
    web::TIWImage* IWImage1;
    web::TIWLabel* IWLabel1;
    web::TIWLabel* IWLabel2;
    web::TIWLabel* IWLabel3;
    web::TIWLabel* IWLabel4;
    web::TIWCheckBox* chkCheckSum;
    web::TIWLabel* IWLabel5;
    web::TIWEdit* edtLeft;
    web::TIWLabel* IWLabel6;
    web::TIWEdit* edtTop;
    web::TIWLabel* IWLabel7;
    web::TIWEdit* edtHeight;
    web::TIWLabel* IWLabel8;
    web::TIWEdit* edtAngle;
    web::TIWComboBox* cmbBarType;
    web::TIWComboBox* cmbModul;
    web::TIWComboBox* cmbRatio;
    web::TIWComboBox* cmbBackColor;
    web::TIWComboBox* cmbBarColor;
    web::TIWComboBox* cmbSpaceColor;
    web::TIWComboBox* cmbTextColor;
    web::TIWLabel* labBackColor;
    web::TIWLabel* labBarColor;
    web::TIWLabel* IWLabel9;
    web::TIWLabel* TextSize;
    web::TIWComboBox* cmbTextSize;
    web::TIWLabel* IWLabel10;
    web::TIWComboBox* cmbTextFont;
    web::TIWLabel* IWLabel11;
    web::TIWLabel* IWLabel12;
    web::TIWComboBox* cmbTextBackColor;
    web::TIWLabel* IWLabel13;
    web::TIWComboBox* cmbTextPost;
    web::TIWLabel* IWLabel14;
    web::TIWLabel* IWLabel15;
    web::TIWComboBox* cmbTextShow;
    web::TIWCheckBox* chkBold;
    web::TIWCheckBox* chkItalic;
    web::TIWCheckBox* chkUnderline;
    web::TIWCheckBox* chkStrikeOut;
    web::TIWCheckBox* chkBitmap;

  private:
    std::string moduleDir_;
};

}  // namespace ribbon::webdemo
