// print and measure --units: the symbol on printer pages in millimetres or inches.

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "cli/Commands.h"
#include "cli/DrawOptions.h"
#include "cli/Interrupt.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/PrintChecks.h"
#include "cli/TypeNames.h"
#include "cli/Warnings.h"
#include "engine/ZBarCode.h"
#include "vector/Printer.h"
#include "vector/VectorFile.h"

namespace ribbon::cli {

namespace {

// "mm", "inch", or a bare ordinal, which the engine treats as pixels (print) or answers with
// -1.0 (measure).
TUnits ReadUnits(const Options& options) {
    const std::string text = Lower(options.Required("units"));
    if (text == "mm" || text == "millimeter" || text == "millimetre") return utMillimeter;
    if (text == "inch" || text == "in") return utInch;
    if (!text.empty() && text.size() <= 3 &&
        text.find_first_not_of("0123456789") == std::string::npos && std::stoi(text) <= 255)
        return static_cast<TUnits>(std::stoi(text));
    throw UsageError("option --units: '" + text + "' is neither mm nor inch");
}

double Length(const Options& options, const std::string& name, std::optional<double> fallback) {
    if (!fallback && !options.Has(name)) options.Required(name);
    const double v = options.Double(name, fallback.value_or(0.0));
    if (!std::isfinite(v)) throw UsageError("option --" + name + ": give a finite length");
    return v;
}

// "W" or "WxH" (or WxHmm) of positive numbers.
bool Pair(const std::string& text, const std::string& suffix, double& a, double& b) {
    std::string t = Lower(text);
    if (!suffix.empty() && t.size() > suffix.size() &&
        t.compare(t.size() - suffix.size(), suffix.size(), suffix) == 0)
        t.resize(t.size() - suffix.size());
    const auto x = t.find('x');
    auto number = [](const std::string& s, double& out) {
        if (s.empty() || s.find_first_not_of("0123456789.") != std::string::npos) return false;
        char* end = nullptr;
        out = std::strtod(s.c_str(), &end);
        return *end == '\0' && out > 0;
    };
    if (x == std::string::npos) return number(t, a) && (b = a, true);
    return number(t.substr(0, x), a) && number(t.substr(x + 1), b);
}

void SetUpPrinter(const Options& options) {
    TPrinter& printer = Printer();
    double h = TPrinter::DefaultDpi, v = TPrinter::DefaultDpi;
    if (auto dpi = options.Get("dpi")) {
        if (!Pair(*dpi, "", h, v) || h != std::floor(h) || v != std::floor(v) ||
            h > TPrinter::MaxDpi || v > TPrinter::MaxDpi)
            throw UsageError("option --dpi: '" + *dpi +
                             "' is not H or HxV in whole dots per inch (1 to " +
                             std::to_string(TPrinter::MaxDpi) + ")");
    }
    printer.SetResolution(static_cast<int>(h), static_cast<int>(v));
    if (auto paper = options.Get("paper")) {
        const std::string p = Lower(*paper);
        double w = 0, l = 0;
        if (p == "a4")
            printer.SetPaper(PaperA4);
        else if (p == "letter")
            printer.SetPaper(PaperLetter);
        else if (p.find('x') != std::string::npos && Pair(p, "mm", w, l) &&
                 w <= TPrinter::MaxPaperMillimetres && l <= TPrinter::MaxPaperMillimetres)
            printer.SetPaper({w, l});
        else
            throw UsageError("option --paper: '" + *paper +
                             "' is not a4, letter or WIDTHxHEIGHTmm (at most 5000 mm a side)");
    }
}

TBarType ReadType(const Options& options) {
    const std::string typeText = options.Required("type");
    auto type = ParseBarType(typeText);
    if (!type)
        throw UsageError("option --type: unknown symbology '" + typeText +
                         "' (see 'ribbon types')");
    return *type;
}

// A module or bar height: a length above 0.
double Size(const Options& options, const std::string& name, TUnits units) {
    const double v = Length(options, name, std::nullopt);
    if (!(v > 0))
        throw UsageError("option --" + name + ": " + InUnits(v, units) +
                         " is not a length above 0");
    return v;
}

std::string LessThanADot(const std::string& name, double v, TUnits units, int direction) {
    return Format("option --%s: %s is less than one printer dot at %d dpi", name, InUnits(v, units),
                  Printer().GetDeviceCaps(direction));
}

// One page: its data, and "FILE:LINE" for a line of --data-file.
struct Page {
    std::string Data;
    std::string Source;
};

// The lines of a data file, one page each; empty lines and lines of white space only are
// skipped.
void ReadDataFile(const std::string& name, std::vector<Page>& pages) {
    std::ifstream in(name, std::ios::binary);
    if (!in) throw Exception(Format("Cannot read the data file \"%s\".", name));
    const std::size_t before = pages.size();
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t\v\f\r") == std::string::npos) continue;
        pages.push_back({line, Format("%s:%d", name, number)});
    }
    if (in.bad()) throw Exception(Format("Cannot read the data file \"%s\".", name));
    if (pages.size() == before) throw Exception(Format("no data in %s", name));
}

std::string Number(double v) {
    return Format("%.1f", v);
}

// A print job as the command line gives it.
struct PrintJob {
    TBarType Type;
    TUnits Units;
    double Modul, Left, Top, Height, Ratio;
    TCheckSum CheckSum;
    DrawingOptions Drawing;
    bool Background;  // the page filled with Drawing.Background
    std::string Out;
    std::vector<Page> Pages;
};

PrintJob ReadPrintJob(const Options& options) {
    PrintJob job;
    // --data may come many times: one symbol a page.
    for (std::string& data : options.All("data")) job.Pages.push_back({std::move(data), ""});
    job.Type = ReadType(options);
    if (auto hex = options.Get("data-hex")) job.Pages.push_back({DecodeHex(*hex), ""});
    job.Units = ReadUnits(options);
    job.Modul = Size(options, "modul", job.Units);
    job.Left = Length(options, "left", std::nullopt);
    job.Top = Length(options, "top", std::nullopt);
    job.Height = Size(options, "height", job.Units);
    job.Ratio = options.Double("ratio", 2.0);
    job.CheckSum = options.Has("checksum") ? csModulo10 : csNone;
    job.Drawing = ReadDrawingOptions(options);
    job.Background = options.Has("background");
    job.Out = options.Required("out");
    if (VectorFormatFromFileName(job.Out) != TVectorFormat::Pdf)
        throw UsageError("option --out: '" + job.Out + "' does not end in .pdf");
    SetUpPrinter(options);
    if (auto name = options.Get("data-file")) ReadDataFile(*name, job.Pages);
    if (job.Pages.empty()) throw UsageError("give --data (one or more), --data-hex or --data-file");
    return job;
}

// Every page is measured before the job begins, so that a refusal leaves no file behind; data
// that the bars carry otherwise, and a module outside the standard, get a warning.
void CheckPages(const PrintJob& job) {
    int modulDots = 0;  // the same on every page
    const std::vector<Page>& pages = job.Pages;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const Page& page = pages[i];
        const std::string where = !page.Source.empty() ? page.Source
                                  : pages.size() > 1   ? Format("page %d", static_cast<int>(i) + 1)
                                                       : std::string();
        TPrnBarBox box;
        try {
            box = Z_PrnBarBox(job.Units, job.Type, page.Data, job.Modul, job.Ratio, job.CheckSum,
                              job.Left, job.Top, job.Height, job.Drawing.Angle);
        } catch (const Exception& e) {
            if (page.Source.empty()) throw;
            throw Exception(page.Source + ": " + e.Message);
        }
        if (box.Modul < 1)
            throw UsageError(LessThanADot("modul", job.Modul, job.Units, LOGPIXELSX));
        if (box.BarHeight < 1)
            throw UsageError(LessThanADot("height", job.Height, job.Units, LOGPIXELSY));
        if (auto off = OffThePaper(box, job.Units))
            throw UsageError((where.empty() ? "" : where + ": ") + *off);
        modulDots = box.Modul;
        const std::string change = DataChangeWarning(
            page.Data, Z_EncodeBar(job.Type, page.Data, 1, job.Ratio, job.CheckSum));
        if (!change.empty()) Warn((where.empty() ? "" : where + ": ") + change);
    }
    if (auto outside =
            ModuleOutsideStandard(job.Type, job.Modul, job.Units, modulDots, job.Drawing.Angle))
        Warn(*outside);
}

// Prints the pages into the PDF: the whole document or none of it. False when interrupted.
bool PrintPages(const PrintJob& job) {
    TPrinter& printer = Printer();
    printer.FileName = job.Out;
    // Ctrl-C stops between two pages and leaves no file.
    InterruptGuard guard;
    printer.BeginDoc();
    const DrawingOptions& d = job.Drawing;
    try {
        for (std::size_t i = 0; i < job.Pages.size(); ++i) {
            if (Interrupted()) {
                printer.Abort();
                std::cerr << "ribbon: interrupted after " << i << " of " << job.Pages.size()
                          << " pages; no PDF was written\n";
                return false;
            }
            if (i > 0) printer.NewPage();
            if (job.Background) {
                printer.Canvas().Brush.SetColor(d.Background);
                printer.Canvas().FillRect({0, 0, printer.PageWidth(), printer.PageHeight()});
            }
            Z_PrintBar(job.Units, job.Type, job.Pages[i].Data, job.Modul, job.Ratio, job.CheckSum,
                       job.Left, job.Top, job.Height, d.Font, d.TextShow, d.TextPosition,
                       d.BarColor, d.SpaceColor, d.TextBackground, d.Angle);
        }
    } catch (...) {
        // Nothing half-printed: the whole document or none of it.
        printer.Abort();
        throw;
    }
    printer.EndDoc();
    return true;
}

}  // namespace

int RunPrint(const Args& args) {
    const Options options(args, cmdPrint);
    SetStrict(options.Has("strict"));
    const PrintJob job = ReadPrintJob(options);
    CheckPages(job);
    if (!PrintPages(job)) return 130;
    const TPrinter& printer = Printer();
    std::cout << "{\"out\": " << JsonString(job.Out) << ", \"pages\": " << job.Pages.size()
              << ", \"dpi\": [" << printer.GetDeviceCaps(LOGPIXELSX) << ", "
              << printer.GetDeviceCaps(LOGPIXELSY) << "], \"pageWidth\": " << printer.PageWidth()
              << ", \"pageHeight\": " << printer.PageHeight() << "}\n";
    return 0;
}

int RunPrintMeasure(const Args& args) {
    const Options options(args, cmdPrintMeasure);
    const TBarType type = ReadType(options);
    if (options.Has("data") == options.Has("data-hex"))
        throw UsageError("give exactly one of --data and --data-hex");
    const std::string data =
        options.Has("data") ? *options.Get("data") : DecodeHex(*options.Get("data-hex"));
    const TUnits units = ReadUnits(options);
    const double modul = Length(options, "modul", std::nullopt);
    const double height = Length(options, "height", 50.0);
    const double angle = options.Double("angle", 0.0);
    const double ratio = options.Double("ratio", 2.0);
    const TCheckSum checkSum = options.Has("checksum") ? csModulo10 : csNone;
    SetUpPrinter(options);
    const double w = Z_GetPrnBarWidth(units, type, data, modul, ratio, checkSum);
    const double cw = Z_PrnCanvasWidth(units, type, data, modul, ratio, checkSum, height, angle);
    const double ch = Z_PrnCanvasHeight(units, type, data, modul, ratio, checkSum, height, angle);
    std::cout << "{\"width\": " << Number(w) << ", \"canvasWidth\": " << Number(cw)
              << ", \"canvasHeight\": " << Number(ch) << "}\n";
    return 0;
}

}  // namespace ribbon::cli
