// Prints the README's table of the form file properties from the property table itself
// (components/FormProperties.cpp), so the two cannot disagree: tests/readme/readme-test.py
// compares it with the README and --update writes it there.

#include <iostream>
#include <string>

#include "components/FormProperties.h"
#include "components/pDBBarcode.h"

namespace {

using ribbon::TPropertyInfo;

const char* Written(TPropertyInfo::TStorage Storage) {
    switch (Storage) {
        case TPropertyInfo::AlwaysStored:
            return "always";
        case TPropertyInfo::StoredIfChanged:
            return "when changed";
        case TPropertyInfo::NeverStored:
            return "never (accepted when read)";
    }
    return "";
}

}  // namespace

int main() {
    const ribbon::TDBBarcode fresh(nullptr);
    std::string events;
    std::cout << "| Property | A new control's value | Written |\n|---|---|---|\n";
    for (const TPropertyInfo& p : ribbon::PropertiesOf("TDBBarcode")) {
        if (p.Event) {
            events += (events.empty() ? "`" : ", `") + std::string(p.Name) + "`";
            continue;
        }
        const std::string value = p.Write(fresh);
        const bool dataAware = !ribbon::FindBarCodeProperty(p.Name);
        std::cout << "| `" << p.Name << "`" << (dataAware ? " (TDBBarcode)" : "") << " | `" << value
                  << "` | " << Written(p.Storage) << " |\n";
    }
    std::cout << "\nEvents (the name of a method of the form, none for a new control): " << events
              << ".\n";
}
