#include "web/Clock.h"

namespace ribbon::web {

namespace {
class WallClock final : public Clock {
  public:
    TimePoint Now() const override { return std::chrono::system_clock::now(); }
};
}  // namespace

std::shared_ptr<Clock> SystemClock() {
    static const std::shared_ptr<Clock> clock = std::make_shared<WallClock>();
    return clock;
}

}  // namespace ribbon::web
