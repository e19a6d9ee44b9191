#pragma once
// What libribbonkit.so exports. The library is built with hidden visibility, so only the
// declarations carrying RIBBON_API are part of its interface; the list of exported symbols is
// checked in beside the library (library/exports.txt).

#define RIBBON_API __attribute__((visibility("default")))
