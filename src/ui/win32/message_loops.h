// The program's three message loops. Each passes the dialog keys first.
#pragma once

#include <windows.h>

#include <functional>

namespace quandrel::win32 {

// The main loop: runs until WM_QUIT and returns its exit code.
int RunMessageLoop();

// A modal window's loop: runs while `running()` holds. A WM_QUIT met here
// ends it and is posted again so that the main loop still ends.
void RunModalLoop(const std::function<bool()>& running);

// Handles every pending message of the thread. A WM_QUIT met here is posted
// again so that the main loop still ends; false then.
bool PumpPendingMessages();

}  // namespace quandrel::win32
