#pragma once
// The message a call raises, for tests that compare what the user would read.

#include <functional>
#include <string>

#include "base/Exceptions.h"

namespace ribbon::test {

// The message of the ribbon::Exception that fn raises, or none when it raises nothing.
inline std::string ErrorOf(const std::function<void()>& fn,
                           const std::string& none = "<no error>") {
    try {
        fn();
    } catch (const Exception& e) {
        return e.Message;
    }
    return none;
}

}  // namespace ribbon::test
