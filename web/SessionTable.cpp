#include "web/SessionTable.h"

#include <chrono>
#include <vector>

#include "runtime/Exceptions.h"
#include "web/SessionId.h"

namespace ribbon::web {

namespace {
// How long a request waits for another request of the same session to finish.
constexpr std::chrono::seconds BusyWait{30};
}  // namespace

std::unique_ptr<TIWApplication> TSessionTable::Take(const std::string& id) {
    std::unique_lock lock(mutex_);
    const auto deadline = std::chrono::steady_clock::now() + BusyWait;
    for (;;) {
        auto it = sessions_.find(id);
        if (it == sessions_.end() || it->second.Ended) return nullptr;
        if (it->second.Session) return std::move(it->second.Session);
        if (returned_.wait_until(lock, deadline) == std::cv_status::timeout)
            throw Exception("The session is busy with another request. Please try again.");
    }
}

void TSessionTable::Return(std::unique_ptr<TIWApplication> session) {
    std::unique_ptr<TIWApplication> ended;  // freed outside the lock
    {
        std::lock_guard lock(mutex_);
        session->LastAccess = clock_.Now();
        auto it = sessions_.find(session->Id);
        if (it == sessions_.end() || it->second.Ended) {
            if (it != sessions_.end()) sessions_.erase(it);
            ended = std::move(session);
        } else {
            it->second.Session = std::move(session);
        }
    }
    returned_.notify_all();
}

bool TSessionTable::Add(TIWApplication& session, std::size_t maxSessions) {
    std::lock_guard lock(mutex_);
    if (sessions_.size() >= maxSessions) return false;
    do {
        session.Id = NewSessionId();
    } while (sessions_.count(session.Id) != 0);
    sessions_.emplace(session.Id, Slot{});
    return true;
}

int TSessionTable::Sweep(TimePoint limit) {
    std::vector<std::unique_ptr<TIWApplication>> ended;  // freed outside the lock
    {
        std::lock_guard lock(mutex_);
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            // A session in use is out of the table; its request renews it when it ends.
            if (it->second.Session && it->second.Session->LastAccess <= limit) {
                ended.push_back(std::move(it->second.Session));
                it = sessions_.erase(it);
            } else {
                ++it;
            }
        }
    }
    return static_cast<int>(ended.size());
}

void TSessionTable::Close() {
    std::vector<std::unique_ptr<TIWApplication>> ended;  // freed outside the lock
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            if (it->second.Session) {
                ended.push_back(std::move(it->second.Session));
                it = sessions_.erase(it);
            } else {
                it->second.Ended = true;
                ++it;
            }
        }
    }
    returned_.notify_all();
}

bool TSessionTable::Closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

std::size_t TSessionTable::Count() const {
    std::lock_guard lock(mutex_);
    return sessions_.size();
}

}  // namespace ribbon::web
