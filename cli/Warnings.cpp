#include "cli/Warnings.h"

#include <atomic>
#include <iostream>

#include "base/Exceptions.h"
#include "cli/Json.h"

namespace ribbon::cli {

namespace {
std::atomic<bool> strict{false};
}

void SetStrict(bool Strict) {
    strict = Strict;
}

bool Strict() {
    return strict;
}

void Warn(const std::string& Text) {
    if (strict) throw Exception(Text + " (refused by --strict)");
    std::cerr << "ribbon: warning: " << Text << '\n';
}

std::string DataChangeWarning(const std::string& Typed, const TBarSymbol& Symbol) {
    if (Symbol.Changes == 0) return {};
    return JsonString(Typed) + " is encoded as " + JsonString(Symbol.Encoded) + ": " +
           Symbol.Notice;
}

void WarnDataChanges(const std::string& Typed, const TBarSymbol& Symbol) {
    const std::string warning = DataChangeWarning(Typed, Symbol);
    if (!warning.empty()) Warn(warning);
}

}  // namespace ribbon::cli
