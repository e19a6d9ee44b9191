#include "graphics/FaceResolver.h"

#include <algorithm>

#include "base/PathState.h"
#include "graphics/FaceCacheFile.h"

namespace ribbon::detail {

namespace {

// A program asks for a handful of faces; the file stays a few kilobytes.
constexpr std::size_t MaxFaces = 32;

bool Unchanged(const TPathState& Recorded) {
    return StatPath(Recorded.Path) == Recorded;
}

bool SameRequest(const TCachedFace& f, const std::string& Family, bool Bold, bool Italic) {
    return f.Family == Family && f.Bold == Bold && f.Italic == Italic;
}

// Keeps fontconfig's answer, unless a file it rests on changed while fontconfig read it (or
// since): then the recorded state might not be the one fontconfig saw.
void Remember(const std::string& FileName, const std::optional<TFaceCacheData>& Valid,
              TCachedFace Face, const TConfigurationSources& Sources, const std::string& Context) {
    if (Sources.Context != Context) return;  // the environment changed meanwhile
    TFaceCacheData data;
    data.Context = Context;
    for (const std::string& path : Sources.Paths) {
        data.Depends.push_back(StatPath(path));
        if (ChangedSince(data.Depends.back(), Sources.ReadSince)) return;
    }
    Face.FileState = StatPath(Face.Match.File);
    if (!Face.FileState.Exists || ChangedSince(Face.FileState, Sources.ReadSince)) return;
    // The answers already kept still hold if they rest on the same files in the same state.
    if (Valid && Valid->Depends == data.Depends)
        for (const TCachedFace& f : Valid->Faces)
            if (!SameRequest(f, Face.Family, Face.Bold, Face.Italic) && Unchanged(f.FileState))
                data.Faces.push_back(f);
    if (data.Faces.size() >= MaxFaces)
        data.Faces.erase(data.Faces.begin(), data.Faces.end() - (MaxFaces - 1));
    data.Faces.push_back(std::move(Face));
    WriteFaceCache(FileName, data);
}

}  // namespace

std::optional<TResolvedFace> ResolveFace(const std::string& Family, bool Bold, bool Italic,
                                         bool UseCache) {
    const std::string context = FontconfigContext();
    const std::string fileName = FaceCacheFileName(context);
    std::optional<TFaceCacheData> valid;
    if (!fileName.empty()) {
        valid = ReadFaceCache(fileName);
        if (valid && (valid->Context != context ||
                      !std::all_of(valid->Depends.begin(), valid->Depends.end(), Unchanged)))
            valid.reset();
    }
    if (valid && UseCache)
        for (const TCachedFace& f : valid->Faces)
            if (SameRequest(f, Family, Bold, Italic) && Unchanged(f.FileState))
                return TResolvedFace{f.Match, TFaceSource::Cache};

    TResolvedFace resolved;
    TConfigurationSources sources;
    if (!MatchWithFontconfig(Family, Bold, Italic, resolved.Match,
                             fileName.empty() ? nullptr : &sources))
        return std::nullopt;
    if (!fileName.empty())
        Remember(fileName, valid, TCachedFace{Family, Bold, Italic, resolved.Match, {}}, sources,
                 context);
    return resolved;
}

}  // namespace ribbon::detail
