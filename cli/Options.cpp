#include "cli/Options.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "cli/TypeNames.h"

namespace ribbon::cli {

Options::Options(const std::vector<std::string>& args, Command command) : command_(command) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2)
            throw UsageError("unexpected argument '" + arg + "'");
        std::string name = arg.substr(2);
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const OptionDecl* decl = FindOption(name, command);
        if (!decl) throw UsageError("unknown option --" + name);
        std::vector<std::string>& values = values_[name];
        if (decl->Arity != Takes::Values) values.clear();
        if (decl->Arity == Takes::Nothing) {
            if (inlineValue) throw UsageError("option --" + name + " takes no value");
            values.emplace_back();
        } else if (inlineValue) {
            values.push_back(*inlineValue);
        } else {
            if (i + 1 >= args.size()) throw UsageError("option --" + name + " needs a value");
            values.push_back(args[++i]);
        }
    }
}

std::optional<std::string> Options::Get(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second.back();
}

std::vector<std::string> Options::All(const std::string& name) const {
    auto it = values_.find(name);
    return it == values_.end() ? std::vector<std::string>{} : it->second;
}

std::string Options::Required(const std::string& name) const {
    auto value = Get(name);
    if (!value) throw UsageError("option --" + name + " is required");
    return *value;
}

int Options::Int(const std::string& name, int fallback) const {
    auto value = Get(name);
    if (!value) return fallback;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(value->c_str(), &end, 10);
    if (value->empty() || *end != '\0' || errno == ERANGE || v < std::numeric_limits<int>::min() ||
        v > std::numeric_limits<int>::max())
        throw UsageError("option --" + name + ": '" + *value + "' is not a 32-bit integer");
    const OptionDecl* decl = FindOption(name, command_);
    if (decl && decl->Least <= decl->Most && (v < decl->Least || v > decl->Most))
        throw UsageError("option --" + name + ": " + std::to_string(v) + " is outside " +
                         std::to_string(decl->Least) + ".." + std::to_string(decl->Most));
    return static_cast<int>(v);
}

double Options::Double(const std::string& name, double fallback) const {
    auto value = Get(name);
    if (!value) return fallback;
    char* end = nullptr;
    double v = std::strtod(value->c_str(), &end);
    if (value->empty() || *end != '\0')
        throw UsageError("option --" + name + ": '" + *value + "' is not a number");
    return v;
}

std::string DecodeHex(const std::string& hex) {
    auto nibble = [&](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        throw UsageError("option --data-hex: '" + hex + "' is not hexadecimal");
    };
    if (hex.size() % 2 != 0)
        throw UsageError("option --data-hex: '" + hex + "' has an odd number of digits");
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes += static_cast<char>(nibble(hex[i]) * 16 + nibble(hex[i + 1]));
    return bytes;
}

TEditionRules ReadEdition(const Options& options) {
    const std::string edition = options.Get("edition").value_or("desktop");
    if (edition == "desktop") return DesktopRules;
    if (edition == "web") return WebRules;
    throw UsageError("option --edition: '" + edition + "' is neither 'desktop' nor 'web'");
}

SymbolOptions ReadSymbolOptions(const Options& options) {
    SymbolOptions s;
    const std::string typeText = options.Required("type");
    auto type = ParseBarType(typeText);
    if (!type)
        throw UsageError("option --type: unknown symbology '" + typeText +
                         "' (see 'ribbon types')");
    s.Type = *type;
    if (options.Has("data") == options.Has("data-hex"))
        throw UsageError("give exactly one of --data and --data-hex");
    s.Data = options.Has("data") ? *options.Get("data") : DecodeHex(*options.Get("data-hex"));
    s.Modul = options.Int("modul", 1);
    s.Ratio = options.Double("ratio", 2.0);
    s.CheckSum = options.Has("checksum") ? csModulo10 : csNone;
    s.Rules = ReadEdition(options);
    return s;
}

}  // namespace ribbon::cli
