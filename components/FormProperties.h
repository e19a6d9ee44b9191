#pragma once
// The published properties of TBarCode as a form file names them, in the order they are
// written: the position and size, the barcode's own properties, then the panel's.

#include <span>
#include <string>
#include <string_view>

#include "components/FormMethods.h"
#include "components/FormValue.h"
#include "components/pBarCode.h"

namespace ribbon {

struct TFormContext {
    const TFormMethods* Methods = nullptr;  // event lines bind to these
    const TComponent* Lookup = nullptr;     // component references name its components
    bool AssignEvents = true;               // false: only check that the methods exist
};

struct TPropertyInfo {
    enum TStorage : std::uint8_t {
        StoredIfChanged,  // written when it differs from the value of a new control
        AlwaysStored,
        NeverStored,  // another name accepted when reading
    };
    std::string_view Name;
    TStorage Storage;
    bool Event;
    std::string (*Write)(const TBarCode& Control);
    // Raises Exception with a message naming the property when the value does not suit it.
    void (*Read)(TBarCode& Control, const TFormValue& Value, const TFormContext& Context);
    // The type information of the property's type, where the library describes that type.
    const TTypeInfo* (*Type)() = nullptr;
};

std::span<const TPropertyInfo> BarCodeProperties();
// The properties a form file gives an object of the class ("TBarCode", or "TDBBarcode" with
// DataField, DataSource and ReadOnly after TBarCode's), and the one of that name.
std::span<const TPropertyInfo> PropertiesOf(std::string_view ClassName);
const TPropertyInfo* FindProperty(std::string_view ClassName, std::string_view Name);
// "TDBBarcode" for a data-aware control, "TBarCode" otherwise.
const char* FormClassName(const TBarCode& Control);
// The property of that name, without regard to case, or nullptr.
const TPropertyInfo* FindBarCodeProperty(std::string_view Name);
// True when the control's value of the property is that of a new control.
bool IsDefaultValue(const TPropertyInfo& Property, const TBarCode& Control);

}  // namespace ribbon
