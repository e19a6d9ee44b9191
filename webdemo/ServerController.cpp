// The server controller of the preview application and the application's start and stop.

#include "webdemo/ServerController.h"

#include "runtime/Exceptions.h"

namespace ribbon::webdemo {

web::Application& StartApplication(const std::string& moduleDir) {
    throw Exception("The preview application is not built yet (" + moduleDir + ").");
}

void StopApplication() {}

}  // namespace ribbon::webdemo
