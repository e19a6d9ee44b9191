// types, encode and measure.

#include "cli/Commands.h"

#include <cstdio>
#include <iostream>

#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/Warnings.h"

namespace ribbon::cli {

int RunTypes(const Args& args) {
    const Options options(args, cmdTypes);
    const TEditionRules rules = ReadEdition(options);
    for (int i = 0; i < BarTypeCount; ++i) {
        const auto type = static_cast<TBarType>(i);
        std::cout << i << '\t' << Z_GetBarTypeIdentifier(type) << '\t' << BCData[type].Name << '\t'
                  << (Z_IsNumericOnly(type, rules) ? "numeric" : "any") << '\n';
    }
    return 0;
}

int RunEncode(const Args& args) {
    const Options options(args, cmdEncode);
    SetStrict(options.Has("strict"));
    const SymbolOptions s = ReadSymbolOptions(options);
    const TBarSymbol e = Z_EncodeBar(s.Type, s.Data, s.Modul, s.Ratio, s.CheckSum, s.Rules);
    WarnDataChanges(s.Data, e);
    std::cout << "{\"type\": " << int{s.Type} << ", \"pattern\": " << JsonString(e.Pattern)
              << ", \"text\": " << JsonString(e.Text) << ", \"widths\": [" << e.Widths.Width0
              << ", " << e.Widths.Width1 << ", " << e.Widths.Width2 << ", " << e.Widths.Width3
              << "], \"width\": " << e.Length << "}\n";
    return 0;
}

int RunMeasure(const Args& args) {
    for (const std::string& arg : args)
        if (arg == "--units" || arg.rfind("--units=", 0) == 0) return RunPrintMeasure(args);
    const Options options(args, cmdMeasure);
    const SymbolOptions s = ReadSymbolOptions(options);
    const int height = options.Int("height", 50);
    const double angle = options.Double("angle", 0.0);
    const TBarSymbol e = Z_EncodeBar(s.Type, s.Data, s.Modul, s.Ratio, s.CheckSum, s.Rules);
    const int cw = Z_GetCanvasWidth(e, height, angle);
    const int ch = Z_GetCanvasHeight(e, height, angle);
    std::cout << "{\"width\": " << e.Length << ", \"canvasWidth\": " << cw
              << ", \"canvasHeight\": " << ch << "}\n";
    return 0;
}

}  // namespace ribbon::cli
