#pragma once
// The units of libribbonkit in start order, and whether the library is started.

#include "base/Export.h"

namespace ribbon {

// Each unit's own start and stop routines; Initialize and Finalize call them in table order.
namespace ZBarCode {
RIBBON_API void initialization();
RIBBON_API void Finalization();
}  // namespace ZBarCode
namespace pBarCode {
RIBBON_API void initialization();
RIBBON_API void Finalization();
}  // namespace pBarCode
namespace pDBBarcode {
RIBBON_API void initialization();
RIBBON_API void Finalization();
}  // namespace pDBBarcode

// True between the engine unit's start-up and its clean-up: the tables may be read.
bool LibraryStarted();

}  // namespace ribbon
