#pragma once
// The engine is built twice from one source: the desktop edition (libribbonkit.so, the ribbon
// tool) and the web edition linked into the Apache module. The web edition trims the data it is
// given and accepts digits only for the Code C types. Each edition lives in its own inline
// namespace so that both can be linked into one program (the ribbon tool offers both); the
// names end in "_edition" so they cannot meet the web framework's namespace ribbon::web.

#if defined(RIBBON_WEB_EDITION) && RIBBON_WEB_EDITION
#define RIBBON_EDITION web_edition
#else
#define RIBBON_EDITION desktop_edition
#endif

namespace ribbon {
inline namespace RIBBON_EDITION {
#if defined(RIBBON_WEB_EDITION) && RIBBON_WEB_EDITION
inline constexpr bool WebEdition = true;
#else
inline constexpr bool WebEdition = false;
#endif
}  // namespace RIBBON_EDITION
}  // namespace ribbon
