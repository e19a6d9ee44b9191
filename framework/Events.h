#pragma once
// Event properties. An event holds the handler a program assigned and, when the handler came
// from a form file, the name of the form's method it was bound to, so that the form can be
// written back. Handlers assigned in code have no name and are not written.

#include <cstddef>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

#include "../base/Export.h"

namespace ribbon {

class RIBBON_API TObject {
  public:
    virtual ~TObject() = default;
};

template <typename Signature>
class TEvent;

template <typename R, typename... Args>
class TEvent<R(Args...)> {
  public:
    using Function = std::function<R(Args...)>;

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    template <typename F>
    requires(!std::is_same_v<std::decay_t<F>, TEvent> && std::is_invocable_r_v<R, F&, Args...>)
        TEvent(F Handler)
        : fn_(std::move(Handler)) {}
    /// A handler bound to the form method MethodName.
    TEvent(std::string MethodName, Function Handler)
        : fn_(std::move(Handler)), name_(std::move(MethodName)) {}

    explicit operator bool() const { return static_cast<bool>(fn_); }
    R operator()(Args... args) const { return fn_(std::forward<Args>(args)...); }
    const std::string& MethodName() const { return name_; }

  private:
    Function fn_;
    std::string name_;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

}  // namespace ribbon
