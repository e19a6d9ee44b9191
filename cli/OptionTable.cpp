// The declarations of the tool's options. A name may be declared more than once, for different
// commands, when it means something else there (--modul is pixels for render and a length in
// millimetres or inches for print). The help lists the entries of a group in this order.

#include "cli/OptionTable.h"

#include "graphics/Bitmap.h"
#include "vector/Printer.h"

namespace ribbon::cli {

namespace {

constexpr unsigned Encoders = cmdEncode | cmdMeasure | cmdRender;
constexpr unsigned Symbols = Encoders | cmdPrintMeasure | cmdControl | cmdPrint | cmdLabels;
constexpr unsigned Drawers = cmdRender | cmdPrint | cmdLabels | cmdControl;
constexpr unsigned Printers = cmdPrint | cmdPrintMeasure;
constexpr long long Any = 1, None = 0;  // Least > Most: no range

constexpr Takes Flag = Takes::Nothing, Value = Takes::Value, Values = Takes::Values;

constexpr OptionDecl Decls[] = {
    {"type", Value, Symbols, Any, None, SymbolGroup, "--type T",
     "symbology: its ordinal (0-22), its identifier (bcCode128B), the identifier\n"
     "without \"bc\" (code128b), or an alias such as ean13, upca, upce, codabar, i25;\n"
     "case does not matter"},
    {"data", Value, Encoders | cmdPrintMeasure | cmdControl, Any, None, SymbolGroup, "--data D",
     "the data, as given"},
    {"data", Values, cmdPrint, Any, None, NoGroup, "", ""},  // one symbol a page
    {"data-hex", Value, Encoders | cmdPrintMeasure | cmdControl | cmdPrint, Any, None, SymbolGroup,
     "--data-hex HEX",
     "the data as hexadecimal bytes (e.g. 41420a), for bytes a shell cannot pass"},
    {"modul", Value, Encoders | cmdLabels, Any, None, SymbolGroup, "--modul N",
     "width of a narrow element in pixels (default 1)"},
    {"ratio", Value, Symbols, Any, None, SymbolGroup, "--ratio R",
     "wide-to-narrow ratio (default 2.0; clamped per symbology)"},
    {"checksum", Flag, Symbols, Any, None, SymbolGroup, "--checksum",
     "add the optional check character (csModulo10); without it csNone"},
    {"edition", Value, cmdTypes | Encoders | cmdLabels, Any, None, SymbolGroup, "--edition E",
     "desktop (default) or web: the web edition trims blanks and control\n"
     "characters around the data and accepts digits only for Code 128 C / EAN-128 C"},

    {"height", Value, cmdMeasure, Any, None, MeasureGroup, "--height H",
     "bar height in pixels (default 50)"},
    {"angle", Value, cmdMeasure | cmdPrintMeasure, Any, None, MeasureGroup, "--angle A",
     "rotation in degrees, counter-clockwise (default 0)"},

    {"strict", Flag, cmdEncode | cmdRender | cmdControl | cmdPrint | cmdLabels, Any, None,
     StrictGroup, "--strict",
     "make the warning an error: when the data encoded differs from the data\n"
     "typed (a check digit replaced, padding, truncation, characters left out or\n"
     "replaced), exit with status 1 and write no file, instead of a warning on\n"
     "stderr"},

    {"out", Value, cmdRender | cmdControl | cmdPrint | cmdLabels, Any, None, PictureGroup,
     "--out FILE", "the picture to write (required); an existing file is replaced"},
    {"out", Value, 0, Any, None, PictureGroup, "--out -",
     "the picture on standard output, for pipelines: nothing else goes\n"
     "there (no JSON); needs --format"},
    {"format", Value, cmdRender | cmdLabels, Any, None, PictureGroup, "--format F",
     "png, jpeg (or jpg), bmp, svg or pdf; with a FILE it must agree with\n"
     "the extension"},
    {"height", Value, cmdRender | cmdLabels, Any, None, PictureGroup, "--height H",
     "bar height in pixels before turning (default 50)"},
    {"left", Value, cmdRender | cmdLabels, Any, None, PictureGroup, "--left X, --top Y",
     "top-left corner of the upright box around the turned symbol\n"
     "(default: 10 modules, the quiet zone)"},
    {"top", Value, cmdRender | cmdLabels, Any, None, NoGroup, "", ""},
    {"size", Value, cmdRender | cmdLabels, Any, None, PictureGroup, "--size WxH",
     "picture size in pixels (default: the symbol's box and the quiet zone\n"
     "on every side); with --left and --top the symbol is drawn exactly there"},
    {"jpeg-quality", Value, cmdRender, 1, 100, PictureGroup, "--jpeg-quality Q",
     "JPEG quality 1-100 (default 90)"},
    {"progressive", Flag, cmdRender, Any, None, PictureGroup, "--progressive",
     "write a progressive JPEG"},

    {"angle", Value, cmdRender | cmdPrint | cmdLabels, Any, None, DrawingGroup, "--angle A",
     "rotation in degrees, counter-clockwise (default 0)"},
    {"text", Value, Drawers, Any, None, DrawingGroup, "--text T",
     "none (default), barcode (the data as encoded), bartype (the name of\n"
     "the symbology) or both (\"Code39 123\")"},
    {"text-position", Value, Drawers, Any, None, DrawingGroup, "--text-position P",
     "top-left, top-right, top-center, bottom-left, bottom-right or\n"
     "bottom-center (default); the text is written inside the bars' box"},
    {"bar-color", Value, Drawers, Any, None, DrawingGroup, "--bar-color C",
     "colour of the bars (default Black)"},
    {"space-color", Value, Drawers, Any, None, DrawingGroup, "--space-color C",
     "colour of the spaces between them (default White)"},
    {"text-background", Value, Drawers, Any, None, DrawingGroup, "--text-background C",
     "colour of the text's cells (default White)"},
    {"background", Value, cmdRender | cmdPrint | cmdLabels, Any, None, DrawingGroup,
     "--background C", "colour of the rest of the picture (default White)"},
    {"font", Value, Drawers, Any, None, DrawingGroup, "--font FACE",
     "face of the text (default DejaVu Sans); names such as Courier,\n"
     "Courier New, Arial, Tahoma or Impact map to the nearest installed face"},
    {"font-size", Value, Drawers, 1, 1000, DrawingGroup, "--font-size PT",
     "size of the text in points (1-1000, default 10); 96 pixels per inch\n"
     "on pictures, the printer's resolution on printed pages"},
    {"font-color", Value, Drawers, Any, None, DrawingGroup, "--font-color C",
     "colour of the glyphs (default Black)"},
    {"bold", Flag, Drawers, Any, None, DrawingGroup, "--bold, --italic, --underline, --strikeout",
     "style of the text"},
    {"italic", Flag, Drawers, Any, None, NoGroup, "", ""},
    {"underline", Flag, Drawers, Any, None, NoGroup, "", ""},
    {"strikeout", Flag, Drawers, Any, None, NoGroup, "", ""},

    {"width", Value, cmdControl, 1, TBitmap::MaxSide, ControlGroup, "--width W, --height H",
     "outer size of the control in pixels (default 185 x 41)"},
    {"height", Value, cmdControl, 1, TBitmap::MaxSide, NoGroup, "", ""},
    {"orientation", Value, cmdControl, Any, None, ControlGroup, "--orientation O",
     "left-right (default), right-left, top-bottom or bottom-top"},
    {"alignment", Value, cmdControl, Any, None, ControlGroup, "--alignment A",
     "left, right or center (default): where the symbol sits along\n"
     "the control"},
    {"bar-height", Value, cmdControl, Any, None, ControlGroup, "--bar-height N",
     "bar height in pixels; 0 (default) fills the control"},
    {"modul", Value, cmdControl, 1, 49, ControlGroup, "--modul N",
     "1 to 49 pixels, the range the control accepts (default 1)"},
    {"hmargin", Value, cmdControl, Any, None, ControlGroup, "--hmargin N, --auto-width",
     "with --auto-width the control sizes itself along the symbol\n"
     "to the symbol, its frame and N pixels on each end"},
    {"auto-width", Flag, cmdControl, Any, None, NoGroup, "", ""},
    {"bevel-inner", Value, cmdControl, Any, None, ControlGroup, "--bevel-inner B, --bevel-outer B",
     "none, lowered, raised or space (defaults none and raised)"},
    {"bevel-outer", Value, cmdControl, Any, None, NoGroup, "", ""},
    {"bevel-width", Value, cmdControl, 1, 1000, ControlGroup, "--bevel-width N",
     "width of each bevel (default 1)"},
    {"border-width", Value, cmdControl, 0, 1000, ControlGroup, "--border-width N",
     "space between the bevels in the control's colour (default 0)"},
    {"border-style", Value, cmdControl, Any, None, ControlGroup, "--border-style S",
     "none (default) or single: a window edge, flat (2 pixels over\n"
     "both sides) or, with --ctl3d, sunken (4 pixels)"},
    {"ctl3d", Flag, cmdControl, Any, None, ControlGroup, "--ctl3d",
     "the 3D window edge (a control from a form keeps its own)"},
    {"color", Value, cmdControl, Any, None, ControlGroup, "--color C",
     "the control's colour (default the button face, #F0F0F0)"},
    {"text", Value, 0, Any, None, ControlGroup,
     "--text, --text-position, --bar-color, --space-color, --text-background, --font,\n"
     "--font-size, --font-color, --bold, --italic, --underline, --strikeout",
     "as for render; the text background is the control's TextColor"},
    {"form", Value, cmdControl, Any, None, NoGroup, "", ""},
    {"name", Value, cmdControl, Any, None, NoGroup, "", ""},
    {"list-properties", Flag, cmdControl, Any, None, NoGroup, "", ""},

    {"units", Value, Printers, Any, None, PrintingGroup, "--units U",
     "mm or inch: the unit of --modul, --left, --top and --height"},
    {"modul", Value, Printers, Any, None, PrintingGroup, "--modul M",
     "width of a narrow element in the unit (0.33 mm = 8 pixels at 600 dpi)"},
    {"left", Value, cmdPrint, Any, None, PrintingGroup, "--left L, --top T",
     "top-left corner of the upright box around the turned symbol"},
    {"top", Value, cmdPrint, Any, None, NoGroup, "", ""},
    {"height", Value, Printers, Any, None, PrintingGroup, "--height H",
     "bar height in the unit (measure: default 50)"},
    {"dpi", Value, Printers, Any, None, PrintingGroup, "--dpi H[xV]",
     "printer resolution in dots per inch, horizontal x vertical\n"
     "(default 600; e.g. 300, 600x1200)"},
    {"paper", Value, cmdPrint | cmdLabels, Any, None, PrintingGroup, "--paper P",
     "a4 (default), letter, or WIDTHxHEIGHTmm for label stock (100x50mm)"},
    {"data-file", Value, cmdPrint, Any, None, PrintingGroup, "--data-file F",
     "the data, one symbol a line; empty and blank lines are skipped"},

    {"db", Value, cmdLabels, Any, None, NoGroup, "", ""},
    {"query", Value, cmdLabels, Any, None, NoGroup, "", ""},
    {"param", Values, cmdLabels, Any, None, NoGroup, "", ""},  // for ?1, ?2, ... in order
    {"column", Value, cmdLabels, Any, None, NoGroup, "", ""},
    {"name-column", Value, cmdLabels, Any, None, NoGroup, "", ""},
    {"out-dir", Value, cmdLabels, Any, None, NoGroup, "", ""},
    {"grid", Value, cmdLabels, Any, None, NoGroup, "", ""},
    {"dpi", Value, cmdLabels, 1, TPrinter::MaxDpi, NoGroup, "", ""},
    {"jobs", Value, cmdLabels, 1, 64, NoGroup, "", ""},
};

}  // namespace

std::span<const OptionDecl> OptionDecls() {
    return Decls;
}

const OptionDecl* FindOption(std::string_view Name, Command Of) {
    for (const OptionDecl& d : Decls)
        if (d.Name == Name && (d.Commands & Of)) return &d;
    return nullptr;
}

}  // namespace ribbon::cli
