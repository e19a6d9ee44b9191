#pragma once
// Finding a face through fontconfig, in a configuration of our own that is read on first use,
// and the paths that configuration was read from. Internal to the graphics library.

#include <cstdint>
#include <string>
#include <vector>

namespace ribbon::detail {

// A face as fontconfig chose it for a request.
struct TFaceMatch {
    std::string File;
    int Index = 0;
    int Weight = 80;  // fontconfig's scale: 80 regular, 200 bold
    int Slant = 0;    // 0 roman, 100 italic, 110 oblique
    std::string Family, Style;

    bool operator==(const TFaceMatch&) const = default;
};

// What the configuration was read from, for noticing later that it changed.
struct TConfigurationSources {
    // The configuration files and directories, the files and directories they include
    // (present or not), and the font directories (present or not).
    std::vector<std::string> Paths;
    // When the configuration started being read (FileClockNow): a path changed since then may
    // have been read before the change.
    std::int64_t ReadSince = 0;
    std::string Context;  // FontconfigContext() when it was read
};

// Everything besides the configuration's files that fontconfig's choice depends on: its
// version, the environment it reads and the defaults it adds to a request (languages, the
// program's name). Reads no configuration. Empty when the choice cannot be pinned to the files
// (a FONTCONFIG_SYSROOT).
std::string FontconfigContext();

// The face fontconfig chooses for the family at that weight and slant, reading the
// configuration first if needed (again when FontconfigContext() changed since); Sources, when
// given, receives what the configuration was read from. False when no face at all can be found.
bool MatchWithFontconfig(const std::string& Family, bool Bold, bool Italic, TFaceMatch& Out,
                         TConfigurationSources* Sources = nullptr);

// Drops the configuration read so far, so that the next match reads it again (after a change).
void ReloadFontConfiguration();

}  // namespace ribbon::detail
