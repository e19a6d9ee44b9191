#pragma once
// The face for a request as fontconfig chooses it, answered from the on-disk cache of earlier
// answers while every file that answer rests on is unchanged, else by fontconfig (whose answer
// is then kept for the next process). Reading the whole font configuration costs a process
// several milliseconds; checking the cache, a few stat calls. Internal to the graphics library.

#include <cstdint>
#include <optional>
#include <string>

#include "graphics/FontMatch.h"

namespace ribbon::detail {

enum class TFaceSource : std::uint8_t { Cache, Fontconfig };

struct TResolvedFace {
    TFaceMatch Match;
    TFaceSource Source = TFaceSource::Fontconfig;
};

// Nothing when no face at all can be found. UseCache false asks fontconfig directly (when the
// cached file turned out unreadable); its answer still replaces the cached one.
std::optional<TResolvedFace> ResolveFace(const std::string& Family, bool Bold, bool Italic,
                                         bool UseCache = true);

}  // namespace ribbon::detail
