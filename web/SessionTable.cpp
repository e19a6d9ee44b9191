#include "web/SessionTable.h"

#include <chrono>

#include "base/Exceptions.h"
#include "web/SessionId.h"

namespace ribbon::web {

namespace {
// How long a request waits for another request of the same session to finish.
constexpr std::chrono::seconds BusyWait{30};
}  // namespace

std::unique_ptr<TIWApplication> TSessionTable::Forget(Slots::iterator it) {
    Slot& slot = it->second;
    NoLongerFresh(slot);
    auto client = clients_.find(slot.Client);
    if (client != clients_.end() && --client->second.Live == 0) clients_.erase(client);
    std::unique_ptr<TIWApplication> session = std::move(slot.Session);
    sessions_.erase(it);
    return session;
}

void TSessionTable::NoLongerFresh(Slot& slot) {
    if (!slot.Fresh) return;
    slot.Fresh = false;
    fresh_.erase(slot.Order);
    auto client = clients_.find(slot.Client);
    if (client != clients_.end()) client->second.Fresh.erase(slot.Order);
}

bool TSessionTable::EndOldestIdle(const std::map<std::uint64_t, std::string>& fresh,
                                  std::vector<std::unique_ptr<TIWApplication>>& ended) {
    // A session that a request has is skipped; there are seldom more than a few. Forget
    // changes fresh, so the loop ends with it.
    for (const auto& entry : fresh) {
        auto it = sessions_.find(entry.second);
        if (it != sessions_.end() && it->second.Session) {
            ended.push_back(Forget(it));
            return true;
        }
    }
    return false;
}

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
        if (it == sessions_.end()) {
            ended = std::move(session);
        } else if (it->second.Ended) {
            Forget(it);
            ended = std::move(session);
        } else {
            if (session->Posted) NoLongerFresh(it->second);
            it->second.Session = std::move(session);
        }
    }
    returned_.notify_all();
}

bool TSessionTable::Add(TIWApplication& session, const Limits& limits) {
    std::vector<std::unique_ptr<TIWApplication>> ended;  // freed outside the lock
    std::lock_guard lock(mutex_);
    if (limits.MaxSessions == 0) return false;
    auto client = clients_.find(session.Client);
    if (client != clients_.end() && client->second.Live >= limits.MaxSessionsPerClient) {
        if (!EndOldestIdle(client->second.Fresh, ended)) return false;
    }
    if (sessions_.size() >= limits.MaxSessions && !EndOldestIdle(fresh_, ended)) return false;

    do {
        session.Id = NewSessionId();
    } while (sessions_.count(session.Id) != 0);
    Slot& slot = sessions_[session.Id];
    slot.Order = nextOrder_++;
    slot.Client = session.Client;
    Client& owner = clients_[session.Client];
    ++owner.Live;
    owner.Fresh.emplace(slot.Order, session.Id);
    fresh_.emplace(slot.Order, session.Id);
    return true;
}

int TSessionTable::Sweep(TimePoint limit) {
    std::vector<std::unique_ptr<TIWApplication>> ended;  // freed outside the lock
    {
        std::lock_guard lock(mutex_);
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            // A session in use is out of the table; its request renews it when it ends.
            auto next = std::next(it);
            if (it->second.Session && it->second.Session->LastAccess <= limit)
                ended.push_back(Forget(it));
            it = next;
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
            auto next = std::next(it);
            if (it->second.Session)
                ended.push_back(Forget(it));
            else
                it->second.Ended = true;
            it = next;
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
