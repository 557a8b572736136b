#include "main_window/layout_modes.h"

#include "launch/database_check.h"
#include "launch/launch.h"
#include "text/sjis.h"

namespace quandrel {

namespace {

template <std::size_t N>
void Set(Layout& l, const Control (&controls)[N], Aspect aspect, bool value) {
  for (Control c : controls) l.steps.push_back({c, aspect, value});
}
void Set(Layout& l, Control c, Aspect aspect, bool value) { l.steps.push_back({c, aspect, value}); }

template <std::size_t N, std::size_t M>
constexpr bool AllIn(const Control (&part)[N], const Control (&whole)[M]) {
  for (Control c : part) {
    if (!IsIn(whole, c)) return false;
  }
  return true;
}
// What end mode shows by a rule of its own, settings mode hides with all
// the end-mode buttons.
static_assert(AllIn(kMainMaintenanceButtons, kMainEndModeButtons) && AllIn(kMainSnapshotActions, kMainEndModeButtons) &&
                  AllIn(kMainPlainActions, kMainEndModeButtons),
              "the end-mode sets are end-mode buttons");

}  // namespace

bool OffersSnapshotActions(const MainSettings& settings) {
  // The same test that decides whether a launch takes a snapshot.
  return TakesSnapshot(settings.DBPath, settings.MDBbak);
}

bool IsCompact(const MainSettings& settings) { return settings.Customize == Word::Disable; }

Layout EndModeLayout(const MainSettings& settings, int compactHeight, bool historyOffered) {
  Layout l;
  // The order counts: a focused control that is hidden hands the focus to
  // the first one in view at that moment.
  Set(l, kMainTextFields, Aspect::ReadOnly, true);
  Set(l, kMainBrowseButtons, Aspect::Visible, false);
  Set(l, Control::BitBtnBackup, Aspect::Visible, true);
  Set(l, kMainSwitches, Aspect::Enabled, false);  // their ticks stay
  // Maintenance is shown for a database target and otherwise left as it is:
  // hidden by design and by settings mode.
  if (IsDatabaseTarget(settings.DBPath)) Set(l, kMainMaintenanceButtons, Aspect::Visible, true);
  Set(l, kMainLeaveSettingsButtons, Aspect::Visible, false);
  Set(l, Control::BitBtnCustom, Aspect::Visible, true);
  const bool snapshot = OffersSnapshotActions(settings);
  Set(l, kMainSnapshotActions, Aspect::Visible, snapshot);
  Set(l, kMainPlainActions, Aspect::Visible, !snapshot);
  Set(l, Control::BitBtnHistory, Aspect::Visible, historyOffered);
  if (IsCompact(settings)) l.outerHeight = compactHeight;
  return l;
}

Layout SettingsModeLayout() {
  Layout l;
  Set(l, kMainTextFields, Aspect::ReadOnly, false);
  Set(l, kMainLeaveSettingsButtons, Aspect::Visible, true);
  Set(l, kMainBrowseButtons, Aspect::Visible, true);
  Set(l, kMainEndModeButtons, Aspect::Visible, false);
  Set(l, kMainSwitches, Aspect::Enabled, true);
  return l;
}

void ApplyLayout(MainView& view, const Layout& layout) {
  for (const LayoutStep& s : layout.steps) {
    switch (s.aspect) {
      case Aspect::Visible: view.SetVisible(s.control, s.value); break;
      case Aspect::Enabled: view.SetEnabled(s.control, s.value); break;
      case Aspect::ReadOnly: view.SetReadOnly(s.control, s.value); break;
    }
  }
  if (layout.outerHeight) view.SetOuterHeight(*layout.outerHeight);
}

}  // namespace quandrel
