// A main window over fakes: the executable is D:\Work\Quandrel.exe, so the
// settings file is D:\Work\Quandrel.INI. Every box shown and every process
// started is logged into the view's call log, in order with the shell calls.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "main_window/main_window_logic.h"
#include "fakes/fake_files.h"
#include "fakes/fake_main_view.h"
#include "fakes/fake_platform.h"
#include "text/messages.h"

namespace quandrel::testing {

// Forwards to the scripted processes and logs each start as "start <line>".
class LoggingProcesses : public Processes {
 public:
  LoggingProcesses(Processes& inner, std::vector<std::string>& log) : inner_(inner), log_(log) {}
  std::function<void(const std::string&)> onStart;

  OsResult Start(const std::string& commandLine, StartupShape shape, ProcessRecord* record) override {
    log_.push_back("start " + commandLine);
    if (onStart) onStart(commandLine);
    return inner_.Start(commandLine, shape, record);
  }
  WaitOutcome Wait(const ProcessRecord& r, std::uint32_t ms) override { return inner_.Wait(r, ms); }
  void CloseHandles(std::uintptr_t process, std::uintptr_t thread) override { inner_.CloseHandles(process, thread); }
  OsResult ShellOpen(std::uintptr_t owner, const std::string& file, const std::string& parameters) override {
    return inner_.ShellOpen(owner, file, parameters);
  }

 private:
  Processes& inner_;
  std::vector<std::string>& log_;
};

class FormMainTest : public ::testing::Test {
 protected:
  static constexpr const char* kIni = "D:\\Work\\Quandrel.INI";
  static constexpr const char* kExe = "D:\\Work\\Quandrel.exe";
  static constexpr const char* kAccess = "\"C:\\Office\\MSACCESS.EXE\" /NOSTARTUP";

  fakes::FakeFiles files;
  fakes::FakeRegistry registry;
  fakes::FakeProcesses processes;
  fakes::FakeDesktop desktop;
  fakes::FakeDialogs dialogs;
  fakes::FakeSystem system;
  fakes::FakeMainView view;
  LoggingProcesses logged{processes, view.calls};
  Platform platform{files, registry, logged, desktop, dialogs, system};
  std::unique_ptr<MainWindowLogic> form;

  FormMainTest() {
    system.executablePath = kExe;
    files.AddFolder("D:\\Work");
    dialogs.onShow = [this](const std::string& line) { view.calls.push_back(line); };
    // Access is registered for .mdb through the open verb.
    registry.SetKey(Hive::ClassesRoot, ".mdb", "Access.Application");
    registry.SetKey(Hive::ClassesRoot, "Access.Application\\shell", "");
    registry.SetKey(Hive::ClassesRoot, "Access.Application\\shell\\open\\command",
                    std::string(kAccess) + " \"%1\"");
    // Program files are started by themselves.
    registry.SetKey(Hive::ClassesRoot, ".exe", "exefile");
    registry.SetKey(Hive::ClassesRoot, "exefile\\shell", "");
    registry.SetKey(Hive::ClassesRoot, "exefile\\shell\\open\\command", "\"%1\" %*");
  }

  void Ini(const std::string& lines) { files.Put(kIni, lines); }

  MainWindowLogic& Create() {
    form = std::make_unique<MainWindowLogic>(platform, view);
    form->StartAndRunFirstLaunch();
    return *form;
  }

  // The common case: D:\Work\sales.mdb, named relatively in the settings.
  MainWindowLogic& CreateWithSales(const std::string& moreSystemLines = "") {
    files.Put("D:\\Work\\sales.mdb", "old");
    Ini("[Execute]\r\nDBPath=sales.mdb\r\n[System]\r\n" + moreSystemLines);
    // The launched program changes the target.
    logged.onStart = [this](const std::string&) { files.Put("D:\\Work\\sales.mdb", "new"); };
    return Create();
  }

  // What a field shows.
  std::string Text(Control c) const { return view.Shown(c); }

  // The user types into a field, or ticks or clears a switch: the view
  // reports the new value to the logic.
  void Type(Control field, const std::string& text) { view.Type(*form, field, text); }
  void Tick(Control box, bool ticked) { view.Click(*form, box, ticked); }

  // The calls logged from `from` on.
  std::vector<std::string> CallsFrom(std::size_t from) const {
    return std::vector<std::string>(view.calls.begin() + static_cast<std::ptrdiff_t>(from), view.calls.end());
  }

  std::vector<std::string> Boxes() const { return dialogs.shown; }
  // What a start without a target says (most tests set none).
  static std::string NoTargetBox() { return "message: " + messages::Fill(messages::kNoTarget, {kIni}); }
};

}  // namespace quandrel::testing
