// The help texts. Each command's usage, description and option groups are written once; the
// whole help and each command's help are put together from these parts.

#include <string_view>

#include "cli/Commands.h"

namespace ribbon::cli {

namespace {

constexpr std::string_view Title = R"(ribbon - one-dimensional barcodes from the command line
)";

constexpr std::string_view ToolUsage =
    R"(  ribbon help [COMMAND]   this text, or one command's usage and options (also
                          ribbon COMMAND --help, or -h anywhere among its arguments)
  ribbon --version        the version (also -V)
)";

// The option groups, in the order the whole help lists them.
enum Group : unsigned {
    SymbolGroup = 1 << 0,
    MeasureGroup = 1 << 1,
    StrictGroup = 1 << 2,
    PictureGroup = 1 << 3,
    DrawingGroup = 1 << 4,
    ControlGroup = 1 << 5,
    PrintingGroup = 1 << 6,
    JsonGroup = 1 << 7,
    ExitGroup = 1 << 8,
};

constexpr std::pair<Group, std::string_view> Groups[] = {
    {SymbolGroup, R"(Options:
  --type T        symbology: its ordinal (0-22), its identifier (bcCode128B), the identifier
                  without "bc" (code128b), or an alias such as ean13, upca, upce, codabar, i25;
                  case does not matter
  --data D        the data, as given
  --data-hex HEX  the data as hexadecimal bytes (e.g. 41420a), for bytes a shell cannot pass
  --modul N       width of a narrow element in pixels (default 1)
  --ratio R       wide-to-narrow ratio (default 2.0; clamped per symbology)
  --checksum      add the optional check character (csModulo10); without it csNone
  --edition E     desktop (default) or web: the web edition trims blanks and control
                  characters around the data and accepts digits only for Code 128 C / EAN-128 C
)"},
    {MeasureGroup, R"(Measure options (measure):
  --height H      bar height in pixels (default 50)
  --angle A       rotation in degrees, counter-clockwise (default 0)
)"},
    {StrictGroup, R"(Checking the data (encode, render, print, control, labels):
  --strict        make the warning an error: when the data encoded differs from the data
                  typed (a check digit replaced, padding, truncation, characters left out or
                  replaced), exit with status 1 and write no file, instead of a warning on
                  stderr
)"},
    {PictureGroup, R"(Picture options (render; labels take --height, --left, --top and --size):
  --out FILE            the picture to write (required); an existing file is replaced
  --out -               the picture on standard output, for pipelines: nothing else goes
                        there (no JSON); needs --format
  --format F            png, jpeg (or jpg), bmp, svg or pdf; with a FILE it must agree with
                        the extension
  --height H            bar height in pixels before turning (default 50)
  --left X, --top Y     top-left corner of the upright box around the turned symbol
                        (default: 10 modules, the quiet zone)
  --size WxH            picture size in pixels (default: the symbol's box and the quiet zone
                        on every side); with --left and --top the symbol is drawn exactly there
  --jpeg-quality Q      JPEG quality 1-100 (default 90)
  --progressive         write a progressive JPEG
)"},
    {DrawingGroup,
     R"(Drawing options (render, print, labels; control takes the text's and colours'):
  --angle A             rotation in degrees, counter-clockwise (default 0)
  --text T              none (default), barcode (the data as encoded), bartype (the name of
                        the symbology) or both ("Code39 123")
  --text-position P     top-left, top-right, top-center, bottom-left, bottom-right or
                        bottom-center (default); the text is written inside the bars' box
  --bar-color C         colour of the bars (default Black)
  --space-color C       colour of the spaces between them (default White)
  --text-background C   colour of the text's cells (default White)
  --background C        colour of the rest of the picture (default White)
  --font FACE           face of the text (default DejaVu Sans); names such as Courier,
                        Courier New, Arial, Tahoma or Impact map to the nearest installed face
  --font-size PT        size of the text in points (1-1000, default 10); 96 pixels per inch
                        on pictures, the printer's resolution on printed pages
  --font-color C        colour of the glyphs (default Black)
  --bold, --italic, --underline, --strikeout
                        style of the text

  A colour C is #RRGGBB or a name: Black, Maroon, Green, Olive, Navy, Purple, Teal, Gray,
  Silver, Red, Lime, Yellow, Blue, Fuchsia, Aqua, LtGray, DkGray, White (any case).
  The installed face is fontconfig's choice (as fc-match); its answers are kept in
  $XDG_CACHE_HOME/ribbonkit (else ~/.cache/ribbonkit) until a font or the font
  configuration changes.
)"},
    {ControlGroup, R"(Control options (control):
  --width W, --height H       outer size of the control in pixels (default 185 x 41)
  --orientation O             left-right (default), right-left, top-bottom or bottom-top
  --alignment A               left, right or center (default): where the symbol sits along
                              the control
  --bar-height N              bar height in pixels; 0 (default) fills the control
  --modul N                   1 to 49 pixels, the range the control accepts (default 1)
  --hmargin N, --auto-width   with --auto-width the control sizes itself along the symbol
                              to the symbol, its frame and N pixels on each end
  --bevel-inner B, --bevel-outer B
                              none, lowered, raised or space (defaults none and raised)
  --bevel-width N             width of each bevel (default 1)
  --border-width N            space between the bevels in the control's colour (default 0)
  --border-style S            none (default) or single: a window edge, flat (2 pixels over
                              both sides) or, with --ctl3d, sunken (4 pixels)
  --ctl3d                     the 3D window edge (a control from a form keeps its own)
  --color C                   the control's colour (default the button face, #F0F0F0)
  --text, --text-position, --bar-color, --space-color, --text-background, --font,
  --font-size, --font-color, --bold, --italic, --underline, --strikeout
                              as for render; the text background is the control's TextColor
)"},
    {PrintingGroup, R"(Printing options (print, measure --units):
  --units U             mm or inch: the unit of --modul, --left, --top and --height
  --modul M             width of a narrow element in the unit (0.33 mm = 8 pixels at 600 dpi)
  --left L, --top T     top-left corner of the upright box around the turned symbol
  --height H            bar height in the unit (measure: default 50)
  --dpi H[xV]           printer resolution in dots per inch, horizontal x vertical
                        (default 600; e.g. 300, 600x1200)
  --paper P             a4 (default), letter, or WIDTHxHEIGHTmm for label stock (100x50mm)
  --data-file F         the data, one symbol a line; empty and blank lines are skipped
  The drawing options of render apply as well; --background fills the page.
)"},
    {JsonGroup, R"(JSON strings escape bytes outside printable ASCII as \u00XX (the byte's value).
)"},
    {ExitGroup, R"(Exit status:
  0    done
  1    refused data or a failed job: the engine refused the input, a file could not be
       written, or (labels) a record was refused; the message is on stderr as
       "ribbon: <message>"
  2    a mistake in the command line
  130  interrupted (Ctrl-C)
)"},
};

struct CommandText {
    std::string_view Name;
    std::string_view Usage;
    std::string_view About;
    unsigned Groups;  // the option groups that go with the command
};

constexpr CommandText Commands[] = {
    {"types", R"(  ribbon types   [--edition desktop|web]
)",
     R"(  types     One line per symbology: ordinal, identifier, display name, and "numeric" when the
            symbology accepts the digits 0-9 only ("any" otherwise). Tab-separated.
)",
     ExitGroup},
    {"encode",
     R"(  ribbon encode  --type T (--data D | --data-hex HEX) [--modul N] [--ratio R] [--checksum]
                 [--edition desktop|web] [--strict]
)",
     R"(  encode    Encode the data and print one JSON object:
              {"type": <ordinal>, "pattern": "...", "text": "...", "widths": [w0, w1, w2, w3],
               "width": W}
            pattern  one character per element: "0"-"3" spaces, "5"-"8" bars, "A"-"D" short
                     bars; the rank within each group names the width class w0..w3
            text     the human-readable text a drawing would show
            widths   the pixel widths of the four width classes
            width    the length of the symbol in pixels
)",
     SymbolGroup | StrictGroup | JsonGroup | ExitGroup},
    {"measure",
     R"(  ribbon measure --type T (--data D | --data-hex HEX) [--modul N] [--ratio R] [--checksum]
                 [--height H] [--angle A] [--edition desktop|web]
  ribbon measure --type T (--data D | --data-hex HEX) --units mm|inch --modul M [--ratio R]
                 [--checksum] [--height H] [--angle A] [--dpi H[xV]]
)",
     R"(  measure   Measure the symbol and print one JSON object:
              {"width": W, "canvasWidth": CW, "canvasHeight": CH}
            canvasWidth/canvasHeight are the extents of the symbol box (W x height) turned by
            the angle; the width pairs W with the sine, the height pairs W with the cosine, so
            at angle 0 canvasWidth is about the bar height and canvasHeight the symbol length.
            With --units the symbol is measured on the printer instead (see print):
              {"width": 42.0, "canvasWidth": 20.0, "canvasHeight": 42.0}
            in whole millimetres or inches (halves to even); the height is converted with the
            horizontal resolution for both canvas measures. --units given as a number other
            than 0 (mm) or 1 (inch) answers -1.0 for all three.
)",
     SymbolGroup | MeasureGroup | PrintingGroup | JsonGroup | ExitGroup},
    {"render",
     R"(  ribbon render  --type T (--data D | --data-hex HEX) (--out FILE | --out - --format F)
                 [drawing options] [--edition desktop|web] [--strict]
)",
     R"(  render    Draw the symbol into a picture file: PNG, JPEG, BMP, SVG or PDF by the extension
            of FILE (.png, .jpg/.jpeg, .bmp, .svg, .pdf). SVG and PDF hold the same picture as
            vectors at 96 pixels per inch, laid out exactly like the PNG. Prints {"out": FILE,
            "width": ..., "height": ..., "left": ..., "top": ...}: the picture's size and where
            the symbol was placed. With --out - the picture in the --format goes to standard
            output instead, and nothing else does.
            By default the picture is just large enough for the turned symbol with a quiet
            zone of 10 modules around it, on white, so that the file scans as it is.
)",
     SymbolGroup | StrictGroup | PictureGroup | DrawingGroup | JsonGroup | ExitGroup},
    {"control", R"(  ribbon control --out FILE [--form FILE.dfm [--name NAME]] [control options]
                 [--type T (--data D | --data-hex HEX) [--modul N] [--ratio R] [--checksum]]
                 [--strict]
  ribbon control --list-properties
)",
     R"(  control   Paint a barcode control (TBarCode) at its size, frame included, into a PNG, JPEG
            or BMP file, so that you can see what the control shows. The control comes from
            a form file (--form; --name picks a control, default the first) or from the
            options, which also change a control read from a form. A TDBBarcode of the form
            bound to a TTableSource shows the field of the record the file names (the SQLite
            file is opened read-only, a relative name from the form's folder); unbound, it
            shows its BarCode. Prints {"out": FILE, "left": x, "top": y, "barHeight": H,
            "angle": A, "width": W, "height": H}: where the control placed the symbol in its
            client area, and its final outer size. --list-properties prints the properties a
            form file may give, as a Markdown table: the objects that have each, its values,
            its default and when it is written.
)",
     SymbolGroup | StrictGroup | DrawingGroup | ControlGroup | JsonGroup | ExitGroup},
    {"print",
     R"(  ribbon print   --type T (--data D ... | --data-hex HEX | --data-file F) --units mm|inch
                 --modul M --left L --top T --height H [--ratio R] [--checksum]
                 [--dpi H[xV]] [--paper a4|letter|WxHmm] [drawing options] [--strict]
                 --out FILE.pdf
)",
     R"(  print     Print the symbol on PDF pages whose size is the paper's, in millimetres or
            inches: one symbol a page, for every --data given (or every line of the --data-file
            that holds more than white space). The lengths are turned into printer pixels with the resolution
            (--modul and --left horizontally, --top and --height vertically, rounded halves to
            even); one printer pixel is exactly 1/dpi inch on the page, the bars are vectors
            and the text is real text at its point size. Prints {"out": FILE, "pages": N,
            "dpi": [H, V], "pageWidth": ..., "pageHeight": ...} (the page in printer pixels).
            The file appears only when it is complete: any error leaves nothing under its name.
            Every page is measured first: a --modul or --height not above 0 (or under one
            printer dot), or a symbol that does not lie on the paper, is refused (exit status
            2) naming how far it reaches beyond which edge; a refused line of --data-file is
            named FILE:LINE. A module outside the symbology's standard range once rounded to
            printer dots (EAN/UPC: 0.264..0.660 mm) gives a warning on stderr.
)",
     SymbolGroup | StrictGroup | DrawingGroup | PrintingGroup | JsonGroup | ExitGroup},
    {"labels",
     R"(  ribbon labels  --db FILE --query SQL [--param V ...] --column NAME [--name-column NAME]
                 --type T [--modul N] [--ratio R] [--checksum] [--height H] [--left X] [--top Y]
                 [--size WxH] [drawing options] [--jobs N] [--strict]
                 (--out-dir DIR [--format png|svg] | --out FILE.pdf [--grid CxR] [--paper P]
                 [--dpi N])
)",
     R"(  labels    One barcode per record of an SQLite query: the value of --column is the data.
            The query only reads (anything else is refused) and takes its values as
            parameters, --param once for ?1, ?2, ... in order (as many --param values as the query has
            parameters, or the command is refused with exit status 2). With --out-dir every label is
            a file in that folder (created when missing) named by --name-column (default
            --column) plus .png or .svg; a name that is empty, holds '/', starts with '.' or
            was taken by an earlier record that is written refuses its record (a refused
            record takes no name). With --out the labels are the
            pages of one PDF printed at --dpi pixels per inch (default 96, so pixel sizes
            mean what they mean in PNG files): one label a page the size of the largest label
            (or of --paper, label centred), or a grid of --grid COLUMNSxROWS labels a page,
            each centred in its cell, on --paper (default a4). Drawing is as for render.
            Progress goes to stderr (a bar on a terminal, a line every tenth otherwise), then
            every record whose bars carry other data than it holds as "<key>: warning:
            <message>", every refused record as "<key>: <message>" (the key is the
            --name-column value) and a summary; stdout gets {"records": N, "written": W,
            "refused": R, "warnings": N, ["pages": P,]
            "out": ..., "seconds": S}. Exit status 1 when a record was refused. Files are
            drawn on all cores (--jobs N threads) while a thread of its own reads the query
            and another writes the files; memory stays the same however many records. Files
            appear complete or not at all: Ctrl-C stops between records (exit status 130),
            leaving only complete files and, for a PDF, no file at all.
)",
     SymbolGroup | StrictGroup | PictureGroup | DrawingGroup | JsonGroup | ExitGroup},
};

std::string WithGroups(std::string text, unsigned groups) {
    for (const auto& [group, groupText] : Groups)
        if (groups & group) (text += '\n') += groupText;
    return text;
}

}  // namespace

std::string FullHelp() {
    std::string text(Title);
    text += "\nUsage:\n";
    for (const CommandText& c : Commands) text += c.Usage;
    text += ToolUsage;
    text += "\nCommands:\n";
    for (const CommandText& c : Commands) (text += c.About) += '\n';
    text.pop_back();  // the blank line before the first group comes with the group
    return WithGroups(std::move(text), ~0u);
}

std::optional<std::string> CommandHelp(std::string_view command) {
    for (const CommandText& c : Commands)
        if (c.Name == command)
            return WithGroups("Usage:\n" + std::string(c.Usage) + '\n' + std::string(c.About),
                              c.Groups);
    return std::nullopt;
}

}  // namespace ribbon::cli
