// Every schedule of outcomes over the first disk calls of each action that
// moves data: the start snapshot, discard, save & exit, save & continue and
// the settings save. Each call may work, fail, stop part way (a write or
// copy that leaves half its bytes) or do its work and still report failure
// (a copy that completed, a move that happened). Whatever the schedule, the
// target, the snapshot and the backup copy keep their bytes somewhere, no
// partial file stands under one of their names, and whenever the files are
// not as a clean run leaves them, the user is told.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"
#include "launch/end_of_run.h"
#include "launch/snapshot.h"
#include "settings/ini_document.h"
#include "settings/settings.h"

namespace quandrel {
namespace {

using fakes::FakeFiles;
using Outcome = FakeFiles::Outcome;

const char kTarget[] = "D:\\DB\\SALES.MDB";

// Calls visit(schedule) for each of the 4^length schedules.
template <typename Visit>
int ForEachSchedule(int length, Visit visit) {
  static const Outcome kOutcomes[] = {Outcome::Works, Outcome::Fails, Outcome::StopsPartWay,
                                      Outcome::DoneButFails};
  int total = 1;
  for (int i = 0; i < length; ++i) total *= 4;
  for (int n = 0; n < total; ++n) {
    std::vector<Outcome> schedule;
    for (int i = 0, rest = n; i < length; ++i, rest /= 4) schedule.push_back(kOutcomes[rest % 4]);
    visit(schedule);
  }
  return total;
}

std::string Describe(const std::vector<Outcome>& schedule) {
  static const char* const kNames[] = {"works", "fails", "stops part way", "done but fails"};
  std::string s = "schedule:";
  for (Outcome o : schedule) s += std::string(" ") + kNames[static_cast<int>(o)] + ";";
  return s;
}

// After the launched program ended: the target holds the changes ("new"),
// the snapshot the data from before the launch ("old"), the backup copy the
// previous save ("older") or nothing yet.
struct EndOfRunFiles {
  FakeFiles files;
  fakes::FakeSystem system;
  RunFiles run = RunFilesFor(kTarget);
  RunSnapshot taken{true, kTarget};
  std::optional<std::string> backupBefore;

  EndOfRunFiles(bool withBackup, const std::vector<Outcome>& schedule) {
    files.Put(run.target, "new");
    files.Put(run.snapshot, "old");
    if (withBackup) files.Put(run.backup, "older");
    backupBefore = Backup();
    files.Schedule(schedule);
  }
  std::optional<std::string> Target() const { return files.Get(run.target); }
  std::optional<std::string> Snapshot() const { return files.Get(run.snapshot); }
  std::optional<std::string> Backup() const { return files.Get(run.backup); }
  bool OldKept() const { return Target() == "old" || Snapshot() == "old" || Backup() == "old"; }
};

TEST(FaultSchedules, StartSnapshot) {
  int walked = 0;
  for (bool stale : {false, true}) {
    walked += ForEachSchedule(4, [&](const std::vector<Outcome>& schedule) {
      FakeFiles files;
      const RunFiles run = RunFilesFor(kTarget);
      files.Put(run.target, "data");
      files.Put(run.backup, "older");
      if (stale) files.Put(run.snapshot, "stale");  // left by an earlier run
      files.Schedule(schedule);

      const SnapshotResult result = TakeSnapshot(files, run, nullptr);
      const RunSnapshot state = SnapshotState(run, result);

      EXPECT_EQ(files.Get(run.target), "data") << Describe(schedule);
      EXPECT_EQ(files.Get(run.backup), "older") << Describe(schedule);
      // Only a whole copy stands under the snapshot's name.
      const std::optional<std::string> snapshot = files.Get(run.snapshot);
      if (snapshot) {
        EXPECT_TRUE(snapshot == "data" || snapshot == "stale") << Describe(schedule);
      }
      // The run counts on a snapshot only when it is there; otherwise the
      // user is told (the failed result becomes the error box).
      if (state.taken) {
        EXPECT_EQ(snapshot, "data") << Describe(schedule);
      }
      EXPECT_EQ(state.taken, result.result.ok) << Describe(schedule);
    });
  }
  EXPECT_EQ(walked, 512);
}

TEST(FaultSchedules, Discard) {
  for (bool withBackup : {true, false}) {
    ForEachSchedule(3, [&](const std::vector<Outcome>& schedule) {
      EndOfRunFiles f(withBackup, schedule);
      const EndOutcome out = RestoreSnapshot(f.files, f.system, f.run, f.taken);

      EXPECT_TRUE(f.OldKept()) << Describe(schedule);
      EXPECT_EQ(f.Backup(), f.backupBefore) << Describe(schedule);
      if (f.Target() != "old") {
        // Not put back: nothing changed, and the window stays for another try.
        EXPECT_EQ(f.Target(), "new") << Describe(schedule);
        EXPECT_EQ(f.Snapshot(), "old") << Describe(schedule);
        EXPECT_FALSE(out.closeWindow) << Describe(schedule);
      }
      const bool clean = f.Target() == "old" && !f.Snapshot();
      if (!clean || !out.closeWindow) {
        EXPECT_FALSE(out.errors.empty()) << Describe(schedule);
      }
    });
  }
}

TEST(FaultSchedules, SaveAndExit) {
  for (bool withBackup : {true, false}) {
    ForEachSchedule(3, [&](const std::vector<Outcome>& schedule) {
      EndOfRunFiles f(withBackup, schedule);
      const EndOutcome out = KeepChanges(f.files, f.system, f.run, f.taken);

      EXPECT_EQ(f.Target(), "new") << Describe(schedule);
      EXPECT_TRUE(f.Snapshot() == "old" || f.Backup() == "old") << Describe(schedule);
      EXPECT_TRUE(f.Backup() == f.backupBefore || f.Backup() == "old") << Describe(schedule);
      if (f.Snapshot()) {
        EXPECT_EQ(f.Snapshot(), "old") << Describe(schedule);
      }
      // Closing leaves the snapshot to be overwritten by the next start, so
      // the window closes only once its data is the backup copy.
      if (out.closeWindow) {
        EXPECT_EQ(f.Backup(), "old") << Describe(schedule);
      }
      const bool clean = f.Backup() == "old" && !f.Snapshot();
      if (!clean || !out.closeWindow) {
        EXPECT_FALSE(out.errors.empty()) << Describe(schedule);
      }
    });
  }
}

TEST(FaultSchedules, SaveAndContinue) {
  int walked = 0;
  for (bool withBackup : {true, false}) {
    walked += ForEachSchedule(5, [&](const std::vector<Outcome>& schedule) {
      EndOfRunFiles f(withBackup, schedule);
      const ContinueOutcome out = SaveAndSnapshot(f.files, f.system, f.run, f.taken, nullptr);

      EXPECT_EQ(f.Target(), "new") << Describe(schedule);
      EXPECT_TRUE(f.Snapshot() == "old" || f.Backup() == "old") << Describe(schedule);
      EXPECT_TRUE(f.Backup() == f.backupBefore || f.Backup() == "old") << Describe(schedule);
      if (f.Snapshot()) {
        EXPECT_TRUE(f.Snapshot() == "old" || f.Snapshot() == "new") << Describe(schedule);
      }
      if (out.relaunch) {
        // The fresh snapshot replaces the old one only after the old one
        // became the backup copy.
        EXPECT_EQ(f.Backup(), "old") << Describe(schedule);
        if (out.snapshot.taken) {
          EXPECT_EQ(f.Snapshot(), "new") << Describe(schedule);
        }
        if (!out.snapshot.taken) {
          EXPECT_FALSE(out.errors.empty()) << Describe(schedule);
        }
      } else {
        EXPECT_FALSE(out.errors.empty()) << Describe(schedule);
      }
      const bool clean = out.relaunch && out.snapshot.Of(kTarget) && f.Backup() == "old" && f.Snapshot() == "new";
      if (!clean) {
        EXPECT_FALSE(out.errors.empty()) << Describe(schedule);
      }
    });
  }
  EXPECT_EQ(walked, 2048);
}

// The database's folder goes away between two steps of an action (before
// disk call n) and comes back afterwards. Whatever step it vanished before,
// the data of every file is still there, the user is told whenever the
// action did not end cleanly, and the same action, pressed again once the
// folder is back, ends cleanly.
TEST(FaultSchedules, FolderGoesAwayBetweenTwoSteps) {
  enum class Action { Discard, SaveAndExit, SaveAndContinue };
  for (Action action : {Action::Discard, Action::SaveAndExit, Action::SaveAndContinue}) {
    for (int n = 1; n <= 6; ++n) {
      SCOPED_TRACE("action " + std::to_string(static_cast<int>(action)) + ", away before call " +
                   std::to_string(n));
      EndOfRunFiles f(true, {});
      f.files.TakeFolderAwayBeforeCall(n, "D:\\DB");
      RunSnapshot state = f.taken;
      bool done = false;
      std::vector<std::string> errors;
      auto press = [&] {
        if (action == Action::SaveAndContinue) {
          ContinueOutcome out = SaveAndSnapshot(f.files, f.system, f.run, state, nullptr);
          state = out.snapshot;
          errors = out.errors;
          done = out.relaunch;
        } else {
          EndOutcome out = action == Action::Discard ? RestoreSnapshot(f.files, f.system, f.run, state)
                                                     : KeepChanges(f.files, f.system, f.run, state);
          errors = out.errors;
          done = out.closeWindow;
        }
      };
      press();
      f.files.BringFolderBack("D:\\DB");
      EXPECT_TRUE(f.OldKept());
      if (action != Action::Discard) {
        EXPECT_EQ(f.Target(), "new");
      }
      EXPECT_TRUE(f.Backup() == "older" || f.Backup() == "old");
      const bool clean = action == Action::Discard       ? f.Target() == "old" && !f.Snapshot()
                         : action == Action::SaveAndExit ? f.Backup() == "old" && !f.Snapshot()
                                                         : f.Backup() == "old" && f.Snapshot() == "new";
      if (!clean || !done) {
        EXPECT_FALSE(errors.empty());
      }
      if (!done) {
        press();
        EXPECT_TRUE(done) << (errors.empty() ? "" : errors.front());
      }
      if (action == Action::Discard) {
        EXPECT_EQ(f.Target(), "old");
      }
      if (action == Action::SaveAndExit) {
        EXPECT_EQ(f.Backup(), "old");
      }
      if (action == Action::SaveAndContinue) {
        EXPECT_EQ(f.Backup(), "old");
      }
    }
  }
}

const char kIni[] = "D:\\Work\\Menu.INI";
const char kOldIni[] =
    "; keep me\r\n"
    "[Execute]\r\nDBPath=old.mdb\r\n"
    "[System]\r\nImagePath=old.bmp\r\nIconPath=old.ico\r\nTitle=old\r\nCustomize=Enable\r\n"
    "MDBbak=Use\r\nUnClose=Never\r\n"
    "[BackUp]\r\nMulti=Week\r\n";

TEST(FaultSchedules, SettingsSave) {
  MainSettings next;
  next.DBPath = "new.mdb";
  next.ImagePath = "new.bmp";
  next.IconPath = "new.ico";
  next.Title = "new";
  next.Customize = "Disable";
  next.MDBbak = "Never";
  next.UnClose = "Use";
  const std::vector<std::string> oldValues = {"old.mdb", "old.bmp", "old.ico", "old", "Enable", "Use", "Never"};
  const std::vector<std::string> newValues = {"new.mdb", "new.bmp", "new.ico", "new", "Disable", "Never", "Use"};

  const int walked = ForEachSchedule(6, [&](const std::vector<Outcome>& schedule) {
    FakeFiles files;
    files.Put(kIni, kOldIni);
    files.Schedule(schedule);
    const SettingsWrite w = SaveMainSettings(files, kIni, next);
    files.Schedule({});

    // The file is whole: what the batch does not own is there as it was,
    // and the keys are new up to some point and old after it.
    const std::string bytes = files.Get(kIni).value_or("");
    EXPECT_EQ(bytes.rfind("; keep me\r\n", 0), 0u) << Describe(schedule) << "\n" << bytes;
    EXPECT_NE(bytes.find("[BackUp]\r\nMulti=Week\r\n"), std::string::npos) << Describe(schedule) << "\n" << bytes;
    const MainSettings now = LoadMainSettings(files, kIni);
    const std::vector<std::string> values = {now.DBPath, now.ImagePath, now.IconPath, now.Title,
                                             now.Customize, now.MDBbak, now.UnClose};
    std::size_t newUpTo = 0;
    while (newUpTo < values.size() && values[newUpTo] == newValues[newUpTo]) ++newUpTo;
    for (std::size_t i = newUpTo; i < values.size(); ++i) {
      EXPECT_EQ(values[i], oldValues[i]) << Describe(schedule) << " key " << i;
    }
    // Told whenever the new settings are not all written.
    if (newUpTo < values.size()) {
      EXPECT_FALSE(w.ok) << Describe(schedule);
    }
    if (!w.ok) {
      EXPECT_EQ(w.message, std::string(kIni) + " に書き込めません");
    }
    // A partial file may be left only when its removal failed too.
    if (files.Has(std::string(kIni) + ".part")) {
      EXPECT_FALSE(w.ok) << Describe(schedule);
    }
  });
  EXPECT_EQ(walked, 4096);
}

}  // namespace
}  // namespace quandrel
