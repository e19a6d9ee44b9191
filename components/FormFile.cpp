#include "components/FormFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "base/AtomicFile.h"
#include "base/Format.h"
#include "components/FormProperties.h"
#include "components/pDBBarcode.h"

namespace ribbon {

namespace {

constexpr std::string_view SourceClass = "TTableSource";

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

std::vector<TFormObjectInfo> Parse(std::string_view text) {
    std::vector<TFormObjectInfo> objects;
    TFormObjectInfo* open = nullptr;
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
                Fail(line,
                     Format("the object %s begun at line %d has no 'end'", open->Name, open->Line));
            const std::string_view rest = Trim(s.substr(7));
            const std::size_t colon = rest.find(':');
            const std::string_view name = Trim(rest.substr(0, colon));
            const std::string_view cls =
                colon == std::string_view::npos ? std::string_view() : Trim(rest.substr(colon + 1));
            if (!IsName(name, false) || !IsName(cls, false))
                Fail(line, "expected 'object Name: ClassName'");
            for (const TFormObjectInfo& o : objects)
                if (SameText(o.Name, name))
                    Fail(line, Format("a second object named %s", std::string(name)));
            objects.push_back({std::string(name), std::string(cls), line, {}});
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
        Fail(line,
             Format("the file ends inside the object %s begun at line %d", open->Name, open->Line));
    return objects;
}

// The file's values on top of a new control's, checked on a control that nobody sees.
std::unique_ptr<TBarCode> ReadScratch(const TFormObjectInfo& object, const TFormContext& context) {
    const std::string& className = object.ClassName;
    std::unique_ptr<TBarCode> scratch;
    if (className == "TDBBarcode") {
        scratch = std::make_unique<TDBBarcode>(nullptr);
        scratch->SetDesigning(true);  // its BarCode is checked as the file gives it
    } else {
        scratch = std::make_unique<TBarCode>(nullptr);
    }
    scratch->BeginLoading();
    int dataLine = object.Line;
    for (const TFormProperty& p : object.Properties) {
        const TPropertyInfo* info = FindProperty(className, p.Name);
        if (!info) Fail(p.Line, Format("%s has no property '%s'", className, p.Name));
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

// The values of the class's properties (without events) from one control to another.
void Assign(const TBarCode& From, TBarCode& To, std::string_view ClassName,
            const TFormContext& Context) {
    for (const TPropertyInfo& p : PropertiesOf(ClassName))
        if (!p.Event && p.Storage != TPropertyInfo::NeverStored)
            p.Read(To, TFormValue::Parse(p.Write(From)), Context);
}

std::string WriteSource(const TTableSource& Source) {
    std::string out = "object " + Source.Name() + ": " + std::string(SourceClass) + "\n";
    static const TTableSource fresh;
    for (const TSourcePropertyInfo& p : TableSourceProperties()) {
        const std::string value = p.Write(Source);
        if (p.Storage == TPropertyInfo::StoredIfChanged && value == p.Write(fresh)) continue;
        out += "  " + std::string(p.Name) + " = " + value + "\n";
    }
    return out + "end\n";
}

std::string WriteControl(const TBarCode& c) {
    const std::string className = FormClassName(c);
    std::string out = "object " + c.Name() + ": " + className + "\n";
    for (const TPropertyInfo& p : PropertiesOf(className)) {
        if (p.Storage == TPropertyInfo::NeverStored) continue;
        try {
            if (p.Storage == TPropertyInfo::StoredIfChanged && IsDefaultValue(p, c)) continue;
            const std::string value = p.Write(c);
            if (p.Event && value.empty()) continue;  // a handler from code has no method name
            out += "  " + std::string(p.Name) + " = " + value + "\n";
        } catch (const Exception& e) {
            throw EFormError(Format("%s cannot be written: %s: %s", c.Name(), p.Name, e.Message));
        }
    }
    return out + "end\n";
}

}  // namespace

std::vector<TFormObjectInfo> FormObjects(std::string_view Text) {
    return Parse(Text);
}

void ReadForm(std::string_view Text, std::span<TBarCode* const> Controls,
              const TFormMethods* Methods) {
    std::vector<TFormObjectInfo> objects = Parse(Text);
    std::erase_if(objects, [](const TFormObjectInfo& o) { return o.ClassName == SourceClass; });
    std::vector<TBarCode*> targets;
    std::vector<std::unique_ptr<TBarCode>> scratches;
    for (const TFormObjectInfo& o : objects) {
        if (o.ClassName != "TBarCode" && o.ClassName != "TDBBarcode")
            Fail(o.Line, Format("unknown class '%s'", o.ClassName));
        TBarCode* target = nullptr;
        for (TBarCode* c : Controls)
            if (c && SameText(c->Name(), o.Name)) target = c;
        if (!target) Fail(o.Line, Format("there is no control named %s", o.Name));
        // A data-aware control reads a TBarCode object too; the other way round it cannot.
        if (o.ClassName == "TDBBarcode" && !dynamic_cast<TDBBarcode*>(target))
            Fail(o.Line,
                 Format("%s is a TDBBarcode in the file, where a TBarCode was expected", o.Name));
        targets.push_back(target);
        scratches.push_back(ReadScratch(o, {Methods, target->Owner(), false}));
    }
    // Everything checked: now the controls themselves, which cannot fail any more.
    for (std::size_t i = 0; i < objects.size(); ++i) {
        TBarCode& target = *targets[i];
        const TFormContext context{Methods, target.Owner(), true};
        target.BeginLoading();
        const std::string& className = objects[i].ClassName;
        // A data-aware target takes the binding of the file: none from a TBarCode object.
        Assign(*scratches[i], target,
               dynamic_cast<TDBBarcode*>(&target) ? "TDBBarcode" : std::string_view(className),
               context);
        for (const TFormProperty& line : objects[i].Properties) {
            const TPropertyInfo* p = FindProperty(className, line.Name);
            if (p->Event) p->Read(target, TFormValue::Parse(line.Value), context);
        }
        target.SetName(objects[i].Name);
        target.EndLoading();
        target.Repaint();
    }
}

std::string WriteForm(std::span<const TBarCode* const> Controls) {
    std::string out;
    std::vector<const TTableSource*> sources;
    for (const TBarCode* c : Controls) {
        if (c->Name().empty()) throw EFormError("A control without a name cannot be written");
        // The table a control shows goes first, once, so that the file alone can bind it again.
        const auto* d = dynamic_cast<const TDBBarcode*>(c);
        const auto* source = d ? dynamic_cast<const TTableSource*>(d->DataSource()) : nullptr;
        if (source && !source->Name().empty() &&
            std::ranges::find(sources, source) == sources.end()) {
            sources.push_back(source);
            out += WriteSource(*source);
        }
        out += WriteControl(*c);
    }
    return out;
}

void ReadTableSource(const TFormObjectInfo& Object, TTableSource& Source) {
    for (const TFormProperty& line : Object.Properties) {
        const TSourcePropertyInfo* p = FindTableSourceProperty(line.Name);
        if (!p) Fail(line.Line, Format("%s has no property '%s'", Object.ClassName, line.Name));
        try {
            p->Read(Source, TFormValue::Parse(line.Value));
        } catch (const Exception& e) {
            Fail(line.Line, Format("%s: %s", line.Name, e.Message));
        }
    }
}

void CopyProperties(const TBarCode& From, TBarCode& To) {
    To.BeginLoading();
    Assign(From, To, "TBarCode", {nullptr, To.Owner(), true});
    To.EndLoading();
    To.Repaint();
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
    // A save that fails leaves the form that was there.
    WriteFileAtomically(FileName, WriteForm(Controls));
}

}  // namespace ribbon
