#include "cli/Warnings.h"

#include <iostream>

namespace ribbon::cli {

void Warn(const std::string& Text) {
    std::cerr << "ribbon: warning: " << Text << '\n';
}

}  // namespace ribbon::cli
