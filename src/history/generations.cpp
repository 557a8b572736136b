#include "history/generations.h"

#include <algorithm>

#include "platform/os_errors.h"
#include "text/sjis.h"

namespace quandrel::history {

namespace {

// More than this many names taken in one second means something else is
// wrong; the move then fails on its own.
constexpr int kMostInOneSecond = 99;

struct ReasonName {
  Reason reason;
  const char* word;
};
const ReasonName kReasons[] = {
    {Reason::SaveAndExit, "保存終了"},  {Reason::SaveAndContinue, "保存継続"},
    {Reason::Discard, "破棄終了"},      {Reason::BeforeRestore, "復元前"},
    {Reason::SettingsSave, "設定保存"}, {Reason::Interrupted, "中断"},
};

bool IsDigits(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Join(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

// Newest first: by time, then by the sequence within one second.
bool Newer(const Generation& a, const Generation& b) {
  if (a.stamp != b.stamp) return a.stamp > b.stamp;
  return a.sequence > b.sequence;
}

// Copies `source` to `generation` through a name of its own, so that no
// partial copy ever stands under a generation's name.
OsResult CopyIn(Files& files, const std::string& source, const std::string& generation) {
  const std::string partial = generation + ".part";
  OsResult copied = files.Copy(source, partial, nullptr);
  if (copied) copied = files.Move(partial, generation);
  if (!copied && files.FileExists(partial)) files.Remove(partial);
  return copied;
}

}  // namespace

const char* ReasonWord(Reason reason) {
  for (const ReasonName& r : kReasons) {
    if (r.reason == reason) return r.word;
  }
  return "";
}

std::string StampAsDateTime(const std::string& stamp) {
  if (stamp.size() != 15 || stamp[8] != '-') return stamp;
  return stamp.substr(0, 4) + "/" + stamp.substr(4, 2) + "/" + stamp.substr(6, 2) + " " + stamp.substr(9, 2) + ":" +
         stamp.substr(11, 2) + ":" + stamp.substr(13, 2);
}

std::string FolderFor(const std::string& target) {
  return Join(text::FolderPart(target), text::FileNamePart(target) + " の履歴");
}

std::string NameFor(const std::string& stamp, int sequence, Reason reason, const std::string& target) {
  std::string name = stamp;
  if (sequence > 1) name += "-" + std::to_string(sequence);
  return name + " " + ReasonWord(reason) + text::Extension(target);
}

std::optional<Generation> ParseName(const std::string& name) {
  // "YYYYMMDD-HHMMSS[-n] <word><ext>"
  const std::size_t blank = name.find(' ');
  if (blank == std::string::npos || blank < 15) return std::nullopt;
  const std::string when = name.substr(0, blank);
  Generation g;
  g.stamp = when.substr(0, 15);
  if (!IsDigits(g.stamp.substr(0, 8)) || g.stamp[8] != '-' || !IsDigits(g.stamp.substr(9, 6))) {
    return std::nullopt;
  }
  if (when.size() > 15) {
    const std::string seq = when.substr(16);
    if (when[15] != '-' || !IsDigits(seq) || seq.size() > 2 || seq[0] == '0') return std::nullopt;
    g.sequence = std::stoi(seq);
    if (g.sequence < 2) return std::nullopt;
  }
  const std::string rest = name.substr(blank + 1);
  for (const ReasonName& r : kReasons) {
    const std::string word = r.word;
    if (rest.compare(0, word.size(), word) == 0) {
      const std::string ext = rest.substr(word.size());
      // Nothing but the extension may follow: a copy Explorer made
      // ("... - コピー.mdb") is the user's file, not a generation.
      // A copy cut short ("....mdb.part") is no generation either.
      if (!ext.empty() && (ext[0] != '.' || ext.find_first_of(" .", 1) != std::string::npos)) return std::nullopt;
      g.reason = r.reason;
      return g;
    }
  }
  return std::nullopt;
}

std::vector<Generation> List(Files& files, const std::string& target) {
  const std::string folder = FolderFor(target);
  std::vector<Generation> found;
  for (const FileEntry& e : files.FindEntries(Join(folder, "*"))) {
    if (e.folder) continue;
    std::optional<Generation> g = ParseName(e.name);
    if (!g) continue;
    g->path = Join(folder, e.name);
    g->size = e.size;
    g->lastWrite = e.lastWrite;
    g->readOnly = e.readOnly;
    found.push_back(*g);
  }
  std::sort(found.begin(), found.end(), Newer);
  return found;
}

Kept Keep(Files& files, System& system, const std::string& target, const std::string& source, Reason reason) {
  Kept kept;
  const std::string folder = FolderFor(target);
  const std::string stamp = system.FileTimeStamp();
  // Refused before anything is made: the longest name this could take, a
  // copy's temporary name included, must fit the file functions.
  const std::string longest = Join(folder, NameFor(stamp, kMostInOneSecond, reason, target)) + ".part";
  if (text::CharacterCount(files.FullPath(longest)) > kMaxPathCharacters) {
    kept.result = OsResult::Failure(os_error::kFilenameTooLong);
    return kept;
  }
  kept.result = files.MakeFolder(folder);
  if (!kept.result) return kept;

  // The sequence goes on from the highest of that second whatever the
  // reason, so that the names sort in the order the states were set aside.
  int first = 1;
  for (const Generation& g : List(files, target)) {
    if (g.stamp == stamp) first = std::max(first, g.sequence + 1);
  }
  std::string generation;
  for (int sequence = first; sequence <= kMostInOneSecond; ++sequence) {
    generation = Join(folder, NameFor(stamp, sequence, reason, target));
    if (!files.FileExists(generation)) break;
  }
  // A plain move: it never replaces a generation that is there already.
  kept.result = files.Move(source, generation);
  kept.moved = kept.result.ok;
  if (!kept.result && kept.result.error == os_error::kNotSameDevice) kept.result = CopyIn(files, source, generation);
  if (!kept.result) return kept;
  kept.generation = generation;
  kept.markedReadOnly = files.SetReadOnly(generation, true);
  return kept;
}

OsResult PutBack(Files& files, const Kept& kept, const std::string& source) {
  if (!kept.result) return OsResult::Success();  // nothing was set aside
  if (!kept.moved) {
    files.SetReadOnly(kept.generation, false);
    return files.Remove(kept.generation);
  }
  // The move back must not replace whatever stands at the source's name now.
  OsResult back = files.Move(kept.generation, source);
  if (!back) return back;
  return files.SetReadOnly(source, false);
}

Pruned Prune(Files& files, const std::string& target, int keep, const DatabaseCheck& check) {
  Pruned pruned;
  std::vector<Generation> all = List(files, target);
  if (keep < 0) keep = 0;
  if (all.size() <= static_cast<std::size_t>(keep)) return pruned;

  // The newest sound generation stays, wherever it stands.
  std::size_t spare = all.size();
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (!check || check(all[i].path)) {
      spare = i;
      break;
    }
  }
  for (std::size_t i = all.size(); i-- > static_cast<std::size_t>(keep);) {
    if (i == spare) continue;
    const std::string& path = all[i].path;
    OsResult writable = files.SetReadOnly(path, false);
    OsResult removed = writable ? files.Remove(path) : writable;
    if (removed) {
      pruned.removed.push_back(path);
    } else {
      if (writable) files.SetReadOnly(path, true);  // it stays: keep it safe from accidents
      pruned.failed.emplace_back(path, removed);
    }
  }
  return pruned;
}

}  // namespace quandrel::history
