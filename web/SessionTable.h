#pragma once
// The live sessions of a server controller: their lifetime, the lock that lets one request at a
// time use a session, and the sweep that ends idle ones.

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "web/Clock.h"
#include "web/Session.h"

namespace ribbon::web {

class TSessionTable {
  public:
    explicit TSessionTable(Clock& clock) : clock_(clock) {}

    // A session taken out of the table for one request; it goes back (its last access renewed)
    // however the request ends.
    class Lease {
      public:
        Lease(TSessionTable& table, std::unique_ptr<TIWApplication> session)
            : table_(table), session_(std::move(session)) {}
        ~Lease() {
            if (session_) table_.Return(std::move(session_));
        }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        TIWApplication& operator*() { return *session_; }

      private:
        TSessionTable& table_;
        std::unique_ptr<TIWApplication> session_;
    };

    // The session with this id, taken out of the table; null when there is none or it has
    // ended. While another request has it, waits for it and raises ribbon::Exception when it
    // does not come back in time.
    std::unique_ptr<TIWApplication> Take(const std::string& id);
    // Puts a taken session back; one that ended meanwhile is freed instead.
    void Return(std::unique_ptr<TIWApplication> session);
    // Gives session a fresh id and reserves its place, taken, as if by Take. False when
    // maxSessions are live already.
    bool Add(TIWApplication& session, std::size_t maxSessions);

    // Ends every idle session whose last access is at or before limit; returns how many ended.
    int Sweep(TimePoint limit);
    // Ends every idle session now and every taken one when it comes back; Closed() turns true.
    void Close();
    bool Closed() const;
    std::size_t Count() const;

  private:
    struct Slot {
        std::unique_ptr<TIWApplication> Session;  // null while a request has it
        bool Ended = false;
    };

    Clock& clock_;
    mutable std::mutex mutex_;
    std::condition_variable returned_;
    std::unordered_map<std::string, Slot> sessions_;
    bool closed_ = false;
};

}  // namespace ribbon::web
