// Type information of the symbology table's row, of the table and of the printing units.

#include "engine/ZBarCode.h"

namespace ribbon {
namespace {

const TMemberInfo BCdataFields[] = {
    {"Name", &StringTypeInfo()},
    {"NumericOnly", &TypeInfoOf<bool>()},
};
const TTypeInfo BCdataInfo{TTypeKind::Record, "TBCdata", "ZBarCode", {}, BCdataFields};
const TTypeInfo BCDataArrayInfo{
    TTypeKind::Array, "array[TBarType] of TBCdata", "ZBarCode", {}, {}, &TypeInfoOf<TBarType>(),
    &BCdataInfo};

const TTypeInfo UnitsInfo{TTypeKind::Enumeration, "TUnits", "ZBarCode", TUnitsNames};

}  // namespace

template <>
const TTypeInfo& TypeInfoOf<TUnits>() {
    return UnitsInfo;
}
template <>
const TTypeInfo& TypeInfoOf<TBCdata>() {
    return BCdataInfo;
}
template <>
const TTypeInfo& TypeInfoOf<std::remove_const_t<decltype(BCData)>>() {
    return BCDataArrayInfo;
}

}  // namespace ribbon
