#include "cli/Commands.h"

namespace ribbon::cli {

const char* const HelpText = R"(ribbon - one-dimensional barcodes from the command line

Usage:
  ribbon types   [--edition desktop|web]
  ribbon encode  --type T (--data D | --data-hex HEX) [--modul N] [--ratio R] [--checksum]
                 [--edition desktop|web]
  ribbon measure --type T (--data D | --data-hex HEX) [--modul N] [--ratio R] [--checksum]
                 [--height H] [--angle A] [--edition desktop|web]
  ribbon measure --type T (--data D | --data-hex HEX) --units mm|inch --modul M [--ratio R]
                 [--checksum] [--height H] [--angle A] [--dpi H[xV]]
  ribbon render  --type T (--data D | --data-hex HEX) --out FILE [drawing options]
                 [--edition desktop|web]
  ribbon print   --type T (--data D ... | --data-hex HEX | --data-file F) --units mm|inch
                 --modul M --left L --top T --height H [--ratio R] [--checksum]
                 [--dpi H[xV]] [--paper a4|letter|WxHmm] [drawing options] --out FILE.pdf
  ribbon control --out FILE [--form FILE.dfm [--name NAME]] [control options]
                 [--type T (--data D | --data-hex HEX) [--modul N] [--ratio R] [--checksum]]
  ribbon control --list-properties
  ribbon labels  --db FILE --query SQL [--param V ...] --column NAME [--name-column NAME]
                 --type T [--modul N] [--ratio R] [--checksum] [--height H] [--left X] [--top Y]
                 [--size WxH] [drawing options] [--jobs N]
                 (--out-dir DIR [--format png|svg] | --out FILE.pdf [--grid CxR] [--paper P]
                 [--dpi N])
  ribbon --help

Commands:
  types     One line per symbology: ordinal, identifier, display name, and "numeric" when the
            symbology accepts the digits 0-9 only ("any" otherwise). Tab-separated.
  encode    Encode the data and print one JSON object:
              {"type": <ordinal>, "pattern": "...", "text": "...", "widths": [w0, w1, w2, w3],
               "width": W}
            pattern  one character per element: "0"-"3" spaces, "5"-"8" bars, "A"-"D" short
                     bars; the rank within each group names the width class w0..w3
            text     the human-readable text a drawing would show
            widths   the pixel widths of the four width classes
            width    the length of the symbol in pixels
  measure   Measure the symbol and print one JSON object:
              {"width": W, "canvasWidth": CW, "canvasHeight": CH}
            canvasWidth/canvasHeight are the extents of the symbol box (W x height) turned by
            the angle; the width pairs W with the sine, the height pairs W with the cosine, so
            at angle 0 canvasWidth is about the bar height and canvasHeight the symbol length.
            With --units the symbol is measured on the printer instead (see print):
              {"width": 42.0, "canvasWidth": 20.0, "canvasHeight": 42.0}
            in whole millimetres or inches (halves to even); the height is converted with the
            horizontal resolution for both canvas measures. --units given as a number other
            than 0 (mm) or 1 (inch) answers -1.0 for all three.
  render    Draw the symbol into a picture file: PNG, JPEG, BMP, SVG or PDF by the extension
            of FILE (.png, .jpg/.jpeg, .bmp, .svg, .pdf). SVG and PDF hold the same picture as
            vectors at 96 pixels per inch, laid out exactly like the PNG. Prints {"out": FILE, "width": ..., "height": ...,
            "left": ..., "top": ...}: the picture's size and where the symbol was placed.
            By default the picture is just large enough for the turned symbol with a quiet
            zone of 10 modules around it, on white, so that the file scans as it is.
  control   Paint a barcode control (TBarCode) at its size, frame included, into a PNG, JPEG
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

  print     Print the symbol on PDF pages whose size is the paper's, in millimetres or
            inches: one symbol a page, for every --data given (or every non-empty line of the
            --data-file). The lengths are turned into printer pixels with the resolution
            (--modul and --left horizontally, --top and --height vertically, rounded halves to
            even); one printer pixel is exactly 1/dpi inch on the page, the bars are vectors
            and the text is real text at its point size. Prints {"out": FILE, "pages": N,
            "dpi": [H, V], "pageWidth": ..., "pageHeight": ...} (the page in printer pixels).
            The file appears only when it is complete: any error leaves nothing under its name.

  labels    One barcode per record of an SQLite query: the value of --column is the data.
            The query only reads (anything else is refused) and takes its values as
            parameters, --param once for ?1, ?2, ... in order. With --out-dir every label is
            a file in that folder (created when missing) named by --name-column (default
            --column) plus .png or .svg; a name that is empty, holds '/', starts with '.' or
            was taken by an earlier record refuses its record. With --out the labels are the
            pages of one PDF printed at --dpi pixels per inch (default 96, so pixel sizes
            mean what they mean in PNG files): one label a page the size of the largest label
            (or of --paper, label centred), or a grid of --grid COLUMNSxROWS labels a page,
            each centred in its cell, on --paper (default a4). Drawing is as for render.
            Progress goes to stderr (a bar on a terminal, a line every tenth otherwise), then
            every refused record as "<key>: <message>" (the key is the --name-column value)
            and a summary; stdout gets {"records": N, "written": W, "refused": R, ["pages": P,]
            "out": ..., "seconds": S}. Exit status 1 when a record was refused. Files are
            drawn on all cores (--jobs N threads) and appear complete or not at all: Ctrl-C
            stops between records (exit status 130), leaving only complete files and, for a
            PDF, no file at all.

Options:
  --type T        symbology: its ordinal (0-22), its identifier (bcCode128B), the identifier
                  without "bc" (code128b), or an alias such as ean13, upca, upce, codabar, i25;
                  case does not matter
  --data D        the data, as given
  --data-hex HEX  the data as hexadecimal bytes (e.g. 41420a), for bytes a shell cannot pass
  --modul N       width of a narrow element in pixels (default 1)
  --ratio R       wide-to-narrow ratio (default 2.0; clamped per symbology)
  --checksum      add the optional check character (csModulo10); without it csNone
  --height H      bar height in pixels for measure (default 50)
  --angle A       rotation in degrees, counter-clockwise, for measure (default 0)
  --edition E     desktop (default) or web: the web edition trims blanks and control
                  characters around the data and accepts digits only for Code 128 C / EAN-128 C

Drawing options (render):
  --out FILE            the picture to write (required); an existing file is replaced
  --height H            bar height in pixels before turning (default 50)
  --angle A             rotation in degrees, counter-clockwise (default 0)
  --left X, --top Y     top-left corner of the upright box around the turned symbol
                        (default: 10 modules, the quiet zone)
  --size WxH            picture size in pixels (default: the symbol's box and the quiet zone
                        on every side); with --left and --top the symbol is drawn exactly there
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
  --jpeg-quality Q      JPEG quality 1-100 (default 90)
  --progressive         write a progressive JPEG

Control options (control):
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

  A colour C is #RRGGBB or a name: Black, Maroon, Green, Olive, Navy, Purple, Teal, Gray,
  Silver, Red, Lime, Yellow, Blue, Fuchsia, Aqua, LtGray, DkGray, White (any case).

Printing options (print, measure --units):
  --units U             mm or inch: the unit of --modul, --left, --top and --height
  --modul M             width of a narrow element in the unit (0.33 mm = 8 pixels at 600 dpi)
  --left L, --top T     top-left corner of the upright box around the turned symbol
  --height H            bar height in the unit (measure: default 50)
  --dpi H[xV]           printer resolution in dots per inch, horizontal x vertical
                        (default 600; e.g. 300, 600x1200)
  --paper P             a4 (default), letter, or WIDTHxHEIGHTmm for label stock (100x50mm)
  --data-file F         the data, one symbol a line
  The drawing options of render apply as well; --background fills the page.

JSON strings escape bytes outside printable ASCII as \u00XX (the byte's value).

Exit status: 0 on success; 1 when the engine refuses the input (the message is printed on
stderr as "ribbon: <message>"); 2 for a mistake in the command line.
)";

}  // namespace ribbon::cli
