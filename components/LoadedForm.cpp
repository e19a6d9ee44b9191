#include "components/LoadedForm.h"

#include <filesystem>

#include "base/Format.h"
#include "components/pDBBarcode.h"

namespace ribbon {

TLoadedForm::TLoadedForm(const std::string& FileName, const TFormMethods* Methods)
    : fileName_(FileName) {
    const std::string text = LoadFormText(FileName);
    const std::string folder = std::filesystem::path(FileName).parent_path().string();
    try {
        const std::vector<TFormObjectInfo> objects = FormObjects(text);
        for (const TFormObjectInfo& o : objects) {
            if (o.ClassName == "TTableSource") {
                auto* source = new TTableSource(&owner_);
                source->SetName(o.Name);
                ReadTableSource(o, *source);
                try {
                    source->Open(folder);
                } catch (const Exception& e) {
                    throw EFormError(Format("line %d: %s", o.Line, e.Message));
                }
                continue;
            }
            // Any other class is refused by ReadForm, with its line.
            TBarCode* control =
                o.ClassName == "TDBBarcode" ? new TDBBarcode(&owner_) : new TBarCode(&owner_);
            control->SetDesigning(true);
            control->SetName(o.Name);
            controls_.push_back(control);
        }
        ReadForm(text, controls_, Methods);
    } catch (const EFormError& e) {
        throw EFormError(FileName + ", " + e.Message);
    }
    if (controls_.empty())
        throw EFormError(Format("The form file \"%s\" holds no control", FileName));
}

TBarCode& TLoadedForm::Control(std::string_view Name) const {
    if (Name.empty()) return *controls_.front();
    for (TBarCode* c : controls_)
        if (SameText(c->Name(), Name)) return *c;
    throw Exception(
        Format("The form file \"%s\" has no control named %s", fileName_, std::string(Name)));
}

TTableSource* TLoadedForm::SourceOf(const TBarCode& Control) {
    const auto* d = dynamic_cast<const TDBBarcode*>(&Control);
    return d ? dynamic_cast<TTableSource*>(d->DataSource()) : nullptr;
}

}  // namespace ribbon
