#pragma once
// Command-line options of the ribbon tool: "--name value" or "--name=value", and bare flags.

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/ZBarCode.h"

namespace ribbon::cli {

// A mistake in the command line itself: reported with exit status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Options {
  public:
    // valueOptions take a value; flags do not. Anything else is a usage error.
    Options(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
            const std::set<std::string>& flags);

    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> Get(const std::string& name) const;
    std::string Required(const std::string& name) const;

    int Int(const std::string& name, int fallback) const;
    double Double(const std::string& name, double fallback) const;

  private:
    std::map<std::string, std::string> values_;
};

// The common inputs of encode, measure and render.
struct SymbolOptions {
    TBarType Type;
    std::string Data;
    int Modul;
    double Ratio;
    TCheckSum CheckSum;
    TEditionRules Rules;  // --edition
};

// Options shared by every command that encodes.
extern const std::set<std::string> SymbolValueOptions;
extern const std::set<std::string> SymbolFlags;

SymbolOptions ReadSymbolOptions(const Options& options);
// The rules of the edition --edition names (desktop by default).
TEditionRules ReadEdition(const Options& options);

// Hexadecimal text ("41420a") to bytes.
std::string DecodeHex(const std::string& hex);

}  // namespace ribbon::cli
