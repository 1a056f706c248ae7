// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ListSearch.h"
#include "TableText.h"

namespace tenaxo {
namespace {

// The text as the search compares it: no case, no marks, no compatibility forms, in every script.
TEST(ListSearch, FoldsCaseMarksAndForms) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"French accents", "Tenaxo École ÇA", "tenaxo ecole ca"},
      {"Greek capitals", "ΑΘΗΝΑ", "αθηνα"},
      {"Greek breathing, accent, final sigma", "Ἀθῆναι ς", "αθηναι σ"},
      {"Cyrillic", "ЁЛКА", "елка"},
      {"sharp s", "Straße", "strasse"},
      {"ligature", "ﬁn", "fin"},
      {"full width", "ＡＢＣ", "abc"},
      {"kana voicing mark", "が", "か"},
      {"dotted capital I", "İ", "i"},
      {"beyond 16 bits", "𝐀", "a"},
  };
  ListSearch search;
  for (const auto& [name, text, folded] : cases) EXPECT_EQ(search.Fold(QString::fromUtf8(text)), folded) << name;
}

// The pairs holding a text in Gauche or Droite, each once, the column found first; none for an empty text or one
// across the two columns; the list read again once changed.
TEST(ListSearch, FindsPairsByGaucheOrDroite) {
  StudyTable table = test::MakeTable({"École;school", "lycée;high SCHOOL", "αθηνα;Athènes", "ecolier;pupil",
                                      "x;y;école", "\xE9t\xE0\x80\xED\xA0\x80\xED\xBF\xBF;"});
  const std::tuple<const char*, const char*, std::vector<SearchHit>> cases[] = {
      {"Gauche, accents and case aside", "ECOLE", {{1, 0}}},
      {"Droite", "school", {{1, 1}, {2, 1}}},
      {"Greek", "ΑΘΗΝΑ", {{3, 0}}},
      {"either column, Gauche first", "e", {{1, 0}, {2, 0}, {3, 1}, {4, 0}}},
      {"across the columns", "ecoleschool", {}},
      {"nothing typed", "", {}},
      {"nowhere", "zz", {}},
      {"bytes that are no UTF-8, one U+FFFD each", "\uFFFDt\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD", {{6, 0}}},
  };
  ListSearch search;
  for (const auto& [name, text, hits] : cases) EXPECT_EQ(search.Find(table, QString::fromUtf8(text)), hits) << name;
  table.SetCell(1, 5, "ÉCOLE");
  EXPECT_EQ(search.Find(table, QStringLiteral("ecole")), (std::vector<SearchHit>{{1, 0}, {5, 1}}));
}

}  // namespace
}  // namespace tenaxo
