#pragma once
// Actions: a command a program can hand to a component ("go to the next record", "post"),
// which the component either carries out on a target it knows or declines. Controls offer
// actions to what they are bound to through ExecuteAction and UpdateAction.

#include "../base/Export.h"
#include "../framework/Component.h"

namespace ribbon {

class RIBBON_API TBasicAction : public TComponent {
  public:
    using TComponent::TComponent;

    /// Whether the action can work on Target; the base class works on nothing.
    virtual bool HandlesTarget(TObject* /*Target*/) { return false; }
    /// Carries the action out on Target.
    virtual void ExecuteTarget(TObject* /*Target*/) {}
    /// Brings Enabled up to date for Target.
    virtual void UpdateTarget(TObject* /*Target*/) {}

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }

  private:
    bool enabled_ = true;
};

}  // namespace ribbon
