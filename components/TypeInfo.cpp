// Type information of the controls, generated from what already describes them: the
// enumeration lists (RIBBON_ENUM) and the property tables of the form files.

#include <vector>

#include "components/FormProperties.h"
#include "components/pDBBarcode.h"

namespace ribbon {
namespace {

constexpr TTypeInfo OrientationInfo{TTypeKind::Enumeration, "TOrientation", "pBarCode",
                                    TOrientationNames};

const TMemberInfo InvalidCharParams[] = {{"Sender", nullptr}, {"Barcode", &StringTypeInfo()}};
const TTypeInfo InvalidCharInfo{
    TTypeKind::Method, "TInvalidChar", "pBarCode", {}, InvalidCharParams};

// The published properties of a control class, in the order its form files write them.
std::vector<TMemberInfo> Published(std::string_view ClassName) {
    std::vector<TMemberInfo> members;
    for (const TPropertyInfo& p : PropertiesOf(ClassName))
        members.push_back({p.Name, p.Type ? p.Type() : nullptr});
    return members;
}

}  // namespace

template <>
const TTypeInfo& TypeInfoOf<TOrientation>() {
    return OrientationInfo;
}

template <>
const TTypeInfo& TypeInfoOf<TInvalidChar>() {
    return InvalidCharInfo;
}

template <>
const TTypeInfo& TypeInfoOf<TBarCode>() {
    static const std::vector<TMemberInfo> members = Published("TBarCode");
    static const TTypeInfo info{TTypeKind::Class, "TBarCode", "pBarCode", {},
                                members,          nullptr,    nullptr,    "TCustomPanel"};
    return info;
}

template <>
const TTypeInfo& TypeInfoOf<TDBBarcode>() {
    static const std::vector<TMemberInfo> members = Published("TDBBarcode");
    static const TTypeInfo info{TTypeKind::Class, "TDBBarcode",           "pDBBarcode", {},
                                members,          &TypeInfoOf<TBarCode>()};
    return info;
}

}  // namespace ribbon
