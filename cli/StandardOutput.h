#pragma once
// Bytes to standard output for pipelines, such as a picture for `render --out -`.

#include <string_view>

namespace ribbon::cli {

// Writes every byte to file descriptor 1 as it is. A failed write (a closed pipe, a full disk)
// raises ribbon::Exception with the system's reason instead of ending the process by SIGPIPE.
void WriteStandardOutput(std::string_view Bytes);

}  // namespace ribbon::cli
