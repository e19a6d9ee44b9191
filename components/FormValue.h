#pragma once
// The values of a text form file: identifiers, integers ($ for hexadecimal), real numbers,
// strings ('quoted', a quote doubled inside, #nn for any byte) and sets ([a, b]).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Exceptions.h"

namespace ribbon {

// A mistake in a form file; the message names the line.
class EFormError : public Exception {
  public:
    using Exception::Exception;
};

struct TFormValue {
    enum TKind : std::uint8_t { Identifier, Integer, Real, String, Set };
    TKind Kind = Identifier;
    std::string Text;                  // as written (identifier, number, or the decoded string)
    long long IntegerValue = 0;        // Integer
    double RealValue = 0;              // Integer and Real
    std::vector<std::string> Members;  // Set

    // Parses the text after "Name = "; raises Exception (without a line) when it is none of the
    // kinds above.
    static TFormValue Parse(std::string_view Text);
};

// A string as a form file writes it: printable ASCII in quotes, other bytes as #nn.
std::string QuoteFormString(std::string_view Bytes);

}  // namespace ribbon
