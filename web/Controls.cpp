#include "web/Controls.h"

#include <strings.h>

#include <charconv>

#include "runtime/Exceptions.h"
#include "runtime/Format.h"
#include "runtime/Numeric.h"
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
}  // namespace

std::string TIWControl::StyleAttribute(const std::string& extra) const {
    std::string out = " style=\"position:absolute;left:";
    AppendInt(out, Left);
    out += "px;top:";
    AppendInt(out, Top);
    out += "px;width:";
    AppendInt(out, Width);
    out += "px;height:";
    AppendInt(out, Height);
    out += "px;";
    out += extra;
    out += '"';
    return out;
}

std::string TIWControl::TabIndexAttribute() const {
    // HTML's tabindex 0 means "document order", so the form's tab order starts at 1 here.
    if (TabOrder < 0) return std::string();
    std::string out = " tabindex=\"";
    AppendInt(out, TabOrder + 1);
    out += '"';
    return out;
}

namespace {
// The name and id of a control's own element.
std::string NameId(const TIWControl& control) {
    const std::string name = HtmlEscape(control.Name);
    return " name=\"" + name + "\" id=\"" + name + "\"";
}
constexpr const char* TextFont = "font-size:10pt;";
}  // namespace

void TIWLabel::Render(std::string& html, const TRenderContext&) const {
    html += "<div id=\"" + HtmlEscape(Name) + "\"" +
            StyleAttribute(std::string(TextFont) + "overflow:hidden;white-space:nowrap;") + ">" +
            HtmlEscape(Caption) + "</div>\n";
}

void TIWEdit::Render(std::string& html, const TRenderContext&) const {
    html += "<input type=\"text\"" + NameId(*this) + " value=\"" + HtmlEscape(Text) + "\"";
    if (MaxLength > 0) html += Format(" maxlength=\"%d\"", MaxLength);
    if (ReadOnly) html += " readonly";
    html += TabIndexAttribute() + StyleAttribute(std::string(TextFont) + "box-sizing:border-box;") +
            ">\n";
}

void TIWEdit::ApplyPostedValue(const std::string& value) {
    if (!ReadOnly) Text = value;
}

void TIWComboBox::Render(std::string& html, const TRenderContext&) const {
    html += "<select size=\"1\"" + NameId(*this) + TabIndexAttribute() +
            StyleAttribute(std::string(TextFont) + "box-sizing:border-box;") + ">\n";
    if (ItemIndex == -1) html += "<option value=\"-1\" selected>-- No Selection --</option>\n";
    // Appended piece by piece: a list is rendered on every page, an option at a time.
    char number[16];
    for (std::size_t i = 0; i < Items.size(); ++i) {
        html += "<option value=\"";
        const auto end = std::to_chars(number, number + sizeof number, i).ptr;
        html.append(number, end);
        html += static_cast<int>(i) == ItemIndex ? "\" selected>" : "\">";
        html += HtmlEscape(Items[i]);
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
    const std::string name = HtmlEscape(Name);
    // A browser posts nothing for an unchecked box; the hidden field before it posts "Off",
    // and a checked box's "On" comes later and wins.
    html += "<span" + StyleAttribute(std::string(TextFont) + "white-space:nowrap;") + ">" +
            "<input type=\"hidden\" name=\"" + name + "\" value=\"Off\">" +
            "<input type=\"checkbox\"" + NameId(*this) + " value=\"On\"" +
            (Checked ? " checked" : "") + TabIndexAttribute() + ">" + "<label for=\"" + name +
            "\">" + HtmlEscape(Caption) + "</label></span>\n";
}

void TIWCheckBox::ApplyPostedValue(const std::string& value) {
    Checked = strcasecmp(value.c_str(), "On") == 0 && value.size() == 2;
}

void TIWButton::Render(std::string& html, const TRenderContext&) const {
    html += "<input type=\"button\"" + NameId(*this) + " value=\"" + HtmlEscape(Caption) + "\"" +
            " onclick=\"IWSubmit('" + HtmlEscape(JsEscape(Name)) + "', '');\"" +
            TabIndexAttribute() +
            StyleAttribute(std::string(TextFont) + "background-color:ButtonFace;") + ">\n";
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
    html += "<img" + NameId(*this) + " src=\"" + HtmlEscape(url) + "\" alt=\"\"" +
            Format(" border=\"%d\" width=\"%d\" height=\"%d\"", Border ? 1 : 0, width, height) +
            Format(" style=\"position:absolute;left:%dpx;top:%dpx;width:%dpx;height:%dpx;\"", Left,
                   Top, width, height) +
            ">\n";
}

}  // namespace ribbon::web
