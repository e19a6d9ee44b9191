#pragma once
// The ribbon tool's subcommands. Each returns the process exit status; engine errors propagate
// as ribbon::Exception and command-line mistakes as UsageError.

#include <optional>
#include <string>
#include <string_view>
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
int RunLabels(const Args& args);

// The whole help text, and one command's usage, description and options (nothing for a name
// that is no command).
std::string FullHelp();
std::optional<std::string> CommandHelp(std::string_view command);

}  // namespace ribbon::cli
