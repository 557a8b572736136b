#include "history/run_log.h"

#include "history/generations.h"
#include "platform/failure_message.h"
#include "text/sjis.h"

namespace quandrel::history {

namespace {

constexpr std::size_t kFieldBytes = 1024;
// A part of the log far larger than rotation leaves it is not read for the
// history window (someone put another file there).
constexpr std::uint64_t kMostBytesRead = 8 * kLogLimitBytes;

const char kSucceeded[] = "成功";
const char kFailed[] = "失敗: ";

std::string BaseOf(const std::string& settingsPath) {
  const std::string ext = text::Extension(settingsPath);
  return settingsPath.substr(0, settingsPath.size() - ext.size());
}

std::string Field(const std::string& s) {
  std::string out = text::WholeCharacters(s);
  // Tabs, CR and LF are single bytes that no trail byte can be.
  for (char& c : out) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text::CutCharacters(out, kFieldBytes);
}

std::optional<std::uint64_t> SizeOf(Files& files, const std::string& path) {
  const std::optional<FileStamp> stamp = files.Stamp(path);
  if (!stamp) return std::nullopt;
  return stamp->size;
}

}  // namespace

const char kSnapshotAction[] = "起動前の控え";
const char kCompactAction[] = "最適化";
const char kRepairAction[] = "修復";
const char kBackupAction[] = "バックアップ";

std::string LogPathFor(const std::string& settingsPath) { return BaseOf(settingsPath) + ".LOG"; }
std::string OlderLogPathFor(const std::string& settingsPath) { return BaseOf(settingsPath) + ".1.LOG"; }

std::string FormatLine(const LogEntry& e) {
  return Field(e.time) + "\t" + Field(e.computer) + "\t" + Field(e.user) + "\t" + Field(e.action) + "\t" +
         Field(e.from) + "\t" + Field(e.to) + "\t" + Field(e.result) + "\r\n";
}

std::optional<LogEntry> ParseLine(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t from = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', from);
    fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
    if (tab == std::string::npos) break;
    from = tab + 1;
  }
  if (fields.size() < 7) return std::nullopt;
  return LogEntry{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]};
}

RunLog::RunLog(Files& files, System& system, const std::string& settingsPath, bool enabled, std::uint64_t limit)
    : files_(files),
      system_(system),
      path_(enabled ? LogPathFor(settingsPath) : std::string()),
      older_(OlderLogPathFor(settingsPath)),
      limit_(limit) {}

OsResult RunLog::Step(const std::string& action, const std::string& from, const std::string& to,
                      OsResult result) {
  if (!Enabled()) return OsResult::Success();
  LogEntry e;
  e.time = StampAsDateTime(system_.FileTimeStamp());
  e.computer = system_.ComputerName();
  e.user = system_.UserName();
  e.action = action;
  e.from = from;
  e.to = to;
  e.result = result ? std::string(kSucceeded) : std::string(kFailed) + ErrorReason(system_, result);
  return Append(FormatLine(e));
}

OsResult RunLog::Append(const std::string& line) {
  const std::optional<std::uint64_t> size = SizeOf(files_, path_);
  if (size && *size + line.size() > limit_) {
    // While another computer appends, the rename is refused: that one's
    // line goes in whole, this one follows it, and a later line rotates.
    files_.Replace(path_, older_);
  }
  return files_.Append(path_, line);
}

std::map<std::string, Maker> MakersFromLog(Files& files, const std::string& settingsPath) {
  std::map<std::string, Maker> makers;
  // The older part first, so that the newer lines win.
  for (const std::string& path : {OlderLogPathFor(settingsPath), LogPathFor(settingsPath)}) {
    const std::optional<std::uint64_t> size = SizeOf(files, path);
    if (!size || *size > kMostBytesRead) continue;
    std::string bytes;
    if (!files.Read(path, &bytes)) continue;
    std::size_t from = 0;
    while (from < bytes.size()) {
      std::size_t end = bytes.find('\n', from);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(from, end - from);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      from = end + 1;
      std::optional<LogEntry> e = ParseLine(line);
      if (!e || e->result != kSucceeded || e->to.empty()) continue;
      makers[text::UpperAscii(e->to)] = Maker{e->computer, e->user};
    }
  }
  return makers;
}

}  // namespace quandrel::history
