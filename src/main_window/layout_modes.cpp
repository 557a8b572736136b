#include "main_window/layout_modes.h"

#include "launch/database_check.h"
#include "launch/launch.h"
#include "text/sjis.h"

namespace quandrel {

namespace {

constexpr Control kFields[] = {Control::EditDBpath, Control::EditImagePath, Control::EditIconPath,
                               Control::EditTitle};
constexpr Control kBrowseButtons[] = {Control::BitBtnDBpath, Control::BitBtnImage, Control::BitBtnIcon};
constexpr Control kCheckBoxes[] = {Control::CboxNonCustom, Control::CboxMDBbak, Control::CboxUnClose};
constexpr Control kSnapshotActions[] = {Control::BitBtnAcSave, Control::BitBtnAcExit, Control::BitBtnAcQuit};
constexpr Control kPlainActions[] = {Control::BitBtnRestart, Control::BitBtnExit};

template <std::size_t N>
void Set(Layout& l, const Control (&controls)[N], Aspect aspect, bool value) {
  for (Control c : controls) l.steps.push_back({c, aspect, value});
}
void Set(Layout& l, Control c, Aspect aspect, bool value) { l.steps.push_back({c, aspect, value}); }

}  // namespace

bool OffersSnapshotActions(const MainSettings& settings) {
  // The same test that decides whether a launch takes a snapshot.
  return TakesSnapshot(settings.DBPath, settings.MDBbak);
}

bool IsCompact(const MainSettings& settings) { return settings.Customize == "Disable"; }

Layout EndModeLayout(const MainSettings& settings, int compactHeight) {
  Layout l;
  Set(l, kFields, Aspect::ReadOnly, true);
  Set(l, kBrowseButtons, Aspect::Visible, false);
  Set(l, Control::BitBtnBackup, Aspect::Visible, true);
  Set(l, kCheckBoxes, Aspect::Enabled, false);  // their ticks stay
  // Maintenance is shown for a database target and otherwise left as it is:
  // hidden by design and by settings mode.
  if (IsDatabaseTarget(settings.DBPath)) {
    Set(l, Control::BitBtnAcRepair, Aspect::Visible, true);
    Set(l, Control::BitBtnAcCompact, Aspect::Visible, true);
  }
  Set(l, Control::BitBtnClose, Aspect::Visible, false);
  Set(l, Control::BitBtnOK, Aspect::Visible, false);
  Set(l, Control::BitBtnCustom, Aspect::Visible, true);
  const bool snapshot = OffersSnapshotActions(settings);
  Set(l, kSnapshotActions, Aspect::Visible, snapshot);
  Set(l, kPlainActions, Aspect::Visible, !snapshot);
  if (IsCompact(settings)) l.outerHeight = compactHeight;
  return l;
}

Layout SettingsModeLayout() {
  Layout l;
  Set(l, kFields, Aspect::ReadOnly, false);
  Set(l, Control::BitBtnClose, Aspect::Visible, true);
  Set(l, Control::BitBtnOK, Aspect::Visible, true);
  Set(l, kBrowseButtons, Aspect::Visible, true);
  for (Control c : {Control::BitBtnBackup, Control::BitBtnCustom, Control::BitBtnAcSave,
                    Control::BitBtnAcExit, Control::BitBtnAcQuit, Control::BitBtnAcRepair,
                    Control::BitBtnAcCompact, Control::BitBtnRestart, Control::BitBtnExit}) {
    Set(l, c, Aspect::Visible, false);
  }
  Set(l, kCheckBoxes, Aspect::Enabled, true);
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
