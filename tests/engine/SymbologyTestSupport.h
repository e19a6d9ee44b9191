#pragma once
// Helpers for the symbology tests: encode through the pipeline, read a pattern as modules, and
// write expected Code 128 symbols as the standard's module counts.

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "engine/Encoders.h"
#include "runtime/Exceptions.h"

namespace ribbon::test {

struct Encoded {
    std::string Pattern;
    std::string Text;
    TBarWidths Widths;
};

// As a drawing would call it: the display text starts out as the data.
inline Encoded Encode(TBarType type, const std::string& data, TCheckSum checkSum = csNone,
                      double ratio = 2.0, int modul = 1) {
    Encoded e;
    e.Text = data;
    e.Widths = EncodeBar(type, data, modul, ratio, checkSum, e.Text, e.Pattern);
    return e;
}

// Module counts of consecutive symbol characters, joined and turned into a pattern.
inline std::string FromCounts(std::initializer_list<std::string_view> symbols) {
    std::string counts;
    for (std::string_view s : symbols) counts += s;
    return CountsToPattern(counts);
}

// The symbol as modules: "1" for each pixel of a bar, "0" for each pixel of a space.
inline std::string Modules(const Encoded& e) {
    std::string modules;
    for (char element : e.Pattern) {
        const TBarLine line = GetBarLine(element, e.Widths);
        modules.append(static_cast<std::size_t>(line.Width), line.LineType == white ? '0' : '1');
    }
    return modules;
}

// The message of the ribbon::Exception that f raises, or "(nothing raised)".
inline std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message;
    }
    return "(nothing raised)";
}

}  // namespace ribbon::test
