// A launcher shell that records every call in order, as short lines:
// "tray+ <tip>", "tray-", "main show", "main hide", "app show", "app hide",
// "front", "pump", "wait+" (wait window opened) and "wait-" (released).
// Preparing the main window is counted apart, since most sequences don't
// care when it happens.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "launch/launcher_shell.h"

namespace quandrel::fakes {

class FakeShell : public LauncherShell {
 public:
  std::vector<std::string> calls;
  // Progress shown by any wait window of this shell: (done, total) pairs.
  std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
  // Called at each pump, with the pumps done before it; lets a test act
  // "while messages are handled" (e.g. change a setting).
  std::function<void(int)> onPump;
  int pumps = 0;
  // How often the main window was prepared, and a hook called each time.
  int mainWindowPrepared = 0;
  std::function<void()> onPrepareMainWindow;

  void AddTrayIcon(const std::string& tip) override { calls.push_back("tray+ " + tip); }
  void RemoveTrayIcon() override { calls.push_back("tray-"); }
  void ShowMainWindow(bool visible) override { calls.push_back(visible ? "main show" : "main hide"); }
  void ShowApplicationWindow(bool visible) override { calls.push_back(visible ? "app show" : "app hide"); }
  void BringToFront() override { calls.push_back("front"); }
  void PumpMessages() override {
    calls.push_back("pump");
    if (onPump) onPump(pumps);
    ++pumps;
  }
  std::unique_ptr<WaitWindow> OpenWaitWindow() override {
    calls.push_back("wait+");
    return std::make_unique<Wait>(this);
  }
  void PrepareMainWindow() override {
    ++mainWindowPrepared;
    if (onPrepareMainWindow) onPrepareMainWindow();
  }

 private:
  class Wait : public WaitWindow {
   public:
    explicit Wait(FakeShell* shell) : shell_(shell) {}
    ~Wait() override { shell_->calls.push_back("wait-"); }
    void ShowProgress(std::uint64_t done, std::uint64_t total) override {
      shell_->progress.emplace_back(done, total);
    }

   private:
    FakeShell* shell_;
  };
};

}  // namespace quandrel::fakes
