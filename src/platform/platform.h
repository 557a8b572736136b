// The services the portable logic reaches the world through, handed around
// together. Each pointer is owned elsewhere (the Win32 adapters or the fakes).
#pragma once

#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace quandrel {

struct Platform {
  Files* files = nullptr;
  Registry* registry = nullptr;
  Processes* processes = nullptr;
  Desktop* desktop = nullptr;
  Dialogs* dialogs = nullptr;
  System* system = nullptr;
};

}  // namespace quandrel
