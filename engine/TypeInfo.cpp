// Type information of the symbology table's row, of the table and of the printing units.

#include "engine/ZBarCode.h"

namespace ribbon {
namespace {

const TMemberInfo BCdataFields[] = {
    {"Name", &StringTypeInfo()},
    {"NumericOnly", &TypeInfoOf<bool>()},
};

}  // namespace

RIBBON_ENUM_TYPE_INFO(TUnits, "ZBarCode")
RIBBON_TYPE_INFO(TBCdata, TTypeKind::Record, "TBCdata", "ZBarCode", {}, BCdataFields)
RIBBON_TYPE_INFO(std::remove_const_t<decltype(BCData)>, TTypeKind::Array,
                 "array[TBarType] of TBCdata", "ZBarCode", {}, {}, &TypeInfoOf<TBarType>(),
                 &TypeInfoOf<TBCdata>())

}  // namespace ribbon
