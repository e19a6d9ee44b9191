#pragma once
// Type information: what form files and a designer use to list the values of an enumeration,
// the fields of a record and the published properties of a class, by name. Each table is
// generated from the declaration it describes (see RIBBON_ENUM), never written a second time.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "../base/Export.h"

// Declares the exported type information of Type, in the header that declares Type.
#define RIBBON_DECLARE_TYPE_INFO(Type) \
    template <>                        \
    RIBBON_API const TTypeInfo& TypeInfoOf<Type>()
// Defines the type information of Type: the table whose fields (those of TTypeInfo, in order)
// follow, made once on first use.
#define RIBBON_TYPE_INFO(Type, ...)               \
    template <>                                   \
    const TTypeInfo& TypeInfoOf<Type>() {         \
        static const TTypeInfo info{__VA_ARGS__}; \
        return info;                              \
    }
// Defines the type information of an enumeration declared with RIBBON_ENUM, in unit Unit.
#define RIBBON_ENUM_TYPE_INFO(Type, Unit) \
    RIBBON_TYPE_INFO(Type, TTypeKind::Enumeration, #Type, Unit, Type##Names)

namespace ribbon {

enum class TTypeKind : std::uint8_t {
    Integer,
    Float,
    Boolean,
    String,
    Enumeration,
    Record,
    Array,
    Method,
    Class
};

struct TTypeInfo;

/// A field of a record, a parameter of a method type or a published property of a class.
struct TMemberInfo {
    std::string_view Name;
    const TTypeInfo* Type;
};

struct TTypeInfo {
    TTypeKind Kind;
    std::string_view Name;      // "TBarType", "Integer", "TBarCode"
    std::string_view UnitName;  // "ZBarCode", "pBarCode", ... ("System" for the basic types)
    std::span<const std::string_view> Values{};  // Enumeration: identifiers by ordinal
    std::span<const TMemberInfo> Members{};  // Record fields, Method parameters, Class properties
    const TTypeInfo* Base = nullptr;         // Class: the parent class; Array: the index type
    const TTypeInfo* Element = nullptr;      // Array: the element type
    std::string_view BaseName{};             // Class: the parent's name when it has no table here
};

/// The type information of T; specialised for every type the library describes, declared with
/// RIBBON_DECLARE_TYPE_INFO and defined with RIBBON_TYPE_INFO.
template <typename T>
const TTypeInfo& TypeInfoOf();

/// Basic types the tables refer to.
RIBBON_DECLARE_TYPE_INFO(int);
RIBBON_DECLARE_TYPE_INFO(double);
RIBBON_DECLARE_TYPE_INFO(bool);
RIBBON_API const TTypeInfo& StringTypeInfo();
RIBBON_API const TTypeInfo& ColorTypeInfo();

/// The identifier of an enumeration value ("csModulo10"), or empty for a value outside it.
RIBBON_API std::string_view EnumName(const TTypeInfo& Type, int Value);
/// The value of an identifier, without regard to case, or nullopt.
RIBBON_API std::optional<int> EnumValue(const TTypeInfo& Type, std::string_view Name);
/// The member of that name, without regard to case, or nullptr.
RIBBON_API const TMemberInfo* FindMember(const TTypeInfo& Type, std::string_view Name);

}  // namespace ribbon

// Declares an enumeration and the identifiers of its values from one list:
//   #define RIBBON_TCHECKSUM(V) V(csNone) V(csModulo10)
//   RIBBON_ENUM(TCheckSum, RIBBON_TCHECKSUM)
// gives enum TCheckSum : std::uint8_t { csNone, csModulo10 } and TCheckSumNames, the array of
// their identifiers that the type information points to.
#define RIBBON_ENUM_VALUE(Name) Name,
#define RIBBON_ENUM_NAME(Name) #Name,
#define RIBBON_ENUM(Type, List)                           \
    enum Type : std::uint8_t { List(RIBBON_ENUM_VALUE) }; \
    inline constexpr std::string_view Type##Names[] = {List(RIBBON_ENUM_NAME)}
