#pragma once
// A form file made whole from the file alone, as a program without a form of its own needs it
// (the designer, `ribbon control --form`): a control for every control object, of the class
// the object names, and for every TTableSource object its data source, opened, so that the
// data-aware controls show the record they showed when the file was written.
//
// The data-aware controls are in design state, as in the designer that wrote them: they show
// their BarCode when unbound, the field's value when bound, and write nothing.

#include <string>
#include <string_view>
#include <vector>

#include "components/FormFile.h"

namespace ribbon {

class TLoadedForm {
  public:
    // Raises EFileError when the file cannot be read and EFormError, beginning with the file's
    // name, for a mistake in it: a database or table that cannot be opened names the line of
    // its data source. A relative DatabaseName is taken from the form file's folder.
    explicit TLoadedForm(const std::string& FileName, const TFormMethods* Methods = nullptr);
    TLoadedForm(const TLoadedForm&) = delete;
    TLoadedForm& operator=(const TLoadedForm&) = delete;

    const std::vector<TBarCode*>& Controls() const { return controls_; }
    // The control of that name (case does not matter), or the first when Name is empty; raises
    // Exception when there is none.
    TBarCode& Control(std::string_view Name = {}) const;
    // The data source a control is bound to, or nullptr.
    static TTableSource* SourceOf(const TBarCode& Control);

  private:
    std::string fileName_;
    TComponent owner_{nullptr};
    std::vector<TBarCode*> controls_;
};

}  // namespace ribbon
