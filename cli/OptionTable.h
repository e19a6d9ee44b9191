#pragma once
// Every option of the ribbon tool, declared once: its name, whether it takes a value (and may be
// given again), the commands that take it, the range of an integer, and its entry in the help.
// Parsing (Options.h), the range checks and the option groups of the help come from here.

#include <span>
#include <string_view>

namespace ribbon::cli {

// The commands, as bits of a set. measure with --units takes the printer's options: it counts
// as a command of its own.
enum Command : unsigned {
    cmdTypes = 1 << 0,
    cmdEncode = 1 << 1,
    cmdMeasure = 1 << 2,
    cmdPrintMeasure = 1 << 3,
    cmdRender = 1 << 4,
    cmdControl = 1 << 5,
    cmdPrint = 1 << 6,
    cmdLabels = 1 << 7,
};

// The groups of the help, in the order the whole help lists them.
enum HelpGroup : unsigned {
    NoGroup = 0,  // documented with another entry, or in the command's usage only
    SymbolGroup = 1 << 0,
    MeasureGroup = 1 << 1,
    StrictGroup = 1 << 2,
    PictureGroup = 1 << 3,
    DrawingGroup = 1 << 4,
    ControlGroup = 1 << 5,
    PrintingGroup = 1 << 6,
    JsonGroup = 1 << 7,
    ExitGroup = 1 << 8,
};

enum class Takes {
    Nothing,  // a flag
    Value,    // the last value given counts
    Values,   // every value given counts, in order
};

struct OptionDecl {
    std::string_view Name;  // without the dashes
    Takes Arity;
    unsigned Commands;  // the commands that take it; 0 for an entry of the help only
    // The range of an integer, checked when the option is given (none when Least > Most).
    long long Least, Most;
    // Its entry in the help: the group, the label ("--type T"; lines apart by '\n') and the
    // text (lines apart by '\n').
    HelpGroup Group;
    std::string_view Label, Help;
};

// Every declaration, the help's entries in the order of the help.
std::span<const OptionDecl> OptionDecls();

// The declaration of Name for Command; nothing when the command does not take it.
const OptionDecl* FindOption(std::string_view Name, Command Of);

}  // namespace ribbon::cli
