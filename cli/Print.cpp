// print and measure --units: the symbol on printer pages in millimetres or inches.

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>

#include "cli/Commands.h"
#include "cli/DrawOptions.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/TypeNames.h"
#include "engine/ZBarCode.h"
#include "runtime/Exceptions.h"
#include "runtime/Format.h"
#include "runtime/Printer.h"
#include "runtime/VectorFile.h"

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

std::string Number(double v) {
    return Format("%.1f", v);
}

}  // namespace

int RunPrint(const Args& given) {
    // --data may come many times: one symbol a page.
    std::vector<std::string> data;
    Args args;
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (given[i] == "--data" && i + 1 < given.size())
            data.push_back(given[++i]);
        else if (given[i].rfind("--data=", 0) == 0)
            data.push_back(given[i].substr(7));
        else
            args.push_back(given[i]);
    }
    auto valueOptions = DrawingValueOptions;
    valueOptions.insert({"type", "data-hex", "data-file", "units", "modul", "ratio", "left", "top",
                         "height", "dpi", "paper", "out"});
    auto flags = DrawingFlags;
    flags.insert("checksum");
    const Options options(args, valueOptions, flags);

    const TBarType type = ReadType(options);
    if (auto hex = options.Get("data-hex")) data.push_back(DecodeHex(*hex));
    if (auto name = options.Get("data-file")) {
        std::ifstream in(*name, std::ios::binary);
        if (!in) throw Exception(Format("Cannot read the data file \"%s\".", *name));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) data.push_back(line);
        }
    }
    if (data.empty()) throw UsageError("give --data (one or more), --data-hex or --data-file");

    const TUnits units = ReadUnits(options);
    const double modul = Length(options, "modul", std::nullopt);
    const double left = Length(options, "left", std::nullopt);
    const double top = Length(options, "top", std::nullopt);
    const double height = Length(options, "height", std::nullopt);
    const double ratio = options.Double("ratio", 2.0);
    const TCheckSum checkSum = options.Has("checksum") ? csModulo10 : csNone;
    const DrawingOptions d = ReadDrawingOptions(options);
    const std::string out = options.Required("out");
    if (VectorFormatFromFileName(out) != TVectorFormat::Pdf)
        throw UsageError("option --out: '" + out + "' does not end in .pdf");

    SetUpPrinter(options);
    TPrinter& printer = Printer();
    printer.FileName = out;
    printer.BeginDoc();
    try {
        for (std::size_t i = 0; i < data.size(); ++i) {
            if (i > 0) printer.NewPage();
            if (options.Has("background")) {
                printer.Canvas().Brush.SetColor(d.Background);
                printer.Canvas().FillRect({0, 0, printer.PageWidth(), printer.PageHeight()});
            }
            Z_PrintBar(units, type, data[i], modul, ratio, checkSum, left, top, height, d.Font,
                       d.TextShow, d.TextPosition, d.BarColor, d.SpaceColor, d.TextBackground,
                       d.Angle);
        }
    } catch (...) {
        // Nothing half-printed: the whole document or none of it.
        printer.Abort();
        throw;
    }
    printer.EndDoc();
    std::cout << "{\"out\": " << JsonString(out) << ", \"pages\": " << data.size() << ", \"dpi\": ["
              << printer.GetDeviceCaps(LOGPIXELSX) << ", " << printer.GetDeviceCaps(LOGPIXELSY)
              << "], \"pageWidth\": " << printer.PageWidth()
              << ", \"pageHeight\": " << printer.PageHeight() << "}\n";
    return 0;
}

int RunPrintMeasure(const Args& args) {
    const Options options(
        args, {"type", "data", "data-hex", "units", "modul", "ratio", "height", "angle", "dpi"},
        {"checksum"});
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
