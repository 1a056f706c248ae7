// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Real-looking study lists for the benchmarks.
#include <random>
#include <string>

#include "StudyTable.h"

namespace tenaxo::bench {

// The script of the words: Latin (Windows-1252, French-looking), Cyrillic or
// CJK (Japanese kana and kanji), each 20 syllables.
enum class Script { Latin, Cyrillic, Cjk };

inline std::string Word(std::mt19937& random, Script script = Script::Latin) {
  static const char* const kLatin[] = {"ma",  "ri",  "so",  "lu", "ten", "ax",  "cha", "pe",  "vo",  "qui",
                                       "été", "bou", "gre", "ni", "or",  "fla", "ste", "crè", "dou", "ille"};
  static const char* const kCyrillic[] = {"ма", "ри", "со",  "лу", "тен", "ак",  "ча",  "пе",  "во", "кви",
                                          "ет", "бу", "гре", "ни", "ор",  "фла", "сте", "кре", "ду", "иль"};
  static const char* const kCjk[] = {"ま", "り", "そ", "る", "天", "あ", "茶", "ぺ", "ぼ", "き",
                                     "夏", "ぶ", "語", "に", "お", "花", "す", "く", "ど", "い"};
  const char* const* syllables = script == Script::Cyrillic ? kCyrillic : script == Script::Cjk ? kCjk : kLatin;
  std::string word;
  const int count = 2 + static_cast<int>(random() % 3);
  for (int k = 0; k < count; ++k) word += syllables[random() % 20];
  switch (random() % 6) {  // case variants of the same words
    case 0: word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0]))); break;
    case 1:
      for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      break;
    default: break;
  }
  return word;
}

// rows pairs, the left text in the script given and the right one in Latin;
// a third never asked, the others asked 1 to 30 times.
inline StudyTable MakeList(int rows, unsigned seed = 42, Script script = Script::Latin) {
  std::mt19937 random(seed);
  StudyTable table(5, rows + 1);
  for (int r = 1; r <= rows; ++r) {
    StudyTable::Row row(5);
    row[0] = Word(random, script) + " " + Word(random, script);
    row[1] = Word(random);
    if (random() % 3 != 0) {
      const int asked = 1 + static_cast<int>(random() % 30);
      row[2] = std::to_string(asked);
      row[3] = std::to_string(random() % (asked + 1));
    }
    table.SetRowTexts(r, std::move(row));
  }
  return table;
}

}  // namespace tenaxo::bench
