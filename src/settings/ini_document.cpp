#include "settings/ini_document.h"

#include "text/sjis.h"

namespace quandrel {

namespace {

const char kCrLf[] = "\r\n";

using text::Trim;

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && text::UpperAscii(a) == text::UpperAscii(b);
}

std::string WithoutLineBreaks(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c != '\r' && c != '\n') out += c;
  }
  return out;
}

}  // namespace

IniDocument::Line IniDocument::Classify(std::string raw) {
  Line line;
  line.raw = std::move(raw);
  const std::string body = Trim(line.raw);
  if (body.empty()) {
    line.kind = Kind::Blank;
    return line;
  }
  if (body[0] == '[') {
    // A '[' without a closing ']' makes no section: such a line is a key.
    std::size_t close = text::CharFindLastOf(body, "]");
    if (close != std::string::npos) {
      line.kind = Kind::Section;
      line.name = Trim(body.substr(1, close - 1));
      return line;
    }
  }
  if (body[0] == ';') {
    line.kind = Kind::Comment;
    return line;
  }
  line.kind = Kind::Key;
  std::size_t eq = text::CharFindFirstOf(body, "=");
  if (eq == std::string::npos) {
    line.name = body;
    return line;
  }
  line.name = Trim(body.substr(0, eq));
  line.hasValue = true;
  line.value = Trim(body.substr(eq + 1));
  return line;
}

IniDocument IniDocument::Parse(const std::string& bytes) {
  IniDocument doc;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t lf = bytes.find('\n', start);
    std::size_t end = lf == std::string::npos ? bytes.size() : lf + 1;
    doc.lines_.push_back(Classify(bytes.substr(start, end - start)));
    start = end;
  }
  return doc;
}

std::size_t IniDocument::FindSection(const std::string& section) const {
  const std::string wanted = Trim(section);
  if (wanted.empty()) return std::string::npos;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::Section && SameName(lines_[i].name, wanted)) return i;
  }
  return std::string::npos;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
  return i;
}

std::optional<std::string> IniDocument::Get(const std::string& section, const std::string& key) const {
  const std::string wanted = Trim(key);
  std::size_t header = FindSection(section);
  if (header == std::string::npos || wanted.empty()) return std::nullopt;
  std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    const Line& line = lines_[i];
    if (line.kind != Kind::Key || !SameName(line.name, wanted)) continue;
    // The first key of that name decides, even when it has no '='.
    if (!line.hasValue) return std::nullopt;
    return text::CutCharacters(text::WholeCharacters(line.value), kMaxValueBytes);
  }
  return std::nullopt;
}

void IniDocument::TerminateLineBefore(std::size_t pos) {
  if (pos == 0) return;
  std::string& raw = lines_[pos - 1].raw;
  if (raw.empty() || raw.back() != '\n') raw += kCrLf;
}

void IniDocument::Set(const std::string& section, const std::string& key, const std::string& value) {
  const std::string sectionName = Trim(section);
  const std::string keyName = Trim(key);
  if (sectionName.empty() || keyName.empty()) return;
  const std::string stored = Trim(WithoutLineBreaks(value));

  std::size_t header = FindSection(sectionName);
  if (header == std::string::npos) {
    std::size_t at = lines_.size();
    TerminateLineBefore(at);
    lines_.push_back(Classify("[" + sectionName + "]" + kCrLf));
    lines_.push_back(Classify(keyName + "=" + stored + kCrLf));
    return;
  }

  std::size_t end = SectionEnd(header);
  std::size_t insertAt = header + 1;  // after the section line when it holds no setting
  for (std::size_t i = header + 1; i < end; ++i) {
    Line& line = lines_[i];
    if (line.kind != Kind::Key) continue;
    if (SameName(line.name, keyName)) {
      // The key keeps the spelling the file gave it.
      line = Classify(line.name + "=" + stored + kCrLf);
      return;
    }
    insertAt = i + 1;
  }
  TerminateLineBefore(insertAt);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                Classify(keyName + "=" + stored + kCrLf));
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const Line& line : lines_) out += line.raw;
  return out;
}

}  // namespace quandrel
