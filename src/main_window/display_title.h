// The display title: the caption of the main window and the application's
// title (taskbar button, caption of plain message boxes).
#pragma once

#include <string>

#include "platform/files.h"
#include "settings/settings.h"

namespace quandrel {

// What stands in when neither a title nor an existing target names the run.
enum class TitleFallback {
  WithExecutablePath,  // at creation and while the title is typed
  Bare,                // after a settings save
};

// A non-empty Title wins; else an existing DBPath gives its file name +
// " の実行環境"; else "Quandrel (" + executable path + ")" or "Quandrel".
std::string DisplayTitle(Files& files, const MainSettings& settings,
                         const std::string& executablePath, TitleFallback fallback);

}  // namespace quandrel
