#include "base/TypeInfo.h"

#include <algorithm>
#include <cctype>

namespace ribbon {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

constexpr TTypeInfo StringInfo{TTypeKind::String, "AnsiString", "System"};
constexpr TTypeInfo ColorInfo{TTypeKind::Integer, "TColor", "Graphics"};

}  // namespace

RIBBON_TYPE_INFO(int, TTypeKind::Integer, "Integer", "System")
RIBBON_TYPE_INFO(double, TTypeKind::Float, "Double", "System")
RIBBON_TYPE_INFO(bool, TTypeKind::Boolean, "Boolean", "System")
const TTypeInfo& StringTypeInfo() {
    return StringInfo;
}
const TTypeInfo& ColorTypeInfo() {
    return ColorInfo;
}

std::string_view EnumName(const TTypeInfo& Type, int Value) {
    if (Value < 0 || static_cast<std::size_t>(Value) >= Type.Values.size()) return {};
    return Type.Values[Value];
}

std::optional<int> EnumValue(const TTypeInfo& Type, std::string_view Name) {
    for (std::size_t i = 0; i < Type.Values.size(); ++i)
        if (SameName(Type.Values[i], Name)) return static_cast<int>(i);
    return std::nullopt;
}

const TMemberInfo* FindMember(const TTypeInfo& Type, std::string_view Name) {
    for (const TMemberInfo& m : Type.Members)
        if (SameName(m.Name, Name)) return &m;
    return nullptr;
}

}  // namespace ribbon
