// The main window's modes as pure functions of the main settings: which
// control is shown, enabled or read-only in end mode and in settings mode,
// and when the window shrinks to its title strip (the compact layout).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "main_window/main_view.h"
#include "settings/settings.h"

namespace quandrel {

enum class Aspect { Visible, Enabled, ReadOnly };

// One change made to one control; controls not named keep their state.
struct LayoutStep {
  Control control;
  Aspect aspect;
  bool value;
};

struct Layout {
  std::vector<LayoutStep> steps;    // in the order they are applied
  std::optional<int> outerHeight;   // set when the window is to be resized
};

// Outer heights of the compact layout: after creation or a settings save,
// and after a discard of changes.
constexpr int kCompactHeight = 220;
constexpr int kCompactHeightAfterDiscard = 200;

// The end-of-run actions that work on a snapshot are offered.
bool OffersSnapshotActions(const MainSettings& settings);
// Customize is exactly "Disable": the settings area is put out of reach.
bool IsCompact(const MainSettings& settings);

// End mode: fields read-only, browse buttons and the settings buttons
// hidden, check boxes disabled, the end-of-run buttons for the target, the
// history button when `historyOffered`, and the compact height
// (`compactHeight`) when Customize is "Disable".
Layout EndModeLayout(const MainSettings& settings, int compactHeight, bool historyOffered);
// Settings mode: fields editable, browse and settings buttons shown, every
// end-mode button hidden, check boxes enabled; the height stays.
Layout SettingsModeLayout();

void ApplyLayout(MainView& view, const Layout& layout);

}  // namespace quandrel
