#pragma once
// The one shape of a property setter: a value equal to the stored one changes nothing; another
// is stored and then announced once (a repaint, an event). Range checks stay with each setter.

#include <utility>

namespace ribbon {

/// Stores Value in Field and calls Changed when they differ; returns whether it did.
template <typename T, typename U, typename Notify>
bool SetProperty(T& Field, U&& Value, Notify&& Changed) {
    if (Field == Value) return false;
    Field = std::forward<U>(Value);
    std::forward<Notify>(Changed)();
    return true;
}

}  // namespace ribbon
