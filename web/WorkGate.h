#pragma once
// A first-come, first-served limit on how many requests do their heavy work (drawing and
// encoding) at once. With one running request per core the rest wait here, in order, instead of
// being preempted by the scheduler while they hold short locks.
//
// Every place inside the gate (a slot) keeps a bitmap between the requests that pass through
// it, so a request draws into pixels that are already there instead of allocating a picture.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

#include "graphics/Bitmap.h"

namespace ribbon::web {

class TWorkGate {
  public:
    // At most width requests inside at once; 0 takes the number of cores.
    explicit TWorkGate(std::size_t width = 0);

    std::size_t Width() const { return width_; }

    // Holds a place inside the gate for its lifetime.
    class Pass {
      public:
        explicit Pass(TWorkGate& gate);
        ~Pass();
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;

      private:
        friend class TWorkGate;
        TWorkGate& gate_;
        std::size_t slot_;
        Pass* outer_;  // a pass the thread held already (another gate)
    };

    // The bitmap of the slot whose pass the calling thread holds, moved out; an empty bitmap
    // outside a pass or while the slot's bitmap is out.
    static TBitmap TakeBitmap();
    // Keeps bitmap in the calling thread's slot for the next request there; dropped outside a
    // pass or when the slot has one.
    static void ReturnBitmap(TBitmap&& bitmap);

  private:
    struct Waiter {
        std::condition_variable Ready;
        bool Admitted = false;
        std::size_t Slot = 0;  // handed over with the admission
    };
    struct Slot {
        TBitmap Bitmap;  // empty while a request has it
    };
    std::size_t Enter();
    void Leave(std::size_t slot);

    std::size_t width_;
    std::mutex mutex_;
    std::deque<Waiter*> line_;       // the waiting requests, first one first
    std::vector<std::size_t> free_;  // slots nobody holds
    std::vector<Slot> slots_;
};

}  // namespace ribbon::web
