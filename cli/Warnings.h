#pragma once
// Warnings of the ribbon tool: a line on stderr, and the command goes on. Every warning passes
// through Warn, so that one place decides where warnings go.

#include <string>

namespace ribbon::cli {

// Writes "ribbon: warning: <Text>" to stderr.
void Warn(const std::string& Text);

}  // namespace ribbon::cli
