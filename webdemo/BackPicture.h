#pragma once
// The page's background picture ("Back.bmp"), decoded once and shared by every session. The
// file is looked at on every use and decoded again only when it changed, so a removed or
// replaced file behaves as if it were read afresh.

#include <memory>
#include <string>

#include "graphics/Bitmap.h"

namespace ribbon::webdemo {

// The decoded picture of the file at path. A file that cannot be read or decoded raises what
// TBitmap::LoadFromFile raises for it.
std::shared_ptr<const TBitmap> BackPicture(const std::string& path);

}  // namespace ribbon::webdemo
