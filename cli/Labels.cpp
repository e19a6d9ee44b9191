// labels: one barcode per record of an SQLite query, as picture files in a folder or as the
// pages of one PDF printed through the printer.
//
// Every label is first measured on every core, which finds the records the symbology refuses;
// then the files are drawn on every core, each appearing under its name only once it is
// complete, or the PDF is drawn page by page. A record whose data the symbology refuses is listed
// with its key and the engine's message and the run goes on; an interruption stops between records
// and leaves no partial file (and no PDF at all).

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "cli/Commands.h"
#include "cli/DrawOptions.h"
#include "cli/EngineApi.h"
#include "cli/Interrupt.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/Progress.h"
#include "cli/TypeNames.h"
#include "cli/Warnings.h"
#include "runtime/AtomicFile.h"
#include "runtime/Bitmap.h"
#include "runtime/DataSet.h"
#include "runtime/Format.h"
#include "runtime/Printer.h"
#include "runtime/VectorFile.h"

namespace ribbon::cli {

namespace {

constexpr int QuietModules = 10;  // as render: a quiet zone unless --left/--top place the symbol
constexpr std::size_t MaxNameBytes = 200;

struct LabelStyle {
    TBarType Type;
    int Modul;
    double Ratio;
    TCheckSum CheckSum;
    const EngineApi* Engine;
    int BarHeight;
    std::optional<int> Left, Top;
    std::optional<std::pair<int, int>> Size;
    DrawingOptions Drawing;
};

// One label's encoded symbol, where it goes and how large its picture is, in pixels.
struct LabelLayout {
    Encoding Symbol;
    int Width = 0, Height = 0, Left = 0, Top = 0;
};

struct Record {
    std::string Key;   // what names the record in messages (and its file)
    std::string Data;  // what the barcode encodes
};

// Encodes and measures the label of Data; raises the engine's error for data the symbology
// refuses.
LabelLayout LayOut(const LabelStyle& s, const std::string& Data) {
    LabelLayout l;
    l.Symbol = s.Engine->Encode(s.Type, Data, s.Modul, s.Ratio, s.CheckSum);
    // The upright box around the turned symbol: its width is what the engine calls the canvas
    // height, and the other way round.
    const long long boxWidth = s.Engine->CanvasHeight(l.Symbol, s.BarHeight, s.Drawing.Angle);
    const long long boxHeight = s.Engine->CanvasWidth(l.Symbol, s.BarHeight, s.Drawing.Angle);
    const long long quiet = static_cast<long long>(QuietModules) * s.Modul;
    l.Left = s.Left.value_or(static_cast<int>(std::min<long long>(quiet, 1 << 30)));
    l.Top = s.Top.value_or(static_cast<int>(std::min<long long>(quiet, 1 << 30)));
    const long long width = s.Size ? s.Size->first : l.Left + boxWidth + quiet;
    const long long height = s.Size ? s.Size->second : l.Top + boxHeight + quiet;
    if (width < 1 || width > TBitmap::MaxSide || height < 1 || height > TBitmap::MaxSide)
        throw Exception(Format("A picture of %d x %d pixels is out of range (1 to %d a side).",
                               width, height, TBitmap::MaxSide));
    l.Width = static_cast<int>(width);
    l.Height = static_cast<int>(height);
    return l;
}

void DrawLabel(TCustomCanvas& Canvas, const LabelStyle& s, const LabelLayout& l, int X, int Y) {
    Canvas.Brush.SetColor(s.Drawing.Background);
    Canvas.FillRect({X, Y, X + l.Width, Y + l.Height});
    s.Engine->Draw(Canvas, l.Symbol, X + l.Left, Y + l.Top, s.BarHeight, s.Drawing.Font,
                   s.Drawing.TextShow, s.Drawing.TextPosition, s.Drawing.BarColor,
                   s.Drawing.SpaceColor, s.Drawing.TextBackground, s.Drawing.Angle);
}

// Why Name cannot name a file in the output folder, or nothing when it can.
std::optional<std::string> FileNameProblem(const std::string& Name) {
    if (Name.empty()) return "an empty value cannot name a file";
    if (Name.find('/') != std::string::npos || Name.find('\0') != std::string::npos)
        return "a file name cannot contain '/' or NUL";
    if (Name.front() == '.') return "a file name here cannot start with '.'";
    if (Name.size() > MaxNameBytes)
        return Format("a file name is limited to %d bytes", static_cast<int>(MaxNameBytes));
    return std::nullopt;
}

// Keys are listed one a line: control characters are shown as \xNN.
std::string Printable(const std::string& Key) {
    std::string out;
    for (unsigned char c : Key) {
        if (c < 0x20 || c == 0x7F)
            out += Format("\\x%02X", static_cast<unsigned>(c));
        else
            out += static_cast<char>(c);
    }
    return out;
}

std::pair<int, int> ReadPair(const Options& options, const std::string& name, const char* hint) {
    const std::string text = *options.Get(name);
    const auto x = Lower(text).find('x');
    auto number = [](const std::string& digits) -> int {
        if (digits.empty() || digits.size() > 6) return -1;
        for (char c : digits)
            if (c < '0' || c > '9') return -1;
        return std::stoi(digits);
    };
    if (x != std::string::npos) {
        const int a = number(text.substr(0, x)), b = number(text.substr(x + 1));
        if (a > 0 && b > 0) return {a, b};
    }
    throw UsageError("option --" + name + ": '" + text + "' is not " + hint);
}

TPaperSize ReadPaper(const std::string& text) {
    const std::string p = Lower(text);
    if (p == "a4") return PaperA4;
    if (p == "letter") return PaperLetter;
    if (p.size() > 2 && p.ends_with("mm")) {
        const auto x = p.find('x');
        char* end = nullptr;
        const double w = std::strtod(p.c_str(), &end);
        if (x != std::string::npos && end == p.c_str() + x) {
            const double h = std::strtod(p.c_str() + x + 1, &end);
            if (end == p.c_str() + p.size() - 2 && w > 0 && h > 0 &&
                w <= TPrinter::MaxPaperMillimetres && h <= TPrinter::MaxPaperMillimetres)
                return {w, h};
        }
    }
    throw UsageError("option --paper: '" + text +
                     "' is not a4, letter or WIDTHxHEIGHTmm (e.g. 100x50mm, up to 5000 mm)");
}

// "1 parameter (?1)", "2 parameters (?1, :sku)", "no parameters": what SQLite counts in the
// query, each by its name or its number.
std::string Parameters(const TStatement& statement) {
    const int count = statement.ParamCount();
    if (count == 0) return "no parameters";
    std::string names;
    for (int i = 1; i <= count; ++i) {
        const std::string name = statement.ParamName(i);
        names += (i > 1 ? ", " : "") + (name.empty() ? "?" + std::to_string(i) : name);
    }
    return Format("%d parameter%s (%s)", count, count == 1 ? "" : "s", names);
}

// The records of the query: the data column and the key column of each.
std::vector<Record> ReadRecords(const Options& options, const std::vector<std::string>& params) {
    auto db = std::make_shared<TDatabase>(options.Required("db"), TOpenMode::ReadOnly);
    db->SetBusyTimeout(5000);
    const std::string sql = options.Required("query");
    // A parameter left unbound would read as NULL and quietly select nothing.
    if (const TStatement statement(*db, sql);
        statement.ParamCount() != static_cast<int>(params.size())) {
        const std::size_t given = params.size();
        throw UsageError("the query has " + Parameters(statement) + " but " +
                         (given == 0   ? std::string("no --param was given")
                          : given == 1 ? std::string("1 --param was given")
                                       : Format("%d --param values were given", given)));
    }
    TDataSet query(db);
    query.SetSQL(sql);
    for (std::size_t i = 0; i < params.size(); ++i)
        query.Params().Set(static_cast<int>(i) + 1, params[i]);
    query.Open();
    const TField& data = query.FieldByName(options.Required("column"));
    const TField& key = query.FieldByName(options.Get("name-column").value_or(data.FieldName()));
    std::vector<Record> records;
    records.reserve(static_cast<std::size_t>(query.RecordCount()));
    for (query.First(); !query.Eof(); query.Next())
        records.push_back({key.AsString(), data.AsString()});
    return records;
}

// What happened to each record; filled by several threads, each record by one.
struct Outcome {
    explicit Outcome(std::size_t count) : refusals(count), warnings(count) {}
    std::vector<std::optional<std::string>> refusals;
    // What the bars carry otherwise than the record holds; a refusal under --strict.
    std::vector<std::optional<std::string>> warnings;
    std::atomic<std::size_t> next{0}, done{0}, written{0};
    std::mutex fatalLock;
    std::exception_ptr fatal;
    std::atomic<bool> stop{false};

    void Fail() {
        std::lock_guard lock(fatalLock);
        if (!fatal) fatal = std::current_exception();
        stop = true;
    }
};

unsigned Workers(const Options& options) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(
        Positive(options, "jobs", static_cast<int>(std::min(cores, 16u)), 64));
}

// Runs Work(index) for every record on the worker threads while this thread shows progress.
template <typename Work>
void RunOnWorkers(unsigned workers, std::size_t count, Outcome& outcome, Progress* progress,
                  Work work) {
    auto loop = [&] {
        while (!outcome.stop && !Interrupted()) {
            const std::size_t i = outcome.next++;
            if (i >= count) return;
            try {
                work(i);
            } catch (...) {
                outcome.Fail();
                return;
            }
            ++outcome.done;
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < workers; ++t) threads.emplace_back(loop);
    while (progress && outcome.done < count && !outcome.stop && !Interrupted()) {
        progress->Update(outcome.done);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (auto& thread : threads) thread.join();
    if (outcome.fatal) std::rethrow_exception(outcome.fatal);
}

// Lays out every label not refused yet, on all cores: the records the symbology refuses are
// known before anything is drawn.
std::vector<LabelLayout> LayOutAll(const std::vector<Record>& records, const LabelStyle& style,
                                   unsigned workers, Outcome& outcome) {
    std::vector<LabelLayout> layouts(records.size());
    Outcome measuring(records.size());
    RunOnWorkers(workers, records.size(), measuring, nullptr, [&](std::size_t i) {
        if (outcome.refusals[i]) return;
        try {
            layouts[i] = LayOut(style, records[i].Data);
        } catch (const Exception& e) {
            outcome.refusals[i] = e.Message;
            return;
        }
        std::string change = DataChangeWarning(records[i].Data, layouts[i].Symbol);
        if (change.empty()) return;
        if (Strict())
            outcome.refusals[i] = change + " (refused by --strict)";
        else
            outcome.warnings[i] = std::move(change);
    });
    return layouts;
}

void WriteFiles(const std::vector<Record>& records, const LabelStyle& style, const std::string& dir,
                bool svg, unsigned workers, Outcome& outcome, Progress& progress) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error || !std::filesystem::is_directory(dir))
        throw EFileError(Format("Cannot create the folder \"%s\". %s", dir,
                                error ? error.message() : std::string("A file has that name.")));
    const std::vector<LabelLayout> layouts = LayOutAll(records, style, workers, outcome);
    if (Interrupted()) return;
    // A name goes to the first record that is drawn under it; a refused record takes none.
    std::set<std::string> taken;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (!outcome.refusals[i] && !taken.insert(records[i].Key).second)
            outcome.refusals[i] = "an earlier record has the same file name";

    const std::string extension = svg ? ".svg" : ".png";
    RunOnWorkers(workers, records.size(), outcome, &progress, [&](std::size_t i) {
        const Record& r = records[i];
        if (outcome.refusals[i]) return;
        const LabelLayout& layout = layouts[i];
        try {
            if (!svg) {
                TBitmap bitmap(layout.Width, layout.Height);
                DrawLabel(bitmap.Canvas(), style, layout, 0, 0);
                const std::string png = bitmap.Encode(TImageFormat::Png);
                WriteFileAtomically(dir + "/" + r.Key + extension, png);
            } else {
                constexpr int ppi = TCanvas::ScreenPixelsPerInch;
                TVectorFile file(dir + "/" + r.Key + extension, TVectorFormat::Svg,
                                 {layout.Width * 72.0 / ppi, layout.Height * 72.0 / ppi, ppi, ppi});
                DrawLabel(file.Canvas(), style, layout, 0, 0);
                file.Commit();
            }
        } catch (const EFileError&) {
            throw;  // the folder, not the record: the run cannot go on
        } catch (const Exception& e) {
            outcome.refusals[i] = e.Message;
            return;
        }
        ++outcome.written;
    });
}

int WritePdf(const std::vector<Record>& records, const LabelStyle& style, const Options& options,
             unsigned workers, Outcome& outcome, Progress& progress) {
    // Every label measured first, on all cores: the refused ones are known before a page is
    // drawn, and without a paper the pages take the largest label's size.
    const std::vector<LabelLayout> layouts = LayOutAll(records, style, workers, outcome);
    if (Interrupted()) return 0;

    const int dpi = Positive(options, "dpi", TCanvas::ScreenPixelsPerInch, TPrinter::MaxDpi);
    std::pair<int, int> grid{1, 1};
    if (options.Has("grid")) grid = ReadPair(options, "grid", "COLUMNSxROWS (e.g. 3x8)");
    TPaperSize paper{0, 0};
    if (options.Has("paper")) {
        paper = ReadPaper(*options.Get("paper"));
    } else if (options.Has("grid")) {
        paper = PaperA4;
    } else {
        int w = 1, h = 1;
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (outcome.refusals[i]) continue;
            w = std::max(w, layouts[i].Width);
            h = std::max(h, layouts[i].Height);
        }
        paper = {w * 25.4 / dpi, h * 25.4 / dpi};
    }

    TPrinter& printer = Printer();
    printer.SetResolution(dpi, dpi);
    printer.SetPaper(paper);
    const int cellWidth = printer.PageWidth() / grid.first;
    const int cellHeight = printer.PageHeight() / grid.second;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!outcome.refusals[i] &&
            (layouts[i].Width > cellWidth || layouts[i].Height > cellHeight))
            outcome.refusals[i] =
                Format("the label of %d x %d pixels does not fit a %s of %d x %d pixels",
                       layouts[i].Width, layouts[i].Height,
                       options.Has("grid") ? "grid cell" : "page", cellWidth, cellHeight);
    }

    // Nothing to print gives no document rather than an empty one.
    if (std::all_of(outcome.refusals.begin(), outcome.refusals.end(),
                    [](const auto& refusal) { return refusal.has_value(); })) {
        outcome.done = records.size();
        return 0;
    }
    printer.FileName = options.Required("out");
    printer.BeginDoc();
    try {
        int cell = 0;
        const int perPage = grid.first * grid.second;
        for (std::size_t i = 0; i < records.size() && !Interrupted(); ++i) {
            if (!outcome.refusals[i]) {
                if (cell == perPage) {
                    printer.NewPage();
                    cell = 0;
                }
                const LabelLayout& l = layouts[i];
                // Each label centred in its cell.
                const int x = cell % grid.first * cellWidth + (cellWidth - l.Width) / 2;
                const int y = cell / grid.first * cellHeight + (cellHeight - l.Height) / 2;
                try {
                    DrawLabel(printer.Canvas(), style, l, x, y);
                    ++cell;
                    ++outcome.written;
                } catch (const EFileError&) {
                    throw;
                } catch (const Exception& e) {
                    outcome.refusals[i] = e.Message;
                }
            }
            outcome.done = i + 1;
            progress.Update(outcome.done);
        }
        if (Interrupted()) {
            printer.Abort();
            return 0;
        }
        const int pages = printer.PageNumber();
        printer.EndDoc();
        return pages;
    } catch (...) {
        if (printer.Printing()) printer.Abort();
        throw;
    }
}

}  // namespace

int RunLabels(const Args& args) {
    // --param may be given several times: the values bound to ?1, ?2, ... in order.
    Args rest;
    std::vector<std::string> params;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--param") {
            if (i + 1 == args.size()) throw UsageError("option --param needs a value");
            params.push_back(args[++i]);
        } else if (args[i].starts_with("--param=")) {
            params.push_back(args[i].substr(8));
        } else {
            rest.push_back(args[i]);
        }
    }
    auto valueOptions = DrawingValueOptions;
    valueOptions.insert({"type", "modul", "ratio", "edition", "db", "query", "column",
                         "name-column", "out-dir", "format", "out", "grid", "paper", "dpi", "left",
                         "top", "height", "size", "jobs"});
    auto flags = DrawingFlags;
    flags.insert(SymbolFlags.begin(), SymbolFlags.end());
    flags.insert("strict");
    const Options options(rest, valueOptions, flags);
    SetStrict(options.Has("strict"));

    LabelStyle style;
    const std::string typeText = options.Required("type");
    const auto type = ParseBarType(typeText);
    if (!type)
        throw UsageError("option --type: unknown symbology '" + typeText +
                         "' (see 'ribbon types')");
    style.Type = *type;
    style.Modul = options.Int("modul", 1);
    if (style.Modul < 1)
        throw UsageError("option --modul: labels need a module of at least 1 pixel");
    style.Ratio = options.Double("ratio", 2.0);
    style.CheckSum = options.Has("checksum") ? csModulo10 : csNone;
    style.Engine = &ReadEdition(options);
    style.BarHeight = options.Int("height", 50);
    if (style.BarHeight < 1)
        throw UsageError("option --height: labels need a bar height of at least 1 pixel");
    if (options.Has("left")) style.Left = options.Int("left", 0);
    if (options.Has("top")) style.Top = options.Int("top", 0);
    if (options.Has("size")) style.Size = ReadPair(options, "size", "WIDTHxHEIGHT in pixels");
    style.Drawing = ReadDrawingOptions(options);

    const bool toPdf = options.Has("out");
    if (toPdf == options.Has("out-dir"))
        throw UsageError("give exactly one of --out-dir and --out");
    bool svg = false;
    if (toPdf) {
        if (VectorFormatFromFileName(*options.Get("out")) != TVectorFormat::Pdf)
            throw UsageError("option --out: labels write one PDF; give a name ending in .pdf");
        if (options.Has("format")) throw UsageError("option --format goes with --out-dir");
    } else {
        const std::string format = Lower(options.Get("format").value_or("png"));
        if (format != "png" && format != "svg")
            throw UsageError("option --format: '" + format + "' is not one of png|svg");
        svg = format == "svg";
        for (const char* pdfOnly : {"grid", "paper", "dpi"})
            if (options.Has(pdfOnly))
                throw UsageError(std::string("option --") + pdfOnly + " goes with --out FILE.pdf");
    }
    const unsigned workers = Workers(options);

    const std::vector<Record> records = ReadRecords(options, params);
    Outcome outcome(records.size());
    if (!toPdf) {
        // A name no file can have refuses its record before anything is drawn.
        for (std::size_t i = 0; i < records.size(); ++i)
            if (auto problem = FileNameProblem(records[i].Key)) outcome.refusals[i] = *problem;
    }

    InterruptGuard guard;
    Progress progress(std::cerr, isatty(STDERR_FILENO) != 0, records.size(), "labels");
    int pages = 0;
    try {
        if (toPdf)
            pages = WritePdf(records, style, options, workers, outcome, progress);
        else
            WriteFiles(records, style, *options.Get("out-dir"), svg, workers, outcome, progress);
    } catch (...) {
        progress.Finish(outcome.done);  // the error goes on a line of its own
        throw;
    }
    const double seconds = progress.Finish(outcome.done);

    std::size_t refused = 0, warned = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string key = records[i].Key.empty() ? Format("#%d", static_cast<int>(i) + 1)
                                                       : Printable(records[i].Key);
        if (outcome.warnings[i]) {
            ++warned;
            std::cerr << key << ": warning: " << Printable(*outcome.warnings[i]) << '\n';
        }
        if (!outcome.refusals[i]) continue;
        ++refused;
        std::cerr << key << ": " << Printable(*outcome.refusals[i]) << '\n';
    }
    const std::size_t written = outcome.written;
    const double rate = seconds > 0 ? static_cast<double>(written) / seconds : 0;
    if (Interrupted()) {
        std::cerr << "ribbon: interrupted after " << (toPdf ? "drawing " : "writing ") << written
                  << " of " << records.size() << " labels; "
                  << (toPdf ? "no PDF was written" : "every file written is complete") << '\n';
        return 130;
    }
    std::cerr << Format(
        "labels: %d written, %d refused, %d with warnings, %d records in %.1f s (%.0f labels/s)\n",
        written, refused, warned, records.size(), seconds, rate);
    std::cout << "{\"records\": " << records.size() << ", \"written\": " << written
              << ", \"refused\": " << refused << ", \"warnings\": " << warned
              << (toPdf ? ", \"pages\": " + std::to_string(pages) : "")
              << ", \"out\": " << JsonString(toPdf ? *options.Get("out") : *options.Get("out-dir"))
              << ", \"seconds\": " << Format("%.3f", seconds) << "}\n";
    return refused ? 1 : 0;
}

}  // namespace ribbon::cli
