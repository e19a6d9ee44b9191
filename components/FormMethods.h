#pragma once
// The methods of a form that event lines of a form file ("OnChange = BarCode1Change") bind to.

#include <any>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "framework/Component.h"

namespace ribbon {

class TFormMethods {
  public:
    template <typename Signature>
    void Add(const std::string& Name, std::function<Signature> Method) {
        methods_[Key(Name)] = Entry{Name, std::move(Method)};
    }

    // The method of that name as a handler for an event of type Event. Raises Exception when
    // there is no such method or its parameters differ from the event's.
    template <typename Event>
    Event Find(const std::string& Name) const {
        const auto it = methods_.find(Key(Name));
        if (it == methods_.end())
            throw Exception(Format("the form has no method named '%s'", Name));
        const auto* method = std::any_cast<typename Event::Function>(&it->second.Method);
        if (!method)
            throw Exception(
                Format("the method '%s' does not have the parameters of this event", Name));
        return Event(it->second.Name, *method);
    }

  private:
    struct Entry {
        std::string Name;
        std::any Method;
    };
    static std::string Key(std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }
    std::map<std::string, Entry> methods_;
};

}  // namespace ribbon
