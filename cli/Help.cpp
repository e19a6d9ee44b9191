// The help texts. Each command's usage, description and option groups are written once; the
// whole help and each command's help are put together from these parts.

#include <algorithm>
#include <string_view>

#include "cli/Commands.h"
#include "cli/OptionTable.h"

namespace ribbon::cli {

namespace {

constexpr std::string_view Title = R"(ribbon - one-dimensional barcodes from the command line
)";

constexpr std::string_view ToolUsage =
    R"(  ribbon help [COMMAND]   this text, or one command's usage and options (also
                          ribbon COMMAND --help, or -h anywhere among its arguments)
  ribbon --version        the version (also -V)
)";

// A group of the help: its heading, the column its entries' texts start at, and what follows
// them. The entries are the options' own (OptionTable.cpp).
struct GroupText {
    HelpGroup Group;
    std::string_view Heading;
    std::size_t Column;
    std::string_view Footer;
};

constexpr GroupText Groups[] = {
    {SymbolGroup, "Options:\n", 18, ""},
    {MeasureGroup, "Measure options (measure):\n", 18, ""},
    {StrictGroup, "Checking the data (encode, render, print, control, labels):\n", 18, ""},
    {PictureGroup, "Picture options (render; labels take --height, --left, --top and --size):\n",
     24, ""},
    {DrawingGroup,
     "Drawing options (render, print, labels; control takes the text's and colours'):\n", 24,
     R"(
  A colour C is #RRGGBB or a name: Black, Maroon, Green, Olive, Navy, Purple, Teal, Gray,
  Silver, Red, Lime, Yellow, Blue, Fuchsia, Aqua, LtGray, DkGray, White (any case).
  The installed face is fontconfig's choice (as fc-match); its answers are kept in
  $XDG_CACHE_HOME/ribbonkit (else ~/.cache/ribbonkit) until a font or the font
  configuration changes.
)"},
    {ControlGroup, "Control options (control):\n", 30, ""},
    {PrintingGroup, "Printing options (print, measure --units):\n", 24,
     "  The drawing options of render apply as well; --background fills the page.\n"},
    {JsonGroup, R"(JSON strings escape bytes outside printable ASCII as \u00XX (the byte's value).
)",
     0, ""},
    {ExitGroup, R"(Exit status:
  0    done
  1    refused data or a failed job: the engine refused the input, a file could not be
       written, or (labels) a record was refused; the message is on stderr as
       "ribbon: <message>"
  2    a mistake in the command line
  130  interrupted (Ctrl-C)
)",
     0, ""},
};

// Each line of Text indented by Indent spaces, but the first.
std::string Hanging(std::string_view Text, std::size_t Indent) {
    std::string out;
    for (std::size_t start = 0; start <= Text.size();) {
        const std::size_t end = std::min(Text.find('\n', start), Text.size());
        if (start > 0) out.append(Indent, ' ');
        (out += Text.substr(start, end - start)) += '\n';
        start = end + 1;
    }
    return out;
}

// The group's entries: each label at two spaces, its text at the column, on the label's last
// line when there is room for it and two spaces.
std::string GroupEntries(const GroupText& g) {
    std::string text;
    for (const OptionDecl& o : OptionDecls()) {
        if (o.Group != g.Group) continue;
        const std::string label = "  " + Hanging(o.Label, 2);
        text += label.substr(0, label.size() - 1);
        const std::size_t last = label.size() - 1 - (label.rfind('\n', label.size() - 2) + 1);
        if (last + 2 <= g.Column)
            text.append(g.Column - last, ' ');
        else
            (text += '\n').append(g.Column, ' ');
        text += Hanging(o.Help, g.Column);
    }
    return text;
}

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
    for (const GroupText& g : Groups)
        if (groups & g.Group) ((((text += '\n') += g.Heading) += GroupEntries(g)) += g.Footer);
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
