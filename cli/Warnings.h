#pragma once
// Warnings: what the tool did that the user may not have meant, such as data that the bars
// carry otherwise than typed. Each goes to stderr as one line, "ribbon: warning: ...", and the
// command goes on; with --strict each is an error instead (exit status 1, no file).

#include <string>

#include "engine/ZBarCode.h"

namespace ribbon::cli {

// Set once by a command before it starts any work (and any thread).
void SetStrict(bool Strict);
bool Strict();

// Writes the warning, or raises it as the command's error when strict.
void Warn(const std::string& Text);

// Names what was typed, what the bars carry and what the engine changed; empty when the bars
// carry the data as typed.
std::string DataChangeWarning(const std::string& Typed, const TBarSymbol& Symbol);

// Warn(DataChangeWarning(...)) when there is a change.
void WarnDataChanges(const std::string& Typed, const TBarSymbol& Symbol);

}  // namespace ribbon::cli
