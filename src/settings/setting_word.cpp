#include "settings/setting_word.h"

#include <utility>

namespace quandrel {

namespace {

constexpr Word kWords[] = {Word::Use, Word::Never, Word::Enable, Word::Disable,
                           Word::Yes, Word::No,    Word::Day,    Word::Week};

}  // namespace

const char* WordText(Word word) {
  switch (word) {
    case Word::Use: return "Use";
    case Word::Never: return "Never";
    case Word::Enable: return "Enable";
    case Word::Disable: return "Disable";
    case Word::Yes: return "Yes";
    case Word::No: return "No";
    case Word::Day: return "Day";
    case Word::Week: return "Week";
  }
  return "";
}

SettingWord::SettingWord(Word word) : word_(word), text_(WordText(word)) {}

SettingWord SettingWord::FromText(std::string text) {
  for (Word w : kWords) {
    if (text == WordText(w)) return SettingWord(w);
  }
  return SettingWord(std::nullopt, std::move(text));
}

}  // namespace quandrel
