#pragma once
// Writing a file so that it appears complete or not at all: the bytes go to a hidden temporary
// file in the same directory, which is renamed over the target only once everything was
// written. A failure (or an interruption before the rename) leaves the old file, if any,
// untouched and no partial file under the target's name.

#include <string>
#include <string_view>

namespace ribbon {

// Raises EFileError naming the file and the system's reason.
void WriteFileAtomically(const std::string& FileName, std::string_view Data);

}  // namespace ribbon
