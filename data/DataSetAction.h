#pragma once
// The standard commands on a data set (first, prior, next, last, insert, delete, edit, post,
// cancel, refresh) as one action class, so that a data-aware control can pass them on to the
// data source it is bound to.

#include <cstdint>

#include "data/DataSource.h"
#include "framework/Action.h"

namespace ribbon {

enum TDataSetCommand : std::uint8_t {
    dcFirst,
    dcPrior,
    dcNext,
    dcLast,
    dcInsert,
    dcDelete,
    dcEdit,
    dcPost,
    dcCancel,
    dcRefresh,
};

class TDataSetAction : public TBasicAction {
  public:
    TDataSetAction(TComponent* Owner, TDataSetCommand Command)
        : TBasicAction(Owner), command_(Command) {}

    TDataSetCommand Command() const { return command_; }
    // With a data source of its own the action works only on that one; without, on whichever
    // data source it is offered.
    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* Value);

    // A data source with an open data set.
    bool HandlesTarget(TObject* Target) override;
    void ExecuteTarget(TObject* Target) override;
    // Enabled when the command makes sense on the current record and state.
    void UpdateTarget(TObject* Target) override;

  protected:
    void Notification(TComponent* Component, TOperation Operation) override;

  private:
    TDataSetCommand command_;
    TDataSource* dataSource_ = nullptr;
};

}  // namespace ribbon
