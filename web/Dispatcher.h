#pragma once
// The request dispatcher: the Application a host hands its requests to. It refuses what no page
// accepts (other methods, oversized bodies) and sends pictures and pages to the controller.

#include "web/Http.h"
#include "web/ServerControllerBase.h"

namespace ribbon::web {

class TIWDispatcher final : public Application {
  public:
    explicit TIWDispatcher(TIWServerControllerBase& controller) : controller_(controller) {}
    Response handle(const Request& request) override;

  private:
    TIWServerControllerBase& controller_;
};

}  // namespace ribbon::web
