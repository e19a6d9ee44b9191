#pragma once
// Text form files: the published properties of barcode controls, one object each.
//
//   object BarCode1: TBarCode
//     Left = 8
//     Width = 200
//     BarType = bcCodeEAN13
//     BarCode = '590123412345'
//     Color = clWhite
//   end
//
// A data-aware control with a binding is written as "object DBBarcode1: TDBBarcode" with
// DataField, DataSource (a component of the control's owner, by name) and ReadOnly after the
// others; without one it is written as a TBarCode. When its data source is a TTableSource, the
// source's object (components/TableSource.h) is written before the control, so that TLoadedForm
// (components/LoadedForm.h) can bind it again from the file alone. A data-aware control reads
// TBarCode objects too, which leave it unbound.
//
// One "Name = Value" line a property, values of new controls left out (Left, Top, Width,
// Height, BarCode, Modul, Ratio and About are always written). Reading sets every property the
// way a new control has it and then the file's values, so a control reads back as it was
// written; event lines bind to the form's methods. A file with a mistake raises EFormError
// naming the line, and leaves every control as it was.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "components/FormMethods.h"
#include "components/FormValue.h"
#include "components/TableSource.h"
#include "components/pBarCode.h"

namespace ribbon {

struct TFormProperty {
    int Line = 0;
    std::string Name;
    std::string Value;  // the text after "Name = "
};

struct TFormObjectInfo {
    std::string Name;
    std::string ClassName;
    int Line = 0;
    std::vector<TFormProperty> Properties;
};

// The objects of a form file, in order; raises EFormError for a file that is not well formed.
std::vector<TFormObjectInfo> FormObjects(std::string_view Text);

// Reads every control object of the file into the control among Controls of the same name
// (case does not matter). Component references (PopupMenu, DataSource) name components of a
// control's owner; TTableSource objects are left to whoever makes the data sources (TLoadedForm).
void ReadForm(std::string_view Text, std::span<TBarCode* const> Controls,
              const TFormMethods* Methods = nullptr);
std::string WriteForm(std::span<const TBarCode* const> Controls);

// Sets the properties of a TTableSource object on Source, without opening it.
void ReadTableSource(const TFormObjectInfo& Object, TTableSource& Source);
// Gives To the published TBarCode properties of From (its events, name and binding stay), as
// reading a form file would.
void CopyProperties(const TBarCode& From, TBarCode& To);

// The same on files; a file that cannot be read or written raises EFileError, and the messages
// of EFormError begin with the file's name.
void ReadFormFile(const std::string& FileName, std::span<TBarCode* const> Controls,
                  const TFormMethods* Methods = nullptr);
void WriteFormFile(const std::string& FileName, std::span<const TBarCode* const> Controls);
std::string LoadFormText(const std::string& FileName);

}  // namespace ribbon
