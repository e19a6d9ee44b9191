// control: paints a barcode control, frame and all, into a picture file.

#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "cli/DrawOptions.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/TypeNames.h"
#include "cli/Warnings.h"
#include "components/FormProperties.h"
#include "components/LoadedForm.h"
#include "components/pBarCode.h"

namespace ribbon::cli {

namespace {

// The setter of a property runs only when its option is given.
template <typename T, std::size_t N>
void Choose(const Options& options, const std::string& name,
            const std::pair<std::string_view, T> (&choices)[N], auto&& apply) {
    if (options.Has(name)) apply(Choice(options, name, choices[0].second, choices));
}

constexpr std::pair<std::string_view, TOrientation> Orientations[] = {{"left-right", toLeftRight},
                                                                      {"right-left", toRightLeft},
                                                                      {"top-bottom", toTopBottom},
                                                                      {"bottom-top", toBottomTop}};
constexpr std::pair<std::string_view, TAlignment> Alignments[] = {
    {"left", taLeftJustify}, {"right", taRightJustify}, {"center", taCenter}};
constexpr std::pair<std::string_view, TPanelBevel> Bevels[] = {
    {"none", bvNone}, {"lowered", bvLowered}, {"raised", bvRaised}, {"space", bvSpace}};
constexpr std::pair<std::string_view, TBorderStyle> BorderStyles[] = {{"none", bsNone},
                                                                      {"single", bsSingle}};

void Colour(const Options& options, const std::string& name, auto&& apply) {
    if (options.Has(name)) apply(ReadColor(options, name, clBlack));
}

void ApplyOptions(TBarCode& c, const Options& options) {
    // The ranges are checked as given (OptionTable.cpp), not those of a form's control.
    const int width = options.Int("width", c.Width());
    const int height = options.Int("height", c.Height());
    if (static_cast<long long>(width) * height > TBitmap::MaxPixels)
        throw UsageError("option --width/--height: the control is larger than a picture may be");
    c.SetBounds(c.Left(), c.Top(), width, height);
    Choose(options, "bevel-inner", Bevels, [&](TPanelBevel v) { c.SetBevelInner(v); });
    Choose(options, "bevel-outer", Bevels, [&](TPanelBevel v) { c.SetBevelOuter(v); });
    if (options.Has("bevel-width")) c.SetBevelWidth(options.Int("bevel-width", 1));
    if (options.Has("border-width")) c.SetBorderWidth(options.Int("border-width", 0));
    Choose(options, "border-style", BorderStyles, [&](TBorderStyle v) { c.SetBorderStyle(v); });
    // A new control has the flat frame unless asked; a control from a form keeps its own.
    if (options.Has("ctl3d") || !options.Has("form")) c.SetCtl3D(options.Has("ctl3d"));
    Colour(options, "color", [&](TColor v) { c.SetColor(v); });

    TFont font = c.Font();
    if (auto face = options.Get("font")) font.Name = *face;
    font.Size = options.Int("font-size", font.Size);
    Colour(options, "font-color", [&](TColor v) { font.Color = v; });
    if (options.Has("bold")) font.Style.Include(fsBold);
    if (options.Has("italic")) font.Style.Include(fsItalic);
    if (options.Has("underline")) font.Style.Include(fsUnderline);
    if (options.Has("strikeout")) font.Style.Include(fsStrikeOut);
    c.SetFont(font);

    if (auto type = options.Get("type")) {
        const auto t = ParseBarType(*type);
        if (!t)
            throw UsageError("option --type: unknown symbology '" + *type +
                             "' (see 'ribbon types')");
        c.SetBarType(*t);
    }
    if (options.Has("data") && options.Has("data-hex"))
        throw UsageError("give only one of --data and --data-hex");
    if (auto data = options.Get("data")) c.SetBarcode(*data);
    if (auto hex = options.Get("data-hex")) c.SetBarcode(DecodeHex(*hex));
    if (options.Has("modul")) c.SetModul(options.Int("modul", 1));
    if (options.Has("ratio")) c.SetRatio(options.Double("ratio", 2.0));
    if (options.Has("checksum")) c.SetCheckSum(csModulo10);
    Choose(options, "orientation", Orientations, [&](TOrientation v) { c.SetOrientation(v); });
    Choose(options, "alignment", Alignments, [&](TAlignment v) { c.SetAlignment(v); });
    if (options.Has("bar-height")) c.SetBarHeight(options.Int("bar-height", 0));
    if (options.Has("hmargin")) c.SetHMargin(options.Int("hmargin", 0));
    if (options.Has("auto-width")) c.SetAutoWidth(true);
    Choose(options, "text", TextShows, [&](TTextShow v) { c.SetTextShow(v); });
    Choose(options, "text-position", TextPositions, [&](TTextPosition v) { c.SetTextPosition(v); });
    Colour(options, "bar-color", [&](TColor v) { c.SetColorBar(v); });
    Colour(options, "space-color", [&](TColor v) { c.SetColorSpc(v); });
    Colour(options, "text-background", [&](TColor v) { c.SetTextColor(v); });
}

// What the control shows is what the engine makes of its data with its settings. Data that the
// engine refuses is the control's own business (it shows no symbol), not a warning.
void WarnControlData(const TBarCode& c) {
    TBarSymbol symbol;
    try {
        symbol = Z_EncodeBar(c.BarType(), c.BarCode(), 1, c.Ratio(), c.CheckSum());
    } catch (const Exception&) {
        return;
    }
    WarnDataChanges(c.BarCode(), symbol);
}

}  // namespace

int RunControl(const Args& args) {
    const Options options(args, cmdControl);
    SetStrict(options.Has("strict"));
    // The table of what a form file may say, for people and for the README.
    if (options.Has("list-properties")) {
        if (args.size() != 1) throw UsageError("option --list-properties takes no other options");
        std::cout << FormPropertyTable();
        return 0;
    }
    const std::string out = options.Required("out");
    try {
        ImageFormatFromFileName(out);
    } catch (const EImageError&) {
        throw UsageError("option --out: '" + out + "' does not end in .png, .jpg, .jpeg or .bmp");
    }
    if (options.Has("name") && !options.Has("form")) throw UsageError("option --name needs --form");
    if (!options.Has("form") &&
        (!options.Has("type") || !(options.Has("data") || options.Has("data-hex"))))
        throw UsageError("give --form, or --type with --data or --data-hex");

    // The form's control (with its siblings and data sources), or a new one.
    std::unique_ptr<TLoadedForm> form;
    TBarCode plain(nullptr);
    TBarCode* control = &plain;
    if (auto file = options.Get("form")) {
        form = std::make_unique<TLoadedForm>(*file);
        control = &form->Control(options.Get("name").value_or(""));
    }
    // Loading: the options are stored as given, and checked together when it ends.
    control->BeginLoading();
    ApplyOptions(*control, options);
    control->EndLoading();
    WarnControlData(*control);
    control->Repaint();
    control->WindowPicture().SaveToFile(out);

    const TBarPlacement p = control->Placement();
    std::cout << "{\"out\": " << JsonString(out) << ", \"left\": " << p.Left
              << ", \"top\": " << p.Top << ", \"barHeight\": " << p.BarHeight
              << ", \"angle\": " << p.Angle << ", \"width\": " << control->Width()
              << ", \"height\": " << control->Height() << "}\n";
    return 0;
}

}  // namespace ribbon::cli
