#include "web/Controls.h"

#include <strings.h>

#include <charconv>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Numeric.h"
#include "web/Escape.h"
#include "web/WorkGate.h"

namespace ribbon::web {

TIWControl::TIWControl(std::string name, int left, int top, int width, int height, int tabOrder)
    : Name(std::move(name)),
      Left(left),
      Top(top),
      Width(width),
      Height(height),
      TabOrder(tabOrder) {}

namespace {
// Appends the decimal digits of v: every control's attributes carry numbers, on every page.
void AppendInt(std::string& out, long long v) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, v).ptr);
}

// style="position:absolute;..." for a box at (left, top) of width by height, extras at its end.
void AppendPlacement(std::string& out, int left, int top, int width, int height,
                     std::string_view extra1 = {}, std::string_view extra2 = {}) {
    out += " style=\"position:absolute;left:";
    AppendInt(out, left);
    out += "px;top:";
    AppendInt(out, top);
    out += "px;width:";
    AppendInt(out, width);
    out += "px;height:";
    AppendInt(out, height);
    out += "px;";
    out += extra1;
    out += extra2;
    out += '"';
}
}  // namespace

void TIWControl::AppendStyle(std::string& out, std::string_view extra1,
                             std::string_view extra2) const {
    AppendPlacement(out, Left, Top, Width, Height, extra1, extra2);
}

void TIWControl::AppendTabIndex(std::string& out) const {
    // HTML's tabindex 0 means "document order", so the form's tab order starts at 1 here.
    if (TabOrder < 0) return;
    out += " tabindex=\"";
    AppendInt(out, TabOrder + 1);
    out += '"';
}

// Pages are made by appending to one string, piece by piece: every page renders every control.
namespace {
// The name and id of a control's own element.
void AppendNameId(std::string& html, const TIWControl& control) {
    html += " name=\"";
    AppendHtmlEscaped(html, control.Name);
    html += "\" id=\"";
    AppendHtmlEscaped(html, control.Name);
    html += '"';
}
constexpr std::string_view TextFont = "font-size:10pt;";
}  // namespace

void TIWLabel::Render(std::string& html, const TRenderContext&) const {
    html += "<div id=\"";
    AppendHtmlEscaped(html, Name);
    html += '"';
    AppendStyle(html, TextFont, "overflow:hidden;white-space:nowrap;");
    html += '>';
    AppendHtmlEscaped(html, Caption);
    html += "</div>\n";
}

void TIWEdit::Render(std::string& html, const TRenderContext&) const {
    html += "<input type=\"text\"";
    AppendNameId(html, *this);
    html += " value=\"";
    AppendHtmlEscaped(html, Text);
    html += '"';
    if (MaxLength > 0) {
        html += " maxlength=\"";
        AppendInt(html, MaxLength);
        html += '"';
    }
    if (ReadOnly) html += " readonly";
    AppendTabIndex(html);
    AppendStyle(html, TextFont, "box-sizing:border-box;");
    html += ">\n";
}

void TIWEdit::ApplyPostedValue(const std::string& value) {
    if (!ReadOnly) Text = value;
}

void TIWComboBox::Render(std::string& html, const TRenderContext&) const {
    html += "<select size=\"1\"";
    AppendNameId(html, *this);
    AppendTabIndex(html);
    AppendStyle(html, TextFont, "box-sizing:border-box;");
    html += ">\n";
    if (ItemIndex == -1) html += "<option value=\"-1\" selected>-- No Selection --</option>\n";
    // Appended piece by piece: a list is rendered on every page, an option at a time.
    char number[16];
    for (std::size_t i = 0; i < Items.size(); ++i) {
        html += "<option value=\"";
        const auto end = std::to_chars(number, number + sizeof number, i).ptr;
        html.append(number, end);
        html += static_cast<int>(i) == ItemIndex ? "\" selected>" : "\">";
        AppendHtmlEscaped(html, Items[i]);
        html += "</option>\n";
    }
    html += "</select>\n";
}

void TIWComboBox::ApplyPostedValue(const std::string& value) {
    int index = -1;
    try {
        index = StrToInt(value.substr(0, value.find(',')));
    } catch (const EConvertError&) {
        index = -1;
    }
    const bool offered =
        (index >= 0 && index < static_cast<int>(Items.size())) || (index == -1 && ItemIndex == -1);
    if (!offered) {
        throw Exception(Format("%s: \"%s\" is not one of the list's items.", Name, value));
    }
    ItemIndex = index;
}

void TIWCheckBox::Render(std::string& html, const TRenderContext&) const {
    // A browser posts nothing for an unchecked box; the hidden field before it posts "Off",
    // and a checked box's "On" comes later and wins.
    html += "<span";
    AppendStyle(html, TextFont, "white-space:nowrap;");
    html += "><input type=\"hidden\" name=\"";
    AppendHtmlEscaped(html, Name);
    html += "\" value=\"Off\"><input type=\"checkbox\"";
    AppendNameId(html, *this);
    html += " value=\"On\"";
    if (Checked) html += " checked";
    AppendTabIndex(html);
    html += "><label for=\"";
    AppendHtmlEscaped(html, Name);
    html += "\">";
    AppendHtmlEscaped(html, Caption);
    html += "</label></span>\n";
}

void TIWCheckBox::ApplyPostedValue(const std::string& value) {
    Checked = strcasecmp(value.c_str(), "On") == 0 && value.size() == 2;
}

void TIWButton::Render(std::string& html, const TRenderContext&) const {
    html += "<input type=\"button\"";
    AppendNameId(html, *this);
    html += " value=\"";
    AppendHtmlEscaped(html, Caption);
    html += "\" onclick=\"IWSubmit('";
    AppendHtmlEscaped(html, JsEscape(Name));
    html += "', '');\"";
    AppendTabIndex(html);
    AppendStyle(html, TextFont, "background-color:ButtonFace;");
    html += ">\n";
}

TJPEGOptions TIWImage::JpegOptions() {
    TJPEGOptions options;
    options.CompressionQuality = 90;
    options.ProgressiveEncoding = false;
    // Chosen by measurement (ribbon_web_bench, BM_JpegEncode, the page's first picture):
    // Huffman tables fitted to the picture make the file 5.8 KB instead of 8.5 KB but take 1.9
    // times as long to encode (a second pass over the coefficients); a View is worth more than
    // 2.7 KB on the wire. The fast integer DCT saves nothing measurable with libjpeg-turbo's
    // vector code and would change the pixels.
    options.OptimizeCoding = false;
    return options;
}

void TIWImage::Settle() {
    if (Picture.Width() == 0 || Picture.Height() == 0) return;
    SetJpeg(Picture.Encode(TImageFormat::Jpeg, JpegOptions()), Picture.Width(), Picture.Height());
    // The pixels go back to the render slot for the next request drawn there (or are freed).
    TWorkGate::ReturnBitmap(std::move(Picture));
    Picture = TBitmap();
}

void TIWImage::SetJpeg(std::string jpeg, int width, int height) {
    jpeg.shrink_to_fit();
    jpeg_ = std::move(jpeg);
    pictureWidth_ = width;
    pictureHeight_ = height;
}

void TIWImage::Render(std::string& html, const TRenderContext& context) const {
    if (jpeg_.empty() || pictureWidth_ == 0 || pictureHeight_ == 0) return;
    const std::string url = context.StorePicture(jpeg_);
    const int width = UseSize ? Width : pictureWidth_;
    const int height = UseSize ? Height : pictureHeight_;
    html += "<img";
    AppendNameId(html, *this);
    html += " src=\"";
    AppendHtmlEscaped(html, url);
    html += "\" alt=\"\" border=\"";
    AppendInt(html, Border ? 1 : 0);
    html += "\" width=\"";
    AppendInt(html, width);
    html += "\" height=\"";
    AppendInt(html, height);
    html += '"';
    // The picture's own size when the control's is not used.
    AppendPlacement(html, Left, Top, width, height);
    html += ">\n";
}

}  // namespace ribbon::web
