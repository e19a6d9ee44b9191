// The per-thread store of composed text runs.

#include "graphics/TextRuns.h"

#include <algorithm>
#include <functional>

namespace ribbon::detail {

std::size_t TTextRunKey::Hash() const {
    std::size_t h = std::hash<std::string_view>()(Text);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2); };
    mix(reinterpret_cast<std::uintptr_t>(Face));
    for (int v : {EmPixels, WidthPixels, Ascent, Descent, Escapement, Orientation, Flags, X, Y,
                  SurfaceWidth, SurfaceHeight})
        mix(static_cast<unsigned>(v));
    mix((static_cast<std::size_t>(Ink) << 32) | Back);
    return h;
}

TTextRunCache& TTextRunCache::ForThread() {
    thread_local TTextRunCache cache;
    return cache;
}

const TTextRun* TTextRunCache::Find(const TTextRunKey& Key, std::size_t& Hash) {
    // The same label again, as on every picture of a preview: found without hashing.
    if (last_ && last_->Key == Key) {
        last_->Used = ++clock_;
        Hash = last_->Hash;
        return &last_->Run;
    }
    Hash = Key.Hash();
    for (auto& e : entries_)
        if (e->Hash == Hash && e->Key == Key) {
            e->Used = ++clock_;
            last_ = e.get();
            return &e->Run;
        }
    return nullptr;
}

const TTextRun& TTextRunCache::Add(const TTextRunKey& Key, std::size_t Hash,
                                   std::shared_ptr<TFontFace> FaceOwner, TTextRun Run) {
    if (Run.Bytes() > MaxRunBytes) Run = TTextRun{};  // kept as one not to keep
    const std::size_t bytes = Run.Bytes();
    while (!entries_.empty() && (entries_.size() >= MaxRuns || bytes_ + bytes > MaxBytes)) {
        auto oldest =
            std::min_element(entries_.begin(), entries_.end(),
                             [](const auto& a, const auto& b) { return a->Used < b->Used; });
        bytes_ -= (*oldest)->Run.Bytes();
        if (oldest->get() == last_) last_ = nullptr;
        entries_.erase(oldest);
    }
    auto e = std::make_unique<Entry>();
    e->Text = std::string(Key.Text);
    e->Key = Key;
    e->Key.Text = e->Text;
    e->Face = std::move(FaceOwner);
    e->Hash = Hash;
    e->Used = ++clock_;
    e->Run = std::move(Run);
    bytes_ += bytes;
    last_ = e.get();
    entries_.push_back(std::move(e));
    return entries_.back()->Run;
}

}  // namespace ribbon::detail
