// SPDX-License-Identifier: GPL-3.0-or-later
// Lists exchanged with other trainers, and the list files they bring: one case per fault found on their files.
#include <gtest/gtest.h>

#include <QXmlStreamReader>

#include "ExportList.h"
#include "FakeListWindow.h"
#include "ImportList.h"
#include "KvtmlReader.h"
#include "KvtmlWriter.h"
#include "ListEncoding.h"
#include "TextImport.h"

namespace tenaxo {
namespace {
using namespace test;
using S = std::string;

QString Data(const char* name) { return QStringLiteral(TENAXO_TEST_DATA "/exchange/") + QString::fromUtf8(name); }

// Fault 1, read as the peers read it: the lesson's (empty) <entry id>, and each grade's {translation, fromid,
// currentgrade, count, errorcount}, its confidence the pair's ratio; the counters come back.
TEST(Exchange, KvtmlExportKeepsItsLessonAndPractice) {
  const StudyTable table =
      MakeTable({"jamais;a", "15 sur 20;b;20;15", "5 sur 5, moins de 10;c;5;5", "Juste trop;d;1;9"});
  const S xml = KvtmlText(table, "t");
  QXmlStreamReader reader(QByteArray::fromStdString(xml));
  std::vector<int> lesson;
  std::vector<std::array<int, 5>> grades;
  for (int translation = 0; !reader.atEnd();) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    const QString element = reader.name().toString();
    const int number = reader.attributes().value(QLatin1String(element == "grade" ? "fromid" : "id")).toInt();
    if (element == "entry" && reader.readNext() == QXmlStreamReader::EndElement) lesson.push_back(number);
    if (element == "translation") translation = number;
    if (element == "grade") grades.push_back({translation, number});
    const int field = QStringList{"currentgrade", "count", "errorcount"}.indexOf(element);
    if (field >= 0) grades.back()[static_cast<size_t>(field) + 2] = reader.readElementText().toInt();
  }
  EXPECT_EQ(lesson, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(
      grades,
      (std::vector<std::array<int, 5>>{
          {0, 1, 5, 10, 2}, {1, 0, 5, 10, 3}, {0, 1, 4, 2, 0}, {1, 0, 4, 3, 0}, {0, 1, 4, 0, 0}, {1, 0, 4, 1, 0}}));
  EXPECT_EQ(ParseKvtml(xml, "t").rows,
            Split({"jamais;a;;;", "15 sur 20;b;20;15;", "5 sur 5, moins de 10;c;5;5;", "Juste trop;d;1;1;"}));
}

// Faults 2 and 3: lines that start with '#' are pairs, KWordQuiz's title and author are told; only the practice
// between Gauche and Droite counts, KVTML 1's too.
TEST(Exchange, ImportKeepsEveryLineAndThePracticeOfThePair) {
  const std::tuple<const char*, std::vector<S>, std::vector<int>> cases[] = {
      {"kwordquiz.csv", {"#dièse;sharp;;;", "bémol;flat;;;"}, {1, 2}},
      {"parley3.kvtml", {"Talg;tallow;5;5;;suif", "Saft;sap;9;7;", "Erbse;pea;5;4;"}, {}},
      {"kvtml1.kvtml", {"Haus;house;7;4;;maison", "Baum;tree;2;0;", "Hund;dog;;;"}, {}},
  };
  for (const auto& [file, rows, skipped] : cases) {
    SCOPED_TRACE(file);
    const ImportedList list = ImportListFile(Data(file));
    EXPECT_EQ(list.rows, Split(rows));
    std::vector<int> lines;
    for (const SkippedLine& line : list.skipped) lines.push_back(line.line);
    EXPECT_EQ(lines, skipped);
  }
  EXPECT_EQ(ParseTextImport("Title:\tx\nchat\tcat\n", "t").Pairs(), 2) << "a title alone is a pair";
  EXPECT_EQ(ParseTextImport("Titre :\tx\nAuteur :\ny\tz", "t").skipped.front().reason, "en-tête de KWordQuiz");
}

// Fault 4, and the bytes of no list encoding (fault 5): each refusal names the line of the fault.
TEST(Exchange, RefusalsNameTheLineOfTheFault) {
  using namespace std::string_literals;
  EXPECT_EQ(ErrorOf([] {
              ParseKvtml("<?xml version='1.0' encoding='Shift_JIS'?>\r<kvtml>\r\r<e>\x81\x20</e></kvtml>", "t");
            }),
            "Le fichier \"t\" n'est pas un fichier XML bien formé (ligne 4).");
  const std::pair<S, S> lists[] = {
      {"\xFF\xFE"
       "a\0\n\0b\0\n\0\x3D\xD8\n\0"s,
       "est marqué UTF-16, mais sa ligne 3 n'est pas de l'UTF-16 valide."},
      {"\xFE\xFF\0a\0\r\0\n\0b\n"s, "est marqué UTF-16, mais sa ligne 2 n'est pas de l'UTF-16 valide."},
      {"a\r\n\r\nb\0c"s,
       "n'est pas une liste : sa ligne 3 contient un caractère nul (texte UTF-16 sans marque, ou "
       "fichier qui n'est pas du texte)."}};
  for (const auto& [bytes, message] : lists) {
    FileEncoding encoding;
    EXPECT_EQ(ErrorOf([&] { DecodeListFile(bytes, "t", encoding); }), "Le fichier \"t\" " + message);
  }
}

class Lists : public ProgramFolder {
 protected:
  QString Load(const char* list) { return window.name = list, commands.LoadList(); }
  Session session;
  FakeWindow window;
  ListCommands commands{session, window.Bind()};
};

// Fault 5: a UTF-16 list is read whole, told once and saved as UTF-8 with the mark; a file of no list encoding is
// refused and not written until another list is loaded.
TEST_F(Lists, Utf16IsReadWholeAndUnreadableFilesStay) {
  QFile::copy(Data("utf16.tnx"), PathOf("Unicode.tnx"));
  EXPECT_NE(Load("Unicode"), QString());
  EXPECT_EQ(Cells(session.table), Split({"chat;cat;3;2;", "élan;🙂;;;"}));
  EXPECT_EQ(commands.SaveList(), SaveResult::Saved);
  EXPECT_EQ(FileBytes(PathOf("Unicode.tnx")),
            "\xEF\xBB\xBF"
            "chat\tcat\t3\t2\t\r\nélan\t🙂\t\t\t\r\n");
  EXPECT_EQ(Load("Unicode"), QString()) << "told once";
  PutFile(PathOf("Sans marque.tnx"), S("a\0b\0", 4));
  EXPECT_NE(ErrorOf([&] { Load("Sans marque"); }), "(no error)");
  session.unsaved = true;
  EXPECT_NE(ErrorOf([&] { commands.SaveList(); }), "(no error)");
  EXPECT_EQ(FileBytes(PathOf("Sans marque.tnx")), S("a\0b\0", 4));
  PutFile(PathOf("Fin.tnx"), S("a\tb\r\n\0\0", 6));  // NULs that end the file are no part of the list
  EXPECT_EQ(Load("Fin"), QString());
  window.name = "Sans marque";
  EXPECT_EQ(commands.SaveList(), SaveResult::Saved) << "written once another list is loaded";
}

// Fault 6: each load, and an emptied list, takes the columns the list needs, at least the five.
TEST_F(Lists, EachLoadTakesTheWidthOfItsList) {
  PutFile(PathOf("Large.tnx"), "a" + S(10000, '\t') + "z\r\n");
  PutFile(PathOf("Petite.tnx"), "a\tb\r\n");
  Load("Large");
  EXPECT_EQ(session.table.ColCount(), 10001);
  Load("Petite");
  EXPECT_EQ(session.table.ColCount(), 5);
  commands.SaveList();
  EXPECT_EQ(FileBytes(PathOf("Petite.tnx")), "a\tb\t\t\t\r\n");
  Load("Large");
  commands.ClearList();
  EXPECT_EQ(session.table.ColCount(), 5);
}

// Fault 7: ".tsv" gives the pairs alone.
TEST_F(Lists, TsvExportGivesThePairsAlone) {
  StudyTable table = MakeTable({"#dièse;sharp;3;2;0,667;note", " ; ", "a\tb\r\nc;\"d\""});
  ExportList(table, PathOf("paires.TSV"));
  EXPECT_EQ(FileBytes(PathOf("paires.TSV")), "#dièse\tsharp\na b  c\t\"d\"\n");
}

}  // namespace
}  // namespace tenaxo
