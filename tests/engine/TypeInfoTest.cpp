// The type information of the engine's types names what the declarations declare.

#include <gtest/gtest.h>

#include "engine/ZBarCode.h"

namespace ribbon {
namespace {

TEST(TypeInfo, EnumerationsNameEveryValueByOrdinal) {
    struct Case {
        const TTypeInfo& Info;
        std::string_view Name;
        int Count;
        int Value;
        std::string_view Identifier;
    };
    const Case cases[] = {
        {TypeInfoOf<TBarType>(), "TBarType", BarTypeCount, bcCodeEAN13, "bcCodeEAN13"},
        {TypeInfoOf<TCheckSum>(), "TCheckSum", csModulo10 + 1, csModulo10, "csModulo10"},
        {TypeInfoOf<TBarLineType>(), "TBarLineType", black_half + 1, black_half, "black_half"},
        {TypeInfoOf<TTextShow>(), "TTextShow", tsBoth + 1, tsBarType, "tsBarType"},
        {TypeInfoOf<TTextPosition>(), "TTextPosition", tpBottomCenter + 1, tpBottomCenter,
         "tpBottomCenter"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Info.Kind, TTypeKind::Enumeration);
        EXPECT_EQ(c.Info.Name, c.Name);
        ASSERT_EQ(static_cast<int>(c.Info.Values.size()), c.Count);
        EXPECT_EQ(EnumName(c.Info, c.Value), c.Identifier);
        EXPECT_EQ(EnumName(c.Info, c.Count), "");
        for (int v = 0; v < c.Count; ++v) EXPECT_EQ(EnumValue(c.Info, c.Info.Values[v]), v);
    }
    EXPECT_EQ(EnumValue(TypeInfoOf<TCheckSum>(), "CSMODULO10"), csModulo10);
    EXPECT_EQ(EnumValue(TypeInfoOf<TCheckSum>(), "csModulo11"), std::nullopt);
}

TEST(TypeInfo, SymbologyTableIsAnArrayOfRecordsIndexedByBarType) {
    const TTypeInfo& table = TypeInfoOf<std::remove_const_t<decltype(BCData)>>();
    EXPECT_EQ(table.Kind, TTypeKind::Array);
    EXPECT_EQ(table.Base, &TypeInfoOf<TBarType>());
    ASSERT_EQ(table.Element, &TypeInfoOf<TBCdata>());
    const TMemberInfo* numeric = FindMember(*table.Element, "numericonly");
    ASSERT_NE(numeric, nullptr);
    EXPECT_EQ(numeric->Type->Kind, TTypeKind::Boolean);
    EXPECT_EQ(FindMember(*table.Element, "Name")->Type->Kind, TTypeKind::String);
}

}  // namespace
}  // namespace ribbon
