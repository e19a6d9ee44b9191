#pragma once
// The published properties of TBarCode as a form file names them, in the order they are
// written: the position and size, the barcode's own properties, then the panel's.

#include <span>
#include <string>
#include <string_view>

#include "components/FormMethods.h"
#include "components/FormValue.h"
#include "components/TableSource.h"
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
    // What a value looks like, for people ("integer", "one of taLeftJustify, ...").
    std::string (*Value)() = nullptr;
};

// The same for the data sources a form file describes (TTableSource).
struct TSourcePropertyInfo {
    std::string_view Name;
    TPropertyInfo::TStorage Storage;
    std::string (*Write)(const TTableSource& Source);
    void (*Read)(TTableSource& Source, const TFormValue& Value);
    std::string (*Value)();
};

std::span<const TPropertyInfo> BarCodeProperties();
// The properties a form file gives an object of the class ("TBarCode", or "TDBBarcode" with
// DataField, DataSource and ReadOnly after TBarCode's), and the one of that name.
std::span<const TPropertyInfo> PropertiesOf(std::string_view ClassName);
const TPropertyInfo* FindProperty(std::string_view ClassName, std::string_view Name);
// "TDBBarcode" for a data-aware control with a binding (a data source, a field or ReadOnly),
// "TBarCode" otherwise.
const char* FormClassName(const TBarCode& Control);
std::span<const TSourcePropertyInfo> TableSourceProperties();
const TSourcePropertyInfo* FindTableSourceProperty(std::string_view Name);
// Every property a form file knows, one Markdown table row each: name, the classes of object
// that have it, what its value looks like, the value of a new object and when it is written.
std::string FormPropertyTable();
// The property of that name, without regard to case, or nullptr.
const TPropertyInfo* FindBarCodeProperty(std::string_view Name);
// True when the control's value of the property is that of a new control.
bool IsDefaultValue(const TPropertyInfo& Property, const TBarCode& Control);

}  // namespace ribbon
