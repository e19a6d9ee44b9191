#pragma once
// A form: the page of a session, made of absolutely placed controls.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "web/Controls.h"

namespace ribbon::web {

class TIWAppForm {
  public:
    TIWAppForm(std::string name, int width, int height)
        : Name(std::move(name)), Width(width), Height(height) {}
    virtual ~TIWAppForm() = default;
    TIWAppForm(const TIWAppForm&) = delete;
    TIWAppForm& operator=(const TIWAppForm&) = delete;

    std::string Name;
    std::string Title;
    int Width;
    int Height;

    // Adds a control in declaration order (the order the page writes them in).
    template <typename T, typename... Args>
    T* Add(Args&&... args) {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = control.get();
        controls_.push_back(std::move(control));
        return raw;
    }

    TIWControl* FindControl(std::string_view name) const {
        for (const auto& control : controls_)
            if (control->Name == name) return control.get();
        return nullptr;
    }
    const std::vector<std::unique_ptr<TIWControl>>& Controls() const { return controls_; }

    // Settles every control (see TIWControl::Settle) before the page is written.
    void Settle() {
        for (const auto& control : controls_) control->Settle();
    }

    // Runs for a post that names no control.
    virtual void DefaultAction() {}

  private:
    std::vector<std::unique_ptr<TIWControl>> controls_;
};

}  // namespace ribbon::web
