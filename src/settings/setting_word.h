// The words the settings file uses for its switches. A stored value counts
// as a word only when it is that word exactly, letter case included ("use"
// is none of them); any other text is kept as it was, so that a value read
// and written again comes back byte for byte.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace quandrel {

enum class Word { Use, Never, Enable, Disable, Yes, No, Day, Week };

// The word as the file spells it ("Use", "Never", ...).
const char* WordText(Word word);

// A switch's value: one of the words, or another text kept as it was.
class SettingWord {
 public:
  SettingWord(Word word);  // NOLINT(google-explicit-constructor): a word is a value
  // The value as stored: the word it spells exactly, or the text itself.
  static SettingWord FromText(std::string text);

  // Exactly this word.
  bool Is(Word word) const { return word_ == word; }
  friend bool operator==(const SettingWord& value, Word word) { return value.Is(word); }
  friend bool operator!=(const SettingWord& value, Word word) { return !value.Is(word); }
  // What is stored: the word, or the other text unchanged.
  const std::string& Text() const { return text_; }

 private:
  SettingWord(std::optional<Word> word, std::string text) : word_(word), text_(std::move(text)) {}

  std::optional<Word> word_;
  std::string text_;
};

}  // namespace quandrel
