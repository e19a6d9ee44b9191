#pragma once
// The rules in which the two editions of the engine differ. The desktop edition
// (libribbonkit.so, the ribbon tool, the controls) encodes the data as given; the web edition
// (the Apache module, `ribbon --edition web`) trims it and takes digits only for Code C. Every
// encoding function takes the rules as a value, the desktop rules by default, so one engine
// serves both.

namespace ribbon {

struct TEditionRules {
    /// Blanks and control characters (bytes up to the space) around the data are dropped before
    /// it is checked and encoded; the text shown stays the data as given.
    bool TrimData = false;
    /// Code128C and EAN128C take digits only, and their function pairs "CB", "CA", "F1" are
    /// not pairs of code set C.
    bool DigitsOnlyCodeC = false;

    friend constexpr bool operator==(const TEditionRules&, const TEditionRules&) = default;
};

inline constexpr TEditionRules DesktopRules{};
inline constexpr TEditionRules WebRules{.TrimData = true, .DigitsOnlyCodeC = true};

}  // namespace ribbon
