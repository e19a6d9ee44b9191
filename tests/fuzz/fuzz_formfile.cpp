// Any text as a form file for two barcode controls. Reading either succeeds or raises an error
// with a message that names a line, and a refused file leaves both controls as they were; what
// was read writes out and reads back to the same text.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/Exceptions.h"
#include "components/FormFile.h"

namespace {

using namespace ribbon;

struct Form {
    TComponent Owner{nullptr};
    TBarCode* First = new TBarCode(&Owner);
    TBarCode* Second = new TBarCode(&Owner);
    Form() {
        First->SetName("BarCode1");
        Second->SetName("BarCode2");
        Second->SetBarType(bcCodeEAN13);
        Second->SetBarcode("590123412345");
    }
    std::vector<TBarCode*> Controls() { return {First, Second}; }
    std::string Text() {
        const std::vector<const TBarCode*> c = {First, Second};
        return WriteForm(c);
    }
};

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s\n%s\n", what, detail.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;  // a form file of two controls; longer inputs only slow the search
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Form form;
    const std::string before = form.Text();
    try {
        ReadForm(text, form.Controls());
    } catch (const Exception& error) {
        if (error.Message.find("line ") == std::string::npos)
            Fail("an error that names no line:", error.Message);
        if (form.Text() != before) Fail("a refused file changed the controls:", error.Message);
        return 0;
    }
    const std::string written = form.Text();
    Form again;
    try {
        ReadForm(written, again.Controls());
    } catch (const Exception& error) {
        Fail("what was written does not read back:", error.Message + "\n" + written);
    }
    if (again.Text() != written) Fail("reading back changed the text:", written);
    return 0;
}
