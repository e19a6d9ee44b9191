#pragma once
// The live sessions of a server controller: their lifetime, the lock that lets one request at a
// time use a session, the sweep that ends idle ones, and the limits that keep one client from
// filling the table.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

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
    struct Limits {
        std::size_t MaxSessions = 10000;
        std::size_t MaxSessionsPerClient = 625;  // per session.Client
    };
    // Gives session a fresh id and reserves its place, taken, as if by Take. Room is made by
    // ending a session that never posted: the client's own oldest one when the client holds
    // its share already, the oldest of all when the table is full. False (nothing changed)
    // when there is no such session to end.
    bool Add(TIWApplication& session, const Limits& limits);

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
        bool Fresh = true;  // never posted
        std::uint64_t Order = 0;
        std::string Client;
    };
    using Slots = std::unordered_map<std::string, Slot>;
    // The sessions of one client; Fresh are those that never posted, by Order.
    struct Client {
        std::size_t Live = 0;
        std::map<std::uint64_t, std::string> Fresh;
    };

    // Takes the slot out of every index and the table; returns its session to be freed
    // outside the lock. The lock is held.
    std::unique_ptr<TIWApplication> Forget(Slots::iterator it);
    void NoLongerFresh(Slot& slot);
    // Ends the oldest idle session in fresh (ids by Order); false when there is none.
    bool EndOldestIdle(const std::map<std::uint64_t, std::string>& fresh,
                       std::vector<std::unique_ptr<TIWApplication>>& ended);

    Clock& clock_;
    mutable std::mutex mutex_;
    std::condition_variable returned_;
    Slots sessions_;
    std::unordered_map<std::string, Client> clients_;
    std::map<std::uint64_t, std::string> fresh_;  // every session that never posted, by Order
    std::uint64_t nextOrder_ = 0;
    bool closed_ = false;
};

}  // namespace ribbon::web
