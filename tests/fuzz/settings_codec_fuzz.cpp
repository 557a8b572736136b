// libFuzzer target over the settings codec (IniDocument) and the Shift-JIS
// helpers it stands on. It checks properties, not only that nothing crashes:
//   - a file that is read and not changed serialises back byte for byte;
//   - a written value reads back after the documented clean-up: CR and LF
//     removed, blanks trimmed, read up to a zero byte, cut to 2047 bytes of
//     whole characters, no lead byte left alone at the end;
//   - every other key reads as before, every other line stays as it was;
//   - one write adds at most two lines (a section line and the key);
//   - writing the same value twice gives the same text as writing it once;
//   - the character-safe helpers never halve a character.
// The expected values are worked out here from first principles, not with
// the helpers under test.
//
// Input: byte 0 picks the section and key (and how the name is spelt),
// bytes 1-2 give the value's length (little endian), then the value, then
// the settings file as the rest.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "settings/ini_document.h"
#include "text/sjis.h"

namespace {

using quandrel::IniDocument;

void Fail(const char* rule) {
  std::fprintf(stderr, "property broken: %s\n", rule);
  std::abort();
}
void Check(bool ok, const char* rule) {
  if (!ok) Fail(rule);
}

bool Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Length of the longest prefix of s within n bytes made of whole characters.
std::size_t WholePrefix(const std::string& s, std::size_t n) {
  std::size_t end = 0;
  const std::size_t limit = s.size() < n ? s.size() : n;
  while (end < limit) {
    std::size_t width = Lead(static_cast<unsigned char>(s[end])) ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return end;
}

bool EndsWhole(const std::string& s) { return WholePrefix(s, s.size()) == s.size(); }

bool Blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

// What a written value must read back as.
std::string CleanedUp(const std::string& value) {
  std::string s;
  for (char c : value) {
    if (c != '\r' && c != '\n') s += c;
  }
  std::size_t b = 0, e = s.size();
  while (b < e && Blank(s[b])) ++b;
  while (e > b && Blank(s[e - 1])) --e;
  s = s.substr(b, e - b);
  s = s.substr(0, s.find('\0'));
  return s.substr(0, WholePrefix(s, 2047));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t lf = text.find('\n', start);
    std::size_t end = lf == std::string::npos ? text.size() : lf + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

// The lines of `before` all stand in `after`, in order and unchanged, except
// that one line may be replaced (when no line was added), and the last line
// may have gained a line end (when lines were added after it).
void CheckOtherLinesKept(const std::string& before, const std::string& after) {
  const std::vector<std::string> a = Lines(before), b = Lines(after);
  Check(b.size() >= a.size() && b.size() <= a.size() + 2, "one write adds at most two lines and removes none");
  const std::size_t added = b.size() - a.size();
  std::size_t prefix = 0;
  while (prefix < a.size() && prefix < b.size() &&
         (a[prefix] == b[prefix] ||
          (prefix + 1 == a.size() && a[prefix].back() != '\n' && a[prefix] + "\r\n" == b[prefix]))) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
         a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::size_t changed = a.size() - prefix - suffix;
  Check(added == 0 ? changed <= 1 : changed == 0, "every other line stays as it was");
}

const char* const kSections[] = {"Execute", "System", "BackUp", "Other"};
const char* const kKeys[] = {"DBPath", "Title",     "ImagePath", "IconPath", "Customize", "MDBbak", "UnClose",
                             "Multi",  "SubFolder", "Drive",     "PreFix",   "UpDate",    "Other"};

std::string Spelt(const char* name, bool lower) {
  std::string s = name;
  if (lower) {
    for (char& c : s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return s;
}

bool SameName(const std::string& a, const std::string& b) {
  return Spelt(a.c_str(), true) == Spelt(b.c_str(), true);
}

void CheckTextHelpers(const std::string& s, std::size_t n) {
  namespace text = quandrel::text;
  const std::string cut = text::CutCharacters(s, n);
  Check(cut == s.substr(0, WholePrefix(s, n)), "CutCharacters keeps the longest whole-character prefix");
  const std::string whole = text::WholeCharacters(s);
  Check(whole.find('\0') == std::string::npos && EndsWhole(whole) && s.compare(0, whole.size(), whole) == 0,
        "WholeCharacters is a prefix without a zero byte or a lone lead byte at its end");
  const std::string name = text::FileNamePart(s);
  Check(s.size() >= name.size() && s.compare(s.size() - name.size(), name.size(), name) == 0,
        "FileNamePart is a tail of the path");
  if (name.size() < s.size()) {
    const std::size_t sep = s.size() - name.size() - 1;
    Check((s[sep] == '\\' || s[sep] == ':') && WholePrefix(s, sep) == sep,
          "FileNamePart follows a separator that is a character of its own");
  }
  const std::string upper = text::UpperAscii(s);
  Check(upper.size() == s.size() && text::UpperAscii(upper) == upper, "UpperAscii keeps the length and is stable");
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (upper[i] != s[i]) {
      Check(s[i] >= 'a' && s[i] <= 'z' && WholePrefix(s, i) == i, "UpperAscii changes single-byte letters only");
    }
  }
  const std::string trimmed = text::Trim(s);
  Check(trimmed.empty() || (!Blank(trimmed.front()) && !Blank(trimmed.back())), "Trim leaves no blank at the ends");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::uint8_t pick = data[0];
  std::size_t valueSize = data[1] | (static_cast<std::size_t>(data[2]) << 8);
  const char* rest = reinterpret_cast<const char*>(data + 3);
  const std::size_t restSize = size - 3;
  if (valueSize > restSize) valueSize = restSize;
  const std::string value(rest, valueSize);
  const std::string file(rest + valueSize, restSize - valueSize);

  CheckTextHelpers(file, pick * 9u);
  CheckTextHelpers(value, valueSize / 2);

  // Read and not changed: byte for byte.
  const IniDocument original = IniDocument::Parse(file);
  Check(original.Serialize() == file, "an unchanged file serialises back byte for byte");

  const std::string section = Spelt(kSections[pick % 4], pick & 0x80);
  const std::string key = Spelt(kKeys[(pick / 4) % 13], pick & 0x40);

  IniDocument once = IniDocument::Parse(file);
  once.Set(section, key, value);
  const std::string written = once.Serialize();

  const IniDocument reread = IniDocument::Parse(written);
  const std::optional<std::string> read = reread.Get(section, key);
  Check(read.has_value() && *read == CleanedUp(value), "a written value reads back after the clean-up");
  Check(EndsWhole(*read) && read->size() <= IniDocument::kMaxValueBytes, "a value reads as whole characters");

  for (const char* s : kSections) {
    for (const char* k : kKeys) {
      if (SameName(s, section) && SameName(k, key)) continue;
      Check(original.Get(s, k) == reread.Get(s, k), "every other key reads as before");
    }
  }
  CheckOtherLinesKept(file, written);

  IniDocument twice = IniDocument::Parse(file);
  twice.Set(section, key, value);
  twice.Set(section, key, value);
  Check(twice.Serialize() == written, "writing the same value twice equals writing it once");
  IniDocument again = IniDocument::Parse(written);
  again.Set(section, key, value);
  Check(again.Serialize() == written, "writing the value a file already holds changes nothing");
  return 0;
}
