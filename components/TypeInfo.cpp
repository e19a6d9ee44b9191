// Type information of the controls, generated from what already describes them: the
// enumeration lists (RIBBON_ENUM) and the property tables of the form files.

#include <vector>

#include "components/FormProperties.h"
#include "components/pDBBarcode.h"

namespace ribbon {
namespace {

const TMemberInfo InvalidCharParams[] = {{"Sender", nullptr}, {"Barcode", &StringTypeInfo()}};

// The published properties of a control class, in the order its form files write them; made
// once per class and kept, as the class's table points into them.
template <typename Class>
std::span<const TMemberInfo> Published(std::string_view ClassName) {
    static const std::vector<TMemberInfo> members = [ClassName] {
        std::vector<TMemberInfo> list;
        for (const TPropertyInfo& p : PropertiesOf(ClassName))
            list.push_back({p.Name, p.Type ? p.Type() : nullptr});
        return list;
    }();
    return members;
}

}  // namespace

RIBBON_ENUM_TYPE_INFO(TOrientation, "pBarCode")
RIBBON_TYPE_INFO(TInvalidChar, TTypeKind::Method, "TInvalidChar", "pBarCode", {}, InvalidCharParams)
RIBBON_TYPE_INFO(TBarCode, TTypeKind::Class, "TBarCode", "pBarCode", {},
                 Published<TBarCode>("TBarCode"), nullptr, nullptr, "TCustomPanel")
RIBBON_TYPE_INFO(TDBBarcode, TTypeKind::Class, "TDBBarcode", "pDBBarcode", {},
                 Published<TDBBarcode>("TDBBarcode"), &TypeInfoOf<TBarCode>())

}  // namespace ribbon
