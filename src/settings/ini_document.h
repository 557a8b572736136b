// An INI text in memory, read and changed the way the Win32 profile functions
// (GetPrivateProfileStringA / WritePrivateProfileStringA) read and change it,
// while every line this program does not change is kept byte for byte.
//
// Form of the text:
//   - lines end at LF; a CR before it, like blanks and tabs, is trimmed, so
//     CR LF and LF-only files read alike. Lines this program writes end CR LF;
//   - "[name]" starts a section (the name is what lies between the '[' and
//     the last ']', trimmed); lines before the first section belong to none;
//   - "key=value" is a setting, key and value trimmed of blanks, tabs, CR,
//     LF, VT, FF and ^Z; a line without '=' is a key without a value;
//   - lines starting with ';' are comments; they and blank lines are kept;
//   - section and key names match without regard to ASCII letter case; the
//     bytes of double-byte characters are compared as they are;
//   - when a section or a key appears twice, the first one counts.
// Texts are CP932 bytes and kept exactly.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quandrel {

class IniDocument {
 public:
  // The most bytes a value reads as (the profile functions' 2048-byte buffer
  // less its terminating zero).
  static constexpr std::size_t kMaxValueBytes = 2047;

  IniDocument() = default;
  static IniDocument Parse(const std::string& bytes);

  // The value of a key: no value when the key, its section or its '=' is
  // missing (the caller applies its default); the empty text for "key=".
  //
  // Values come back as stored. Unlike GetPrivateProfileStringA, which drops
  // one pair of matching quotes around a value, nothing is stripped: the
  // root marker "" (two double quotes) must read back as those two bytes,
  // and treating every quoted value alike keeps the rule simple.
  //
  // A value longer than kMaxValueBytes is cut to that many bytes; when the
  // cut would split a double-byte character, that character goes too (the
  // profile functions do the same). A value is read up to a zero byte in it,
  // and a lead byte left standing alone at its end is dropped
  // (text::WholeCharacters), so no value ends in half a character.
  std::optional<std::string> Get(const std::string& section, const std::string& key) const;

  // Gives the key a value. An existing key (the first of that name in the
  // first section of that name) gets the new value in place; a new key goes
  // after the last setting of its section (or right after the section line
  // when it has none); a new section goes at the end of the text, with no
  // blank line before it, as the profile functions write it.
  //
  // CR and LF in the value are dropped: they would end the line and let the
  // rest of the value become a line of its own (a forged key or section).
  // Blanks around the value are trimmed, as a read would trim them anyway.
  // Section and key names are this program's own words: they must be
  // non-empty and hold no CR, LF, ']' or '='.
  void Set(const std::string& section, const std::string& key, const std::string& value);

  // The whole text: unchanged lines as they were read, changed and new lines
  // ending CR LF.
  std::string Serialize() const;

 private:
  enum class Kind { Blank, Comment, Section, Key };
  struct Line {
    std::string raw;   // the bytes of the line with its line end, if any
    Kind kind = Kind::Blank;
    std::string name;  // section name or key name, trimmed
    bool hasValue = false;
    std::string value;  // trimmed; only for a key with '='
  };

  static Line Classify(std::string raw);
  // Index of the first section line of that name, or npos.
  std::size_t FindSection(const std::string& section) const;
  // Index one past the last line of the section whose header is at `header`.
  std::size_t SectionEnd(std::size_t header) const;
  // Makes sure the line before `pos` ends with a line end, so a line can be
  // inserted at `pos`.
  void TerminateLineBefore(std::size_t pos);

  std::vector<Line> lines_;
};

}  // namespace quandrel
