// The services the portable logic reaches the world through, handed around
// together. Each service is owned elsewhere (the Win32 adapters or the fakes)
// and outlives the logic that uses it.
#pragma once

#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace quandrel {

struct Platform {
  Files& files;
  Registry& registry;
  Processes& processes;
  Desktop& desktop;
  Dialogs& dialogs;
  System& system;
};

}  // namespace quandrel
