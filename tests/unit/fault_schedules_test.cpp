// Every schedule of outcomes over the first disk calls of each action that
// moves data: the start snapshot, discard, save & exit, save & continue,
// the settings save, and with history on the restore of an earlier state
// and the pruning of old generations. Each call may work, fail, stop part way (a write or
// copy that leaves half its bytes) or do its work and still report failure
// (a copy that completed, a move that happened). Whatever the schedule, the
// target, the snapshot and the backup copy keep their bytes somewhere, no
// partial file stands under one of their names, and whenever the files are
// not as a clean run leaves them, the user is told.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"
#include "history/generations.h"
#include "history/keep_then_replace.h"
#include "history/restore.h"
#include "history/run_log.h"
#include "launch/history_keeping.h"
#include "launch/end_of_run.h"
#include "launch/leftover_snapshot.h"
#include "launch/snapshot.h"
#include "made_up_database.h"
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

// A save of a run whose snapshot fails the database check while the backup
// copy passes it: the snapshot goes aside, whatever its move does; the
// sound backup copy is never touched.
TEST(FaultSchedules, SaveKeepingASoundBackup) {
  const std::string sound = testing::SoundDatabase("older");
  for (bool continues : {false, true}) {
    ForEachSchedule(4, [&](const std::vector<Outcome>& schedule) {
      FakeFiles files;
      fakes::FakeSystem system;
      const RunFiles run = RunFilesFor(kTarget);
      const std::string aside = AsidePath(kTarget, system.fileTimeStamp, kAsideUnsound);
      files.Put(run.target, "");
      files.Put(run.snapshot, "cut");
      files.Put(run.backup, sound);
      files.Schedule(schedule);
      bool goesOn = false;
      std::vector<std::string> errors;
      if (continues) {
        const ContinueOutcome out = SaveAndSnapshot(files, system, run, RunSnapshot{true, kTarget}, nullptr);
        goesOn = out.relaunch;
        errors = out.errors;
      } else {
        const EndOutcome out = KeepChanges(files, system, run, RunSnapshot{true, kTarget});
        goesOn = out.closeWindow;
        errors = out.errors;
      }
      EXPECT_EQ(files.Get(run.backup), sound) << Describe(schedule);
      EXPECT_EQ(files.Get(run.target), "") << Describe(schedule);
      // The snapshot's bytes are under one of its two names.
      EXPECT_TRUE(files.Get(run.snapshot) == "cut" || files.Get(aside) == "cut") << Describe(schedule);
      // Going on (closing, or a fresh snapshot) only once it is aside.
      if (goesOn) {
        EXPECT_EQ(files.Get(aside), "cut") << Describe(schedule);
      }
      // The user is told in every case: it went aside, or it could not.
      EXPECT_FALSE(errors.empty()) << Describe(schedule);
    });
  }
}

// The two answers that move files at a start after a run that never ended.
TEST(FaultSchedules, LeftoverSnapshot) {
  const std::string before = testing::SoundDatabase("before");
  const std::string now = testing::SoundDatabase("now");
  for (LeftoverChoice choice : {LeftoverChoice::PutBack, LeftoverChoice::KeepAside}) {
    ForEachSchedule(2, [&](const std::vector<Outcome>& schedule) {
      FakeFiles files;
      fakes::FakeSystem system;
      const RunFiles run = RunFilesFor(kTarget);
      const std::string aside = AsidePath(kTarget, system.fileTimeStamp, kAsideBeforeBreak);
      files.Put(run.target, now);
      files.Put(run.snapshot, before);
      files.Schedule(schedule);
      const LeftoverOutcome out = SettleLeftover(files, system, run, choice, aside);

      EXPECT_TRUE(files.Get(run.target) == before || files.Get(run.snapshot) == before || files.Get(aside) == before)
          << Describe(schedule);
      if (choice == LeftoverChoice::KeepAside) {
        EXPECT_EQ(files.Get(run.target), now) << Describe(schedule);
      }
      // The start goes on only when the snapshot's name is free, so that its
      // own snapshot replaces nothing of the earlier run.
      if (out.start) {
        EXPECT_FALSE(files.Has(run.snapshot)) << Describe(schedule);
      } else {
        EXPECT_FALSE(out.errors.empty()) << Describe(schedule);
      }
    });
  }
}

// Every sequence of three runs, each run made of the answer at its start
// to a snapshot left over, what the program does to the database, and how
// the run ends, with the save's question answered yes. Once a version of
// the database that passes the check has existed beside the database, the
// newest such version is still there after each step, unless the user
// confirmed its removal (a discard, or putting a left-over snapshot back).
// The runs hold no snapshot: a hold matters only while a launcher runs,
// and each start here comes after the one before has ended.
class RunSequences {
 public:
  enum Effect { kKeeps, kNewSound, kDamages };
  enum End { kSaveExit, kSaveContinue, kDiscard, kAbandon, kSettingsSave };

  int Explore() {
    State first;
    first.files.Put(run_.target, testing::SoundDatabase("1"));
    Next(first, 0);
    return sequences_;
  }

 private:
  struct State {
    FakeFiles files;
    RunSnapshot snapshot;
    bool running = false;  // a launcher has its snapshot and program up
    int versions = 1;      // sound versions the program made so far
    int newest = 1;        // the newest sound version that must stay
    std::string story;
  };
  static constexpr int kRuns = 3;

  // The tags of the sound versions on disk beside the target.
  static std::set<int> SoundOnDisk(const FakeFiles& files) {
    std::set<int> tags;
    for (const std::string& name : files.List()) {
      const std::string tag = testing::TagOf(files.Get(name).value_or(""));
      if (!tag.empty()) tags.insert(std::stoi(tag));
    }
    return tags;
  }

  // After each step: the newest sound version there has been is still
  // there (a newer one the program made counts from its making); a
  // confirmed removal lets it go, and the newest one left counts from then on.
  static void Checked(State& s, const std::string& what, bool confirmedRemoval) {
    s.story += what + "; ";
    const std::set<int> tags = SoundOnDisk(s.files);
    if (confirmedRemoval) {
      s.newest = tags.empty() ? 0 : *tags.rbegin();
      return;
    }
    if (!tags.empty() && *tags.rbegin() > s.newest) s.newest = *tags.rbegin();
    if (s.newest != 0) {
      EXPECT_TRUE(tags.count(s.newest)) << s.story << "version " << s.newest << " is gone";
    }
  }

  void Next(const State& s, int r) {
    if (r == kRuns || ::testing::Test::HasFailure()) {
      ++sequences_;
      return;
    }
    system_.fileTimeStamp = "2026121" + std::to_string(r);
    if (s.running) {
      Run(s, r);
      return;
    }
    // The answer matters only when something is left over.
    const bool asked = IsLeftoverSnapshot(const_cast<FakeFiles&>(s.files), run_);
    for (int button : asked ? std::vector<int>{0, 1, 2} : std::vector<int>{1}) {
      State t = s;
      fakes::FakeDialogs dialogs;
      dialogs.choices = {button};
      const LeftoverOutcome out = ResolveLeftoverSnapshot(t.files, dialogs, system_, run_);
      const char* names[] = {"put back", "kept aside", "stopped"};
      Checked(t, asked ? std::string("start, left over ") + names[button] : "start", asked && button == 0);
      if (!out.start) {
        Next(t, r + 1);
        continue;
      }
      t.snapshot = SnapshotState(run_, TakeSnapshot(t.files, run_, nullptr));
      t.running = true;
      Run(t, r);
    }
  }

  // The program's effect, then the end of the run.
  void Run(const State& s, int r) {
    for (Effect effect : {kKeeps, kNewSound, kDamages}) {
      State t = s;
      if (effect == kNewSound) t.files.Put(run_.target, testing::SoundDatabase(std::to_string(++t.versions)));
      if (effect == kDamages) t.files.Put(run_.target, "");
      Checked(t, effect == kKeeps ? "unchanged" : effect == kNewSound ? "changed" : "emptied", false);
      for (End end : {kSaveExit, kSaveContinue, kDiscard, kAbandon, kSettingsSave}) {
        State u = t;
        switch (end) {
          case kSaveExit:
            if (KeepChanges(u.files, system_, run_, u.snapshot).closeWindow) u.running = false;
            Checked(u, "save & exit", false);
            break;
          case kSaveContinue:
            u.snapshot = SaveAndSnapshot(u.files, system_, run_, u.snapshot, nullptr).snapshot;
            Checked(u, "save & continue", false);
            break;
          case kDiscard:
            if (RestoreSnapshot(u.files, system_, run_, u.snapshot).closeWindow) u.running = false;
            Checked(u, "discard", true);
            break;
          case kAbandon:
            u.running = false;
            Checked(u, "window closed or launcher killed", false);
            break;
          case kSettingsSave:
            DropSnapshot(u.files, system_, run_, u.snapshot);
            u.snapshot = RunSnapshot{};
            u.running = false;
            Checked(u, "settings saved, window closed", false);
            break;
        }
        Next(u, r + 1);
      }
    }
  }

  const RunFiles run_ = RunFilesFor(kTarget);
  fakes::FakeSystem system_;
  int sequences_ = 0;
};

TEST(FaultSchedules, TheNewestSoundDatabaseOutlivesEverySequenceOfRuns) {
  const int sequences = RunSequences().Explore();
  EXPECT_GT(sequences, 3000);
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
  next.Customize = Word::Disable;
  next.MDBbak = Word::Never;
  next.UnClose = Word::Use;
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
                                             now.Customize.Text(), now.MDBbak.Text(), now.UnClose.Text()};
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

const char kHistory[] = "D:\\DB\\SALES.MDB の履歴";

// The target ("current") goes back to an earlier state ("monday"); the log
// is written too, and its appends fail or not with the rest.
TEST(FaultSchedules, Restore) {
  const std::string chosen = std::string(kHistory) + "\\20261209-170000 保存終了.MDB";
  const int walked = ForEachSchedule(7, [&](const std::vector<Outcome>& schedule) {
    FakeFiles files;
    fakes::FakeSystem system;
    files.Put(kTarget, "current");
    files.Put(chosen, "monday");
    files.Schedule(schedule);
    history::RunLog log(files, system, "D:\\Work\\Quandrel.INI", true);
    const history::RestoreOutcome out =
        history::Restore(files, system, log, {kTarget, chosen, "2026/12/09 17:00:00", 10}, nullptr, nullptr, nullptr);
    files.Schedule({});

    // The chosen state is never touched, and the state from before is in
    // the target or in a generation; no generation is ever partial.
    EXPECT_EQ(files.Get(chosen), "monday") << Describe(schedule);
    bool currentKept = files.Get(kTarget) == "current";
    for (const history::Generation& g : history::List(files, kTarget)) {
      const std::optional<std::string> bytes = files.Get(g.path);
      EXPECT_TRUE(bytes == "current" || bytes == "monday") << Describe(schedule) << " " << g.path;
      currentKept = currentKept || bytes == "current";
    }
    EXPECT_TRUE(currentKept) << Describe(schedule);
    // The target is whole: one state or the other.
    const std::optional<std::string> target = files.Get(kTarget);
    if (target) {
      EXPECT_TRUE(target == "current" || target == "monday") << Describe(schedule);
    }
    if (out.restored) {
      EXPECT_EQ(target, "monday") << Describe(schedule);
    } else {
      EXPECT_FALSE(out.errors.empty()) << Describe(schedule);
    }
    // Anything but the clean end is told.
    if (target != "monday" || out.keptAs.empty()) {
      EXPECT_FALSE(out.errors.empty()) << Describe(schedule);
    }
  });
  EXPECT_EQ(walked, 16384);
}

// A save with history on: the backup copy ("older") is set aside, the
// snapshot ("old") takes its place, one older generation ("oldest") is
// pruned. No state is ever lost, and nothing short of the clean end goes
// untold (the caller words a failed move of its own).
TEST(FaultSchedules, SaveKeepingTheBackupAsAGeneration) {
  const RunFiles run = RunFilesFor(kTarget);
  const std::string oldest = std::string(kHistory) + "\\20261201-080000 保存終了.MDB";
  const int walked = ForEachSchedule(7, [&](const std::vector<Outcome>& schedule) {
    FakeFiles files;
    fakes::FakeSystem system;
    files.Put(run.target, "new");
    files.Put(run.snapshot, "old");
    files.Put(run.backup, "older");
    files.Put(oldest, "oldest");
    files.Schedule(schedule);
    history::RunLog log(files, system, "D:\\Work\\Quandrel.INI", true);
    const history::Replaced out = history::KeepThenReplace(
        files, system, log, {kTarget, run.backup, history::Reason::SaveAndExit, 1}, nullptr,
        [&] { return files.Replace(run.snapshot, run.backup); });
    files.Schedule({});

    std::vector<std::string> states;
    for (const std::string& path : {run.target, run.snapshot, run.backup}) {
      if (auto b = files.Get(path)) states.push_back(*b);
    }
    for (const history::Generation& g : history::List(files, kTarget)) {
      const std::optional<std::string> bytes = files.Get(g.path);
      ASSERT_TRUE(bytes) << Describe(schedule);
      EXPECT_TRUE(bytes == "older" || bytes == "oldest") << Describe(schedule) << " " << g.path;
      states.push_back(*bytes);
    }
    auto has = [&](const char* s) { return std::find(states.begin(), states.end(), s) != states.end(); };
    EXPECT_TRUE(has("new") && has("old") && has("older")) << Describe(schedule);
    EXPECT_EQ(files.Get(run.target), "new") << Describe(schedule);
    if (out.done) {
      EXPECT_EQ(files.Get(run.backup), "old") << Describe(schedule);
      EXPECT_FALSE(out.generation.empty()) << Describe(schedule);
    } else if (out.moveResult.ok) {
      // The move never ran: the state could not be set aside, and that is told.
      EXPECT_FALSE(out.errors.empty()) << Describe(schedule);
    }
    if (!out.done && files.Get(run.backup) != "older") {
      EXPECT_FALSE(out.errors.empty()) << Describe(schedule);
    }
    if (out.done && files.Has(oldest)) {
      EXPECT_FALSE(out.errors.empty()) << Describe(schedule);
    }
  });
  EXPECT_EQ(walked, 16384);
}

// The end-of-run actions themselves with history on (one generation kept,
// one older there to prune). Whatever the schedule, the changes ("new"),
// the state before the run ("old") and the backup copy ("older") are each
// still in the target, the snapshot, the backup copy or a generation, no
// file under those names is partial, and anything short of the clean end
// is told.
TEST(FaultSchedules, EndOfRunActionsKeepingHistory) {
  enum class Action { Discard, SaveAndExit, SaveAndContinue, SettingsSave };
  const std::string oldest = std::string(kHistory) + "\\20261201-080000 保存終了.MDB";
  for (Action action : {Action::Discard, Action::SaveAndExit, Action::SaveAndContinue, Action::SettingsSave}) {
    const int walked = ForEachSchedule(7, [&](const std::vector<Outcome>& schedule) {
      EndOfRunFiles f(true, {});
      f.files.Put(oldest, "oldest");
      f.files.Schedule(schedule);
      SnapshotHold hold;
      hold.Take(f.files, f.run.snapshot);
      history::RunLog log(f.files, f.system, "D:\\Work\\Quandrel.INI", true);
      const HistoryKeeping history{1, &log};
      std::vector<std::string> errors;
      bool ended = false;  // the window closes or the program starts again
      switch (action) {
        case Action::Discard: {
          EndOutcome out = RestoreSnapshot(f.files, f.system, f.run, f.taken, &hold, history);
          errors = out.errors;
          ended = out.closeWindow;
          break;
        }
        case Action::SaveAndExit: {
          EndOutcome out = KeepChanges(f.files, f.system, f.run, f.taken, &hold, history);
          errors = out.errors;
          ended = out.closeWindow;
          break;
        }
        case Action::SaveAndContinue: {
          ContinueOutcome out = SaveAndSnapshot(f.files, f.system, f.run, f.taken, nullptr, &hold, history);
          errors = out.errors;
          ended = out.relaunch;
          break;
        }
        case Action::SettingsSave:
          errors = DropSnapshot(f.files, f.system, f.run, f.taken, &hold, history);
          ended = true;
          break;
      }
      hold.LetGo();
      f.files.Schedule({});

      std::vector<std::string> states;
      for (const std::string& path : {f.run.target, f.run.snapshot, f.run.backup}) {
        if (auto bytes = f.files.Get(path)) {
          EXPECT_TRUE(bytes == "new" || bytes == "old" || bytes == "older") << Describe(schedule) << " " << path;
          states.push_back(*bytes);
        }
      }
      std::vector<std::string> generations;
      for (const history::Generation& g : history::List(f.files, kTarget)) {
        const std::optional<std::string> bytes = f.files.Get(g.path);
        ASSERT_TRUE(bytes) << Describe(schedule);
        EXPECT_TRUE(bytes == "new" || bytes == "old" || bytes == "older" || bytes == "oldest")
            << Describe(schedule) << " " << g.path;
        states.push_back(*bytes);
        if (g.path != oldest) generations.push_back(*bytes);
      }
      auto has = [&](const char* state) { return std::find(states.begin(), states.end(), state) != states.end(); };
      EXPECT_TRUE(has("new") && has("old") && has("older")) << Describe(schedule);

      const std::vector<std::string> one = {action == Action::Discard        ? "new"
                                            : action == Action::SettingsSave ? "old"
                                                                             : "older"};
      bool clean = ended && generations == one && !f.files.Has(oldest);
      switch (action) {
        case Action::Discard: clean = clean && f.Target() == "old" && !f.Snapshot(); break;
        case Action::SaveAndExit: clean = clean && f.Backup() == "old" && !f.Snapshot(); break;
        case Action::SaveAndContinue: clean = clean && f.Backup() == "old" && f.Snapshot() == "new"; break;
        case Action::SettingsSave: clean = clean && !f.Snapshot() && f.Backup() == "older"; break;
      }
      if (!clean) {
        EXPECT_FALSE(errors.empty()) << Describe(schedule);
      }
    });
    EXPECT_EQ(walked, 16384);
  }
}

// Three generations pruned to one: the newest stays, no file is partial,
// and a generation that should have gone and did not is told.
TEST(FaultSchedules, Prune) {
  const std::vector<std::string> gens = {std::string(kHistory) + "\\20261210-010000 保存終了.MDB",
                                         std::string(kHistory) + "\\20261210-020000 保存終了.MDB",
                                         std::string(kHistory) + "\\20261210-030000 保存終了.MDB"};
  ForEachSchedule(6, [&](const std::vector<Outcome>& schedule) {
    FakeFiles files;
    for (std::size_t i = 0; i < gens.size(); ++i) {
      files.Put(gens[i], "gen" + std::to_string(i));
      files.SetReadOnly(gens[i], true);
    }
    files.Schedule(schedule);
    const history::Pruned pruned = history::Prune(files, kTarget, 1, nullptr);
    files.Schedule({});

    EXPECT_EQ(files.Get(gens[2]), "gen2") << Describe(schedule);
    for (std::size_t i = 0; i < 2; ++i) {
      if (files.Has(gens[i])) {
        EXPECT_EQ(files.Get(gens[i]), "gen" + std::to_string(i)) << Describe(schedule);
        bool told = false;
        for (const auto& failed : pruned.failed) told = told || failed.first == gens[i];
        EXPECT_TRUE(told) << Describe(schedule) << " " << gens[i];
      }
    }
  });
}

}  // namespace
}  // namespace quandrel
