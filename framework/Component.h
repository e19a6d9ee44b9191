#pragma once
// Components: named objects with an owner. An owner frees the components it owns when it goes
// away, and components that refer to another one (a panel's popup menu, a data-aware control's
// data source) are told when it is freed, so that no reference outlives its target.

#include <string>
#include <string_view>
#include <vector>

#include "../base/Export.h"
#include "../framework/Events.h"

namespace ribbon {

enum TOperation : std::uint8_t { opInsert, opRemove };

class TBasicAction;

class RIBBON_API TComponent : public TObject {
  public:
    /// Owner takes ownership: it deletes this component when it is destroyed itself. A component
    /// without owner belongs to whoever created it. Owned components must be made with new.
    explicit TComponent(TComponent* Owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    /// A name is empty or an identifier (a letter or '_', then letters, digits and '_'), unique
    /// among the components of one owner regardless of case. Raises Exception otherwise.
    void SetName(const std::string& Name);

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int Index) const { return components_.at(Index); }
    /// The owned component of that name (case-insensitive), or nullptr.
    TComponent* FindComponent(std::string_view Name) const;

    /// Asks for Notification(this, opRemove) to be sent to Component when this one is freed.
    /// Both sides are kept in step: whichever goes first unhooks the other.
    void FreeNotification(TComponent* Component);
    void RemoveFreeNotification(TComponent* Component);

    /// True between BeginLoading and EndLoading, while a form file sets the properties: setters
    /// then store values without repainting.
    bool Loading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    /// Ends loading and calls Loaded, which settles what the stored values imply.
    void EndLoading();

    /// True while the component sits in a form designer rather than in a running program;
    /// setting it sets it for the owned components too.
    bool Designing() const { return designing_; }
    void SetDesigning(bool Value);

    /// Offered an action: carries it out (or brings its Enabled state up to date) when the
    /// action works on this component, and says whether it did.
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);

  protected:
    /// Told that Component was inserted into or is being removed from the owner, or that a
    /// component this one asked about is going away. The base class passes it on to the owned
    /// components, so siblings that refer to each other hear of it too.
    virtual void Notification(TComponent* Component, TOperation Operation);
    virtual void Loaded() {}

  private:
    void Insert(TComponent* Component);
    void Remove(TComponent* Component);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    bool loading_ = false;
    bool designing_ = false;
};

/// Case-insensitive comparison of identifiers and names, as component names and form files use.
bool SameText(std::string_view A, std::string_view B);

}  // namespace ribbon
