#include "cli/PrintChecks.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/Format.h"
#include "cli/ModuleRanges.h"
#include "vector/Printer.h"

namespace ribbon::cli {

namespace {

int DpiX() {
    return Printer().GetDeviceCaps(LOGPIXELSX);
}
int DpiY() {
    return Printer().GetDeviceCaps(LOGPIXELSY);
}

// Dots off the paper in Units, to the precision shown; a dot off never reads as 0.
std::string Distance(long long Dots, int Dpi, TUnits Units) {
    auto shown = [](double v, double step) { return std::max(step, std::round(v / step) * step); };
    if (Units == utMillimeter) return Format("%.1f mm", shown(Dots * 25.4 / Dpi, 0.1));
    if (Units == utInch) return Format("%.2f in", shown(static_cast<double>(Dots) / Dpi, 0.01));
    return Format("%d pixels", Dots);
}

std::string Paper(TUnits Units) {
    const TPaperSize paper = Printer().Paper();
    if (Units == utMillimeter) return Format("%g x %g mm paper", paper.Width, paper.Height);
    if (Units == utInch)
        return Format("%g x %g in paper", std::round(paper.Width / 25.4 * 100) / 100,
                      std::round(paper.Height / 25.4 * 100) / 100);
    return Format("%d x %d pixel page", Printer().PageWidth(), Printer().PageHeight());
}

}  // namespace

std::string InUnits(double Value, TUnits Units) {
    return Format(Units == utMillimeter ? "%g mm" : Units == utInch ? "%g in" : "%g pixels", Value);
}

std::optional<std::string> OffThePaper(const TPrnBarBox& Box, TUnits Units) {
    const long long right = static_cast<long long>(Box.Left) + Box.Width - Printer().PageWidth();
    const long long bottom = static_cast<long long>(Box.Top) + Box.Height - Printer().PageHeight();
    struct Edge {
        long long dots;  // beyond the edge
        int dpi;
        const char* verb;
        const char* edge;
    };
    const Edge edges[] = {{-static_cast<long long>(Box.Left), DpiX(), "starts", "left"},
                          {-static_cast<long long>(Box.Top), DpiY(), "starts", "top"},
                          {right, DpiX(), "ends", "right"},
                          {bottom, DpiY(), "ends", "bottom"}};
    std::string text;
    const char* verb = nullptr;
    for (const Edge& e : edges) {
        if (e.dots <= 0) continue;
        text += text.empty() ? "the symbol " : " and ";
        if (e.verb != verb) text += std::string(e.verb) + " ";
        verb = e.verb;
        text += Distance(e.dots, e.dpi, Units) + " beyond the " + e.edge + " edge";
    }
    if (text.empty()) return std::nullopt;
    return text + " of the " + Paper(Units);
}

std::optional<std::string> ModuleOutsideStandard(TBarType Type, double Modul, TUnits Units,
                                                 int Dots, double Angle) {
    const auto standard = StandardModuleOf(Type);
    if (!standard) return std::nullopt;
    // The module runs along the turned symbol: where the dots are not square, its length on
    // the page depends on the angle.
    const long double theta = Angle / 180.0L * std::numbers::pi_v<long double>;
    const double millimetres = static_cast<double>(
        Dots * 25.4L * std::hypot(std::cos(theta) / DpiX(), std::sin(theta) / DpiY()));
    const ModuleRange range = standard->Range;
    constexpr double slack = 1e-9;
    if (millimetres >= range.LeastMillimetres - slack &&
        millimetres <= range.MostMillimetres + slack)
        return std::nullopt;
    const std::string dpi =
        DpiX() == DpiY() ? Format("%d dpi", DpiX()) : Format("%dx%d dpi", DpiX(), DpiY());
    return Format("the module %s is printed as %d %s = %.3f mm at %s, outside %.3f..%.3f mm for %s",
                  InUnits(Modul, Units), Dots, Dots == 1 ? "dot" : "dots", millimetres, dpi,
                  range.LeastMillimetres, range.MostMillimetres, standard->Name);
}

}  // namespace ribbon::cli
