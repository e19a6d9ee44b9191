#pragma once
// The error classes of the class library. Every error carries a finished, user-readable
// Message; callers catch ribbon::Exception to handle any of them.

#include <exception>
#include <string>

#include "../base/Export.h"

namespace ribbon {

class RIBBON_API Exception : public std::exception {
  public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }

    std::string Message;
};

/// Raised by RIBBON_ASSERT: "<message> (<source file>, line <n>)".
class RIBBON_API EAssertionFailed : public Exception {
  public:
    using Exception::Exception;
};

/// Raised by the string-to-number conversions.
class RIBBON_API EConvertError : public Exception {
  public:
    using Exception::Exception;
};

/// Raised when a file cannot be read or written.
class RIBBON_API EFileError : public Exception {
  public:
    using Exception::Exception;
};

/// Raised when a picture cannot be decoded or encoded.
class RIBBON_API EImageError : public Exception {
  public:
    using Exception::Exception;
};

/// A silent exception: it ends an operation without anything being reported.
class RIBBON_API EAbort : public Exception {
  public:
    EAbort() : Exception("Operation aborted") {}
};

/// Throws EAssertionFailed with the runtime's assertion text.
[[noreturn]] RIBBON_API void AssertionFailed(const std::string& message, const char* file,
                                             int line);

}  // namespace ribbon

// An assertion that stays in every build: a failed check raises EAssertionFailed.
#define RIBBON_ASSERT(condition, message)                                           \
    do {                                                                            \
        if (!(condition)) ::ribbon::AssertionFailed((message), __FILE__, __LINE__); \
    } while (false)
