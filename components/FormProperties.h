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
};

std::span<const TPropertyInfo> BarCodeProperties();
// The property of that name, without regard to case, or nullptr.
const TPropertyInfo* FindBarCodeProperty(std::string_view Name);
// True when the control's value of the property is that of a new control.
bool IsDefaultValue(const TPropertyInfo& Property, const TBarCode& Control);

}  // namespace ribbon
