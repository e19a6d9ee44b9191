#include "framework/Component.h"

#include <algorithm>
#include <cctype>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "framework/Action.h"

namespace ribbon {

namespace {

bool IsIdentifier(const std::string& s) {
    auto start = [](unsigned char c) { return std::isalpha(c) || c == '_'; };
    if (s.empty() || !start(s[0])) return false;
    return std::all_of(s.begin(), s.end(),
                       [&](unsigned char c) { return start(c) || std::isdigit(c); });
}

void Erase(std::vector<TComponent*>& list, TComponent* c) {
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
}

}  // namespace

bool SameText(std::string_view A, std::string_view B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

TComponent::TComponent(TComponent* Owner) {
    if (Owner) Owner->Insert(this);
}

TComponent::~TComponent() {
    // Those that asked are told first, while this component still stands.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        Erase(other->freeNotifies_, this);
        other->Notification(this, opRemove);
    }
    while (!components_.empty()) delete components_.back();
    if (owner_) owner_->Remove(this);
}

void TComponent::SetName(const std::string& Name) {
    if (Name == name_) return;
    if (!Name.empty() && !IsIdentifier(Name))
        throw Exception(Format("'%s' is not a valid component name", Name));
    if (owner_ && !Name.empty()) {
        TComponent* same = owner_->FindComponent(Name);
        if (same && same != this)
            throw Exception(Format("A component named %s already exists", Name));
    }
    name_ = Name;
}

TComponent* TComponent::FindComponent(std::string_view Name) const {
    if (Name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, Name)) return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* Component) {
    if (!Component || Component == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), Component) == freeNotifies_.end())
        freeNotifies_.push_back(Component);
    if (std::find(Component->freeNotifies_.begin(), Component->freeNotifies_.end(), this) ==
        Component->freeNotifies_.end())
        Component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* Component) {
    if (!Component) return;
    Erase(freeNotifies_, Component);
    Erase(Component->freeNotifies_, this);
}

void TComponent::EndLoading() {
    loading_ = false;
    Loaded();
}

void TComponent::SetDesigning(bool Value) {
    designing_ = Value;
    for (TComponent* c : components_) c->SetDesigning(Value);
}

bool TComponent::ExecuteAction(TBasicAction* Action) {
    if (!Action || !Action->HandlesTarget(this)) return false;
    Action->ExecuteTarget(this);
    return true;
}

bool TComponent::UpdateAction(TBasicAction* Action) {
    if (!Action || !Action->HandlesTarget(this)) return false;
    Action->UpdateTarget(this);
    return true;
}

void TComponent::Notification(TComponent* Component, TOperation Operation) {
    if (Operation == opRemove) RemoveFreeNotification(Component);
    // Copy: a component told of a removal may free others.
    const std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned)
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(Component, Operation);
}

void TComponent::Insert(TComponent* Component) {
    components_.push_back(Component);
    Component->owner_ = this;
    Notification(Component, opInsert);
}

void TComponent::Remove(TComponent* Component) {
    Notification(Component, opRemove);
    Erase(components_, Component);
    Component->owner_ = nullptr;
}

}  // namespace ribbon
