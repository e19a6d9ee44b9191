#pragma once
// Command-line options of the ribbon tool: "--name value" or "--name=value", and bare flags.

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/OptionTable.h"
#include "engine/ZBarCode.h"

namespace ribbon::cli {

// A mistake in the command line itself: reported with exit status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Options {
  public:
    // The options of the command, as OptionTable.h declares them; anything else is a usage
    // error.
    Options(const std::vector<std::string>& args, Command command);

    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    // The value given last.
    std::optional<std::string> Get(const std::string& name) const;
    // Every value given, in order.
    std::vector<std::string> All(const std::string& name) const;
    std::string Required(const std::string& name) const;

    // A 32-bit integer, in the declared range when one is declared.
    int Int(const std::string& name, int fallback) const;
    double Double(const std::string& name, double fallback) const;

  private:
    Command command_;
    std::map<std::string, std::vector<std::string>> values_;
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

SymbolOptions ReadSymbolOptions(const Options& options);
// The rules of the edition --edition names (desktop by default).
TEditionRules ReadEdition(const Options& options);

// Hexadecimal text ("41420a") to bytes.
std::string DecodeHex(const std::string& hex);

}  // namespace ribbon::cli
