// The type information of the controls lists what their form files read and write.

#include <gtest/gtest.h>

#include "components/FormProperties.h"
#include "components/pDBBarcode.h"

namespace ribbon {
namespace {

TEST(ControlTypeInfo, ClassesListTheirPublishedPropertiesWithTheirTypes) {
    const TTypeInfo& bar = TypeInfoOf<TBarCode>();
    const TTypeInfo& db = TypeInfoOf<TDBBarcode>();
    EXPECT_EQ(bar.Kind, TTypeKind::Class);
    EXPECT_EQ(db.Base, &bar);
    for (const TTypeInfo* cls : {&bar, &db}) {
        ASSERT_EQ(cls->Members.size(), PropertiesOf(cls->Name).size()) << cls->Name;
        for (const TMemberInfo& m : cls->Members)
            EXPECT_NE(FindProperty(cls->Name, m.Name), nullptr) << cls->Name << "." << m.Name;
    }
    struct Case {
        const TTypeInfo& Class;
        std::string_view Property;
        const TTypeInfo* Type;
    };
    const Case cases[] = {
        {bar, "BarType", &TypeInfoOf<TBarType>()},
        {bar, "Orientation", &TypeInfoOf<TOrientation>()},
        {bar, "Ratio", &TypeInfoOf<double>()},
        {bar, "OnInvalidChar", &TypeInfoOf<TInvalidChar>()},
        {db, "TextPosition", &TypeInfoOf<TTextPosition>()},
        {db, "ReadOnly", &TypeInfoOf<bool>()},
        {db, "DataField", &StringTypeInfo()},
    };
    for (const Case& c : cases) {
        const TMemberInfo* m = FindMember(c.Class, c.Property);
        ASSERT_NE(m, nullptr) << c.Property;
        EXPECT_EQ(m->Type, c.Type) << c.Property;
    }
    EXPECT_EQ(FindMember(bar, "DataField"), nullptr);
    EXPECT_EQ(EnumName(TypeInfoOf<TOrientation>(), toBottomTop), "toBottomTop");
}

}  // namespace
}  // namespace ribbon
