#include "main_window/display_title.h"

#include "text/sjis.h"

namespace quandrel {

std::string DisplayTitle(Files& files, const MainSettings& settings,
                         const std::string& executablePath, TitleFallback fallback) {
  if (!settings.Title.empty()) return settings.Title;
  // Only a target that is really there names the run; a misspelt path
  // would put a wrong name on the taskbar.
  if (!settings.DBPath.empty() && files.FileExists(settings.DBPath)) {
    return text::FileNamePart(settings.DBPath) + " の実行環境";
  }
  if (fallback == TitleFallback::Bare) return "Quandrel";
  return "Quandrel (" + executablePath + ")";
}

}  // namespace quandrel
