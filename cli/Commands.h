#pragma once
// The ribbon tool's subcommands. Each returns the process exit status; engine errors propagate
// as ribbon::Exception and command-line mistakes as UsageError.

#include <string>
#include <vector>

namespace ribbon::cli {

using Args = std::vector<std::string>;

int RunTypes(const Args& args);
int RunEncode(const Args& args);
int RunMeasure(const Args& args);
int RunRender(const Args& args);
int RunControl(const Args& args);
int RunPrint(const Args& args);
// measure with --units: the printer's measures in whole millimetres or inches.
int RunPrintMeasure(const Args& args);

extern const char* const HelpText;

}  // namespace ribbon::cli
