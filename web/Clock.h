#pragma once
// The time source of the framework. Session timeouts and the picture cache sweep read the time
// only through a Clock, so tests can move time forward without waiting.

#include <chrono>
#include <memory>

namespace ribbon::web {

using TimePoint = std::chrono::system_clock::time_point;

class Clock {
  public:
    virtual ~Clock() = default;
    virtual TimePoint Now() const = 0;
};

// The wall clock; file time stamps are compared against it.
std::shared_ptr<Clock> SystemClock();

}  // namespace ribbon::web
