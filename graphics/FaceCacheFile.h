#pragma once
// The file that keeps fontconfig's earlier answers between processes, with the state of every
// path the answers rest on, so that a later process can check them with a few stat calls
// instead of reading the whole font configuration. Internal to the graphics library.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/PathState.h"
#include "graphics/FontMatch.h"

namespace ribbon::detail {

struct TCachedFace {
    std::string Family;  // as asked for
    bool Bold = false, Italic = false;
    TFaceMatch Match;
    TPathState FileState;  // of Match.File
};

struct TFaceCacheData {
    std::string Context;              // FontconfigContext() of the answers
    std::vector<TPathState> Depends;  // the configuration's sources
    std::vector<TCachedFace> Faces;
};

// Where the answers for that context are kept: under $XDG_CACHE_HOME/ribbonkit, else
// ~/.cache/ribbonkit. Empty when there is no such place or no context.
std::string FaceCacheFileName(const std::string& Context);

std::string EncodeFaceCache(const TFaceCacheData& Data);

// Nothing unless the text is a whole, well-formed cache.
std::optional<TFaceCacheData> DecodeFaceCache(std::string_view Text);

// The cache in the file, when it is there, ours, and well-formed.
std::optional<TFaceCacheData> ReadFaceCache(const std::string& FileName);

// Writes the file atomically, making its directory if needed. False when that cannot be done:
// the answers are then simply not kept.
bool WriteFaceCache(const std::string& FileName, const TFaceCacheData& Data);

}  // namespace ribbon::detail
