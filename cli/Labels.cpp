// labels: one barcode per record of an SQLite query, as picture files in a folder or as the
// pages of one PDF printed through the printer.
//
// The records stream through the run. A thread copies them out of the database (RecordSpool);
// this thread encodes and measures each in turn, which finds the records the symbology refuses,
// and gives each file name to the first record written under it; the drawing threads draw and
// compress the pictures; one thread writes them into the folder (OutputFolder), each file
// appearing under its name only once complete. The queues between the stages are bounded, so
// the memory stays the same however many records there are. The PDF is drawn page by page on
// this thread. A record whose data the symbology refuses is listed with its key and the
// engine's message and the run goes on; an interruption stops between records and leaves no
// partial file (and no PDF at all).

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "cli/Commands.h"
#include "cli/DrawOptions.h"
#include "cli/Interrupt.h"
#include "cli/Json.h"
#include "cli/NameSet.h"
#include "cli/Options.h"
#include "cli/OutputFolder.h"
#include "cli/Progress.h"
#include "cli/RecordSpool.h"
#include "cli/TypeNames.h"
#include "cli/Warnings.h"
#include "cli/WorkQueue.h"
#include "graphics/Bitmap.h"
#include "vector/Printer.h"
#include "vector/VectorFile.h"

namespace ribbon::cli {

namespace {

constexpr int QuietModules = 10;  // as render: a quiet zone unless --left/--top place the symbol
constexpr std::size_t MaxNameBytes = 200;

struct LabelStyle {
    TBarType Type;
    int Modul;
    double Ratio;
    TCheckSum CheckSum;
    TEditionRules Rules;
    int BarHeight;
    std::optional<int> Left, Top;
    std::optional<std::pair<int, int>> Size;
    DrawingOptions Drawing;
};

// One label's encoded symbol, where it goes and how large its picture is, in pixels.
struct LabelLayout {
    TBarSymbol Symbol;
    int Width = 0, Height = 0, Left = 0, Top = 0;
};

// Encodes and measures the label of Data; raises the engine's error for data the symbology
// refuses.
LabelLayout LayOut(const LabelStyle& s, const std::string& Data) {
    LabelLayout l;
    l.Symbol = Z_EncodeBar(s.Type, Data, s.Modul, s.Ratio, s.CheckSum, s.Rules);
    // The upright box around the turned symbol: its width is what the engine calls the canvas
    // height, and the other way round.
    const long long boxWidth = Z_GetCanvasHeight(l.Symbol, s.BarHeight, s.Drawing.Angle);
    const long long boxHeight = Z_GetCanvasWidth(l.Symbol, s.BarHeight, s.Drawing.Angle);
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
    Z_DrawBar(Canvas, l.Symbol, X + l.Left, Y + l.Top, s.BarHeight, s.Drawing.Font,
              s.Drawing.TextShow, s.Drawing.TextPosition, s.Drawing.BarColor, s.Drawing.SpaceColor,
              s.Drawing.TextBackground, s.Drawing.Angle);
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

// What the run found out about the records, listed after it. Only the records with something
// to say are kept, so a run of many good records keeps nothing.
struct Note {
    std::size_t Index;
    std::string Key;
    std::string Text;
    bool Warning;  // else a refusal
};

// What happened to the records; told by several threads.
class Outcome {
  public:
    void Refuse(std::size_t Index, const std::string& Key, std::string Text) {
        Add({Index, Key, std::move(Text), false});
        ++done_;
    }
    // What the bars carry otherwise than the record holds.
    void Warn(std::size_t Index, const std::string& Key, std::string Text) {
        Add({Index, Key, std::move(Text), true});
    }
    void Written() {
        ++written_;
        ++done_;
    }
    std::size_t Done() const { return done_; }
    std::size_t WrittenCount() const { return written_; }

    // Keeps the exception in flight as the run's error (the first one wins).
    void Fail() {
        std::lock_guard guard(lock_);
        if (!fatal_) fatal_ = std::current_exception();
        failed_ = true;
    }
    bool Failed() const { return failed_; }
    void RethrowFailure() const {
        if (fatal_) std::rethrow_exception(fatal_);
    }

    // In the records' order, a record's warning before its refusal.
    std::vector<Note> Notes() {
        std::lock_guard guard(lock_);
        std::stable_sort(notes_.begin(), notes_.end(), [](const Note& a, const Note& b) {
            return a.Index != b.Index ? a.Index < b.Index : a.Warning > b.Warning;
        });
        return notes_;
    }

  private:
    void Add(Note note) {
        std::lock_guard guard(lock_);
        notes_.push_back(std::move(note));
    }

    std::mutex lock_;
    std::vector<Note> notes_;
    std::atomic<std::size_t> done_{0}, written_{0};
    std::exception_ptr fatal_;
    std::atomic<bool> failed_{false};
};

unsigned Workers(const Options& options) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(options.Int("jobs", static_cast<int>(std::min(cores, 16u))));
}

// The layout of record Index, or nothing when the record is refused; tells outcome (when given)
// of the refusal or of data that the bars carry otherwise.
std::optional<LabelLayout> Examine(const LabelStyle& style, const Record& r, std::size_t Index,
                                   Outcome* outcome) {
    std::optional<LabelLayout> layout;
    try {
        layout = LayOut(style, r.Data);
    } catch (const Exception& e) {
        if (outcome) outcome->Refuse(Index, r.Key, e.Message);
        return std::nullopt;
    }
    std::string change = DataChangeWarning(r.Data, layout->Symbol);
    if (change.empty()) return layout;
    if (Strict()) {
        if (outcome) outcome->Refuse(Index, r.Key, change + " (refused by --strict)");
        return std::nullopt;
    }
    if (outcome) outcome->Warn(Index, r.Key, std::move(change));
    return layout;
}

// Shows the progress now and then; the total is known once the records are all copied.
class ProgressReport {
  public:
    ProgressReport(Progress& progress, RecordSpool& spool, const Outcome& outcome)
        : progress_(progress), spool_(spool), outcome_(outcome) {}

    void Tick() {
        if (++ticks_ % 64 != 0) return;  // a record costs a few microseconds: look now and then
        if (!known_) {
            const auto total = spool_.Count();
            if (!total) return;
            progress_.SetTotal(*total);
            known_ = true;
        }
        progress_.Update(outcome_.Done());
    }

  private:
    Progress& progress_;
    RecordSpool& spool_;
    const Outcome& outcome_;
    std::size_t ticks_ = 0;
    bool known_ = false;
};

// A label on its way from this thread to a drawing thread, and a file from there to the writer.
struct DrawJob {
    std::size_t Index = 0;
    std::string Key;
    LabelLayout Layout;
};
struct FileJob {
    std::string Name;
    std::string Bytes;
};

// The stages of writing the labels as files: this thread feeds the records in, the drawing
// threads draw and compress them, and one thread writes them into the folder. Every wait ends
// at once on an error, or when a stage sees the interruption.
class FilePipeline {
  public:
    FilePipeline(const LabelStyle& style, const std::string& dir, bool svg, unsigned workers,
                 Outcome& outcome)
        : style_(style),
          dir_(dir),
          svg_(svg),
          extension_(svg ? ".svg" : ".png"),
          folder_(dir),
          // Enough in flight to keep every stage busy, few enough to keep the memory small; the
          // writer, faster than the drawing, is woken for a few files at a time.
          draws_(16 * workers),
          files_(64, 16),
          drawing_(workers),
          outcome_(outcome) {}

    // This thread: the records in order, each given its file name.
    void Feed(RecordSpool& spool, ProgressReport& progress) {
        try {
            NameSet names([&](std::uint64_t position) { return spool.KeyAt(position); });
            Record r;
            std::uint64_t position = 0;
            bool repeatsKnown = false;
            for (std::size_t i = 0; !outcome_.Failed() && !Interrupted() && spool.Next(r, position);
                 ++i) {
                progress.Tick();
                if (auto problem = FileNameProblem(r.Key)) {
                    outcome_.Refuse(i, r.Key, *problem);
                    continue;
                }
                std::optional<LabelLayout> layout = Examine(style_, r, i, &outcome_);
                if (!layout) continue;
                // A name goes to the first record that is drawn under it; a refused record takes
                // none. While the records are being copied every name is kept; after that only
                // those that may occur again, as no earlier record can have taken the others.
                if (!repeatsKnown) repeatsKnown = spool.RepeatsKnown();
                if ((!repeatsKnown || spool.MayRepeat(r.Key)) && !names.Insert(r.Key, position)) {
                    outcome_.Refuse(i, r.Key, "an earlier record has the same file name");
                    continue;
                }
                if (!draws_.Push({i, std::move(r.Key), std::move(*layout)})) break;
            }
        } catch (...) {
            Fail();
        }
        if (Interrupted())
            Stop();
        else
            draws_.Close();
    }

    // A drawing thread.
    void Draw() {
        try {
            TBitmap bitmap;  // one a thread: a label the size of the last one reuses its pixels
            DrawJob job;
            while (draws_.Pop(job)) {
                if (Interrupted()) {
                    Stop();
                    break;
                }
                try {
                    if (!DrawOne(job, bitmap)) break;
                } catch (const EFileError&) {
                    throw;  // the folder, not the record: the run cannot go on
                } catch (const Exception& e) {
                    outcome_.Refuse(job.Index, job.Key, e.Message);
                }
            }
        } catch (...) {
            Fail();
        }
        if (--drawing_ == 0) files_.Close();
    }

    // The writing thread.
    void Write() {
        try {
            FileJob file;
            while (files_.Pop(file)) {
                if (Interrupted()) {
                    Stop();
                    break;
                }
                folder_.Write(file.Name, file.Bytes);
                outcome_.Written();
            }
        } catch (...) {
            Fail();
        }
    }

  private:
    // An SVG is written here; a PNG goes to the writer. False when the writer stopped.
    bool DrawOne(const DrawJob& job, TBitmap& bitmap) {
        const LabelLayout& l = job.Layout;
        if (svg_) {
            constexpr int ppi = TCanvas::ScreenPixelsPerInch;
            TVectorFile file(dir_ + "/" + job.Key + extension_, TVectorFormat::Svg,
                             {l.Width * 72.0 / ppi, l.Height * 72.0 / ppi, ppi, ppi});
            DrawLabel(file.Canvas(), style_, l, 0, 0);
            file.Commit();
            outcome_.Written();
            return true;
        }
        bitmap.SetSize(l.Width, l.Height);
        DrawLabel(bitmap.Canvas(), style_, l, 0, 0);
        return files_.Push({job.Key + extension_, bitmap.Encode(TImageFormat::Png)});
    }
    void Stop() {
        draws_.Cancel();
        files_.Cancel();
    }
    void Fail() {
        outcome_.Fail();
        Stop();
    }

    const LabelStyle& style_;
    const std::string dir_;
    const bool svg_;
    const std::string extension_;
    OutputFolder folder_;
    WorkQueue<DrawJob> draws_;
    WorkQueue<FileJob> files_;
    std::atomic<unsigned> drawing_;
    Outcome& outcome_;
};

void WriteFiles(RecordSpool& spool, const LabelStyle& style, const std::string& dir, bool svg,
                unsigned workers, Outcome& outcome, ProgressReport& progress) {
    FilePipeline pipeline(style, dir, svg, workers, outcome);
    // A picture's compressor takes a few hundred KB and gives them back; glibc would return them
    // to the kernel after every label (an madvise, then as many page faults for the next one, an
    // eighth of the run). The drawing threads keep them instead.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    std::vector<std::thread> threads;
    threads.emplace_back([&] { pipeline.Write(); });
    for (unsigned t = 0; t < workers; ++t) threads.emplace_back([&] { pipeline.Draw(); });
    pipeline.Feed(spool, progress);
    for (auto& thread : threads) thread.join();
    outcome.RethrowFailure();
}

// The PDF's page: --paper, A4 for a grid, or else the size of the largest label at Dpi, found
// by a first pass over the records (which tells the refused ones). Nothing when interrupted.
std::optional<TPaperSize> PdfPaper(RecordSpool& spool, const LabelStyle& style,
                                   const Options& options, Outcome& outcome, int Dpi) {
    if (options.Has("paper")) return ReadPaper(*options.Get("paper"));
    if (options.Has("grid")) return PaperA4;
    Record r;
    std::uint64_t position = 0;
    int w = 1, h = 1;
    for (std::size_t i = 0; !Interrupted() && spool.Next(r, position); ++i) {
        if (const auto l = Examine(style, r, i, &outcome)) {
            w = std::max(w, l->Width);
            h = std::max(h, l->Height);
        }
    }
    if (Interrupted()) return std::nullopt;
    spool.Rewind();
    return TPaperSize{w * 25.4 / Dpi, h * 25.4 / Dpi};
}

int WritePdf(RecordSpool& spool, const LabelStyle& style, const Options& options, Outcome& outcome,
             ProgressReport& progress) {
    const int dpi = options.Int("dpi", TCanvas::ScreenPixelsPerInch);
    std::pair<int, int> grid{1, 1};
    if (options.Has("grid")) grid = ReadPair(options, "grid", "COLUMNSxROWS (e.g. 3x8)");
    // Without a paper the pages take the largest label's size: a first pass measures every
    // label (and tells the refused ones), the second draws.
    const bool measureFirst = !options.Has("paper") && !options.Has("grid");
    const std::optional<TPaperSize> paper = PdfPaper(spool, style, options, outcome, dpi);
    if (!paper) return 0;

    TPrinter& printer = Printer();
    printer.SetResolution(dpi, dpi);
    printer.SetPaper(*paper);
    const int cellWidth = printer.PageWidth() / grid.first;
    const int cellHeight = printer.PageHeight() / grid.second;
    const int perPage = grid.first * grid.second;
    Record r;
    std::uint64_t position = 0;
    try {
        int cell = 0;
        for (std::size_t i = 0; !Interrupted() && spool.Next(r, position); ++i) {
            progress.Tick();
            // Refusals and warnings are told once, by the first pass.
            const auto l = Examine(style, r, i, measureFirst ? nullptr : &outcome);
            if (!l) continue;
            if (l->Width > cellWidth || l->Height > cellHeight) {
                outcome.Refuse(
                    i, r.Key,
                    Format("the label of %d x %d pixels does not fit a %s of %d x %d pixels",
                           l->Width, l->Height, options.Has("grid") ? "grid cell" : "page",
                           cellWidth, cellHeight));
                continue;
            }
            // The document begins with its first label: nothing to print gives no document
            // rather than an empty one.
            if (!printer.Printing()) {
                printer.FileName = options.Required("out");
                printer.BeginDoc();
            } else if (cell == perPage) {
                printer.NewPage();
                cell = 0;
            }
            // Each label centred in its cell.
            const int x = cell % grid.first * cellWidth + (cellWidth - l->Width) / 2;
            const int y = cell / grid.first * cellHeight + (cellHeight - l->Height) / 2;
            try {
                DrawLabel(printer.Canvas(), style, *l, x, y);
                ++cell;
                outcome.Written();
            } catch (const EFileError&) {
                throw;
            } catch (const Exception& e) {
                outcome.Refuse(i, r.Key, e.Message);
            }
        }
        if (!printer.Printing()) return 0;
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

LabelStyle ReadLabelStyle(const Options& options) {
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
    style.Rules = ReadEdition(options);
    style.BarHeight = options.Int("height", 50);
    if (style.BarHeight < 1)
        throw UsageError("option --height: labels need a bar height of at least 1 pixel");
    if (options.Has("left")) style.Left = options.Int("left", 0);
    if (options.Has("top")) style.Top = options.Int("top", 0);
    if (options.Has("size")) style.Size = ReadPair(options, "size", "WIDTHxHEIGHT in pixels");
    style.Drawing = ReadDrawingOptions(options);
    return style;
}

// Where the labels go: true for one PDF (--out), false for files in a folder (--out-dir), whose
// format goes to Svg.
bool ReadDestination(const Options& options, bool& Svg) {
    const bool toPdf = options.Has("out");
    if (toPdf == options.Has("out-dir"))
        throw UsageError("give exactly one of --out-dir and --out");
    Svg = false;
    if (toPdf) {
        if (VectorFormatFromFileName(*options.Get("out")) != TVectorFormat::Pdf)
            throw UsageError("option --out: labels write one PDF; give a name ending in .pdf");
        if (options.Has("format")) throw UsageError("option --format goes with --out-dir");
        return true;
    }
    const std::string format = Lower(options.Get("format").value_or("png"));
    if (format != "png" && format != "svg")
        throw UsageError("option --format: '" + format + "' is not one of png|svg");
    Svg = format == "svg";
    for (const char* pdfOnly : {"grid", "paper", "dpi"})
        if (options.Has(pdfOnly))
            throw UsageError(std::string("option --") + pdfOnly + " goes with --out FILE.pdf");
    return false;
}

// The notes of the run on stderr, then its summary there and on stdout. The exit status.
int ReportLabels(Outcome& outcome, const Options& options, bool toPdf, int pages,
                 std::size_t records, double seconds) {
    std::size_t refused = 0, warned = 0;
    for (const Note& note : outcome.Notes()) {
        const std::string key =
            note.Key.empty() ? Format("#%d", note.Index + 1) : Printable(note.Key);
        (note.Warning ? warned : refused) += 1;
        std::cerr << key << (note.Warning ? ": warning: " : ": ") << Printable(note.Text) << '\n';
    }
    const std::size_t written = outcome.WrittenCount();
    const double rate = seconds > 0 ? static_cast<double>(written) / seconds : 0;
    if (Interrupted()) {
        std::cerr << "ribbon: interrupted after " << (toPdf ? "drawing " : "writing ") << written
                  << " of " << records << " labels; "
                  << (toPdf ? "no PDF was written" : "every file written is complete") << '\n';
        return 130;
    }
    std::cerr << Format(
        "labels: %d written, %d refused, %d with warnings, %d records in %.1f s (%.0f labels/s)\n",
        written, refused, warned, records, seconds, rate);
    std::cout << "{\"records\": " << records << ", \"written\": " << written
              << ", \"refused\": " << refused << ", \"warnings\": " << warned
              << (toPdf ? ", \"pages\": " + std::to_string(pages) : "")
              << ", \"out\": " << JsonString(toPdf ? *options.Get("out") : *options.Get("out-dir"))
              << ", \"seconds\": " << Format("%.3f", seconds) << "}\n";
    return refused ? 1 : 0;
}

}  // namespace

int RunLabels(const Args& args) {
    const Options options(args, cmdLabels);
    SetStrict(options.Has("strict"));
    const LabelStyle style = ReadLabelStyle(options);
    bool svg = false;
    const bool toPdf = ReadDestination(options, svg);
    const unsigned workers = Workers(options);

    // The query is checked (and a mistake raised) before anything is written.
    RecordSpool spool(options, options.All("param"));
    Outcome outcome;
    InterruptGuard guard;
    Progress progress(std::cerr, isatty(STDERR_FILENO) != 0, 0, "labels");
    ProgressReport report(progress, spool, outcome);
    int pages = 0;
    try {
        if (toPdf)
            pages = WritePdf(spool, style, options, outcome, report);
        else
            WriteFiles(spool, style, *options.Get("out-dir"), svg, workers, outcome, report);
    } catch (...) {
        // The error is told at once, not after the rest of the query was read.
        progress.SetTotal(spool.Count().value_or(outcome.Done()));
        progress.Finish(outcome.Done());  // the error goes on a line of its own
        throw;
    }
    const std::size_t records = spool.WaitForCount();
    progress.SetTotal(records);
    const double seconds = progress.Finish(outcome.Done());
    return ReportLabels(outcome, options, toPdf, pages, records, seconds);
}

}  // namespace ribbon::cli
