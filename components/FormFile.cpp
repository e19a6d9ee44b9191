#include "components/FormFile.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "components/FormProperties.h"
#include "runtime/Format.h"

namespace ribbon {

namespace {

struct FormLine {
    int Line;
    std::string Name;
    std::string Value;
};

struct FormObject {
    TFormObjectInfo Info;
    std::vector<FormLine> Properties;
};

[[noreturn]] void Fail(int line, const std::string& message) {
    throw EFormError(Format("line %d: %s", line, message));
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool IsName(std::string_view s, bool dotted) {
    if (s.empty()) return false;
    bool start = true;
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (dotted && c == '.' && !start) {
            start = true;
            continue;
        }
        if (!(std::isalpha(u) || c == '_' || (!start && std::isdigit(u)))) return false;
        start = false;
    }
    return !start;
}

std::vector<FormObject> Parse(std::string_view text) {
    std::vector<FormObject> objects;
    FormObject* open = nullptr;
    int line = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t eol = text.find('\n', pos);
        const std::string_view raw =
            text.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
        pos = eol == std::string_view::npos ? text.size() : eol + 1;
        ++line;
        const std::string_view s = Trim(raw);
        if (s.empty()) continue;
        if (s.substr(0, 7) == "object " || s.substr(0, 7) == "object\t") {
            if (open)
                Fail(line, Format("the object %s begun at line %d has no 'end'", open->Info.Name,
                                  open->Info.Line));
            const std::string_view rest = Trim(s.substr(7));
            const std::size_t colon = rest.find(':');
            const std::string_view name = Trim(rest.substr(0, colon));
            const std::string_view cls =
                colon == std::string_view::npos ? std::string_view() : Trim(rest.substr(colon + 1));
            if (!IsName(name, false) || !IsName(cls, false))
                Fail(line, "expected 'object Name: ClassName'");
            for (const FormObject& o : objects)
                if (SameText(o.Info.Name, name))
                    Fail(line, Format("a second object named %s", std::string(name)));
            objects.push_back({{std::string(name), std::string(cls), line}, {}});
            open = &objects.back();
        } else if (s == "end") {
            if (!open) Fail(line, "'end' without an object");
            open = nullptr;
        } else {
            const std::size_t eq = s.find('=');
            const std::string_view name = Trim(s.substr(0, eq));
            if (eq == std::string_view::npos || !IsName(name, true))
                Fail(line, Format("expected 'Name = Value', found '%s'", std::string(s)));
            if (!open) Fail(line, "a property outside any object");
            open->Properties.push_back(
                {line, std::string(name), std::string(Trim(s.substr(eq + 1)))});
        }
    }
    if (open)
        Fail(line, Format("the file ends inside the object %s begun at line %d", open->Info.Name,
                          open->Info.Line));
    return objects;
}

// The file's values on top of a new control's, checked on a control that nobody sees.
std::unique_ptr<TBarCode> ReadScratch(const FormObject& object, const TFormContext& context) {
    auto scratch = std::make_unique<TBarCode>(nullptr);
    scratch->BeginLoading();
    int dataLine = object.Info.Line;
    for (const FormLine& p : object.Properties) {
        const TPropertyInfo* info = FindBarCodeProperty(p.Name);
        if (!info) Fail(p.Line, Format("TBarCode has no property '%s'", p.Name));
        if (SameText(p.Name, "BarCode")) dataLine = p.Line;
        try {
            info->Read(*scratch, TFormValue::Parse(p.Value), context);
        } catch (const Exception& e) {
            Fail(p.Line, Format("%s: %s", p.Name, e.Message));
        }
    }
    scratch->EndLoading();
    // Data that its symbology refuses is a bad value of the file too.
    try {
        scratch->Repaint();
    } catch (const Exception& e) {
        Fail(dataLine, e.Message);
    }
    return scratch;
}

}  // namespace

std::vector<TFormObjectInfo> FormObjects(std::string_view Text) {
    std::vector<TFormObjectInfo> out;
    for (const FormObject& o : Parse(Text)) out.push_back(o.Info);
    return out;
}

void ReadForm(std::string_view Text, std::span<TBarCode* const> Controls,
              const TFormMethods* Methods) {
    const std::vector<FormObject> objects = Parse(Text);
    std::vector<TBarCode*> targets;
    std::vector<std::unique_ptr<TBarCode>> scratches;
    for (const FormObject& o : objects) {
        if (o.Info.ClassName != "TBarCode")
            Fail(o.Info.Line, Format("unknown class '%s'", o.Info.ClassName));
        TBarCode* target = nullptr;
        for (TBarCode* c : Controls)
            if (c && SameText(c->Name(), o.Info.Name)) target = c;
        if (!target) Fail(o.Info.Line, Format("there is no control named %s", o.Info.Name));
        targets.push_back(target);
        scratches.push_back(ReadScratch(o, {Methods, target->Owner(), false}));
    }
    // Everything checked: now the controls themselves, which cannot fail any more.
    for (std::size_t i = 0; i < objects.size(); ++i) {
        TBarCode& target = *targets[i];
        const TFormContext context{Methods, target.Owner(), true};
        target.BeginLoading();
        for (const TPropertyInfo& p : BarCodeProperties())
            if (!p.Event && p.Storage != TPropertyInfo::NeverStored)
                p.Read(target, TFormValue::Parse(p.Write(*scratches[i])), context);
        for (const FormLine& line : objects[i].Properties) {
            const TPropertyInfo* p = FindBarCodeProperty(line.Name);
            if (p->Event) p->Read(target, TFormValue::Parse(line.Value), context);
        }
        target.SetName(objects[i].Info.Name);
        target.EndLoading();
        target.Repaint();
    }
}

std::string WriteForm(std::span<const TBarCode* const> Controls) {
    std::string out;
    for (const TBarCode* c : Controls) {
        if (c->Name().empty()) throw EFormError("A control without a name cannot be written");
        out += "object " + c->Name() + ": TBarCode\n";
        for (const TPropertyInfo& p : BarCodeProperties()) {
            if (p.Storage == TPropertyInfo::NeverStored) continue;
            if (p.Storage == TPropertyInfo::StoredIfChanged && IsDefaultValue(p, *c)) continue;
            const std::string value = p.Write(*c);
            if (p.Event && value.empty()) continue;  // a handler from code has no method name
            out += "  " + std::string(p.Name) + " = " + value + "\n";
        }
        out += "end\n";
    }
    return out;
}

std::string LoadFormText(const std::string& FileName) {
    std::ifstream in(FileName, std::ios::binary);
    if (!in)
        throw EFileError(Format("Cannot open file \"%s\": %s", FileName, std::strerror(errno)));
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ReadFormFile(const std::string& FileName, std::span<TBarCode* const> Controls,
                  const TFormMethods* Methods) {
    const std::string text = LoadFormText(FileName);
    try {
        ReadForm(text, Controls, Methods);
    } catch (const EFormError& e) {
        throw EFormError(FileName + ", " + e.Message);
    }
}

void WriteFormFile(const std::string& FileName, std::span<const TBarCode* const> Controls) {
    const std::string text = WriteForm(Controls);
    std::ofstream out(FileName, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush())
        throw EFileError(Format("Cannot write file \"%s\": %s", FileName, std::strerror(errno)));
}

}  // namespace ribbon
