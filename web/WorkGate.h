#pragma once
// A first-come, first-served limit on how many requests do their heavy work (drawing and
// encoding) at once. With one running request per core the rest wait here, in order, instead of
// being preempted by the scheduler while they hold short locks.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace ribbon::web {

class TWorkGate {
  public:
    // At most width requests inside at once; 0 takes the number of cores.
    explicit TWorkGate(std::size_t width = 0);

    std::size_t Width() const { return width_; }

    // Holds a place inside the gate for its lifetime.
    class Pass {
      public:
        explicit Pass(TWorkGate& gate) : gate_(gate) { gate_.Enter(); }
        ~Pass() { gate_.Leave(); }
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;

      private:
        TWorkGate& gate_;
    };

  private:
    struct Waiter {
        std::condition_variable Ready;
        bool Admitted = false;
    };
    void Enter();
    void Leave();

    std::size_t width_;
    std::mutex mutex_;
    std::size_t inside_ = 0;
    std::deque<Waiter*> line_;  // the waiting requests, first one first
};

}  // namespace ribbon::web
