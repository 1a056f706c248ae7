// KVTML files of Parley and KWordQuiz brought in, and the study list taken out as KVTML.
#include <gtest/gtest.h>
#include <numeric>

#include "ExportList.h"
#include "KvtmlReader.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using S = std::string;
using Lines = std::vector<S>;

// Rows with their cells joined by '|', skipped entries as "line:reason", the refusal after "Le fichier \"<name>\" ".
struct Outcome {
  Lines rows, skipped = {};
  S error = {};
};

Outcome Read(const std::function<ImportedList()>& parse) {
  Outcome out;
  const S error = test::ErrorOf([&] {
    const ImportedList list = parse();
    for (const auto& row : list.rows)
      out.rows.push_back(
          std::accumulate(row.begin() + 1, row.end(), row[0], [](S a, const S& b) { return a + "|" + b; }));
    for (const auto& s : list.skipped) out.skipped.push_back(std::to_string(s.line) + ":" + s.reason.toStdString());
  });
  if (error != "(no error)") out.error = error.substr(error.find("\" ") + 2);
  return out;
}

Outcome Xml(int line) { return {{}, {}, "n'est pas un fichier XML bien formé (ligne " + std::to_string(line) + ")."}; }
S File(const char* name) { return test::FileBytes(QStringLiteral(TENAXO_TEST_DATA "/import/") + name); }
S Tr(const S& id, const S& in) { return "<translation id='" + id + "'>" + in + "</translation>"; }
S Text(const S& in) { return "<text>" + in + "</text>"; }
S Grade(const S& n, const S& e) { return "<grade><count>" + n + "</count><errorcount>" + e + "</errorcount></grade>"; }
S Entry(const S& in) { return "<entry>" + in + "</entry>"; }
S Kvtml(const S& in) { return "<kvtml version='2.0'>" + in + "</kvtml>"; }
S One(const S& in) { return Kvtml("<entries>" + Entry(Tr("0", Text(in))) + "</entries>"); }
// The entries on line 4.
S Entries(const S& in) { return "<kvtml version='2.0'>\n\n<entries>\n" + in + "\n</entries>\n</kvtml>\n"; }
S Pair(const S& left, const S& right) { return Entries(Entry(Tr("0", Text(left)) + Tr("1", Text(right)))); }

TEST(Kvtml, DocumentsGiveTheirRowsOrTheLineOfTheFault) {
  const S laughs = QByteArray("&a;").repeated(100000).toStdString();
  const struct {
    const char* name;
    S document;
    Outcome expected;
  } cases[] = {
      {"Parley: counts and errors of both directions, Juste within 0..Demandé",
       File("parley.kvtml"),
       {{"chat|猫|7|4||neko", "chien|犬|||", "eau|水|2|0|", "montagne|山|1|1|"}, {"55:entrée sans texte"}}},
      {"KWordQuiz", File("kwordquiz1.kvtml"), {{"rouge|red|||", "vert|green|||", "bleu & blanc|blue||||azul"}}},
      {"references, CR LF", Pair("&amp;&lt;&gt;&#233;\r\nb", "&#9;&#13;&#x10000;"), {{"&<>é b|  \U00010000|||"}}},
      {"CDATA, comments, elements", Pair("<![CDATA[x<y]]>a<!-- c -->b<i>c</i>", "<x/>d"), {{"x<yabc|d|||"}}},
      {"byte-order mark", "\xEF\xBB\xBF" + Pair("a", "b"), {{"a|b|||"}}},
      {"Latin-1", "<?xml version='1.0' encoding='ISO-8859-1'?>" + One("\xE9t\xE9"), {{"été||||"}}},
      {"Windows-1252", "<?xml version='1.0' encoding='windows-1252'?>" + One("\xE9t\xE9 \x80"), {{"été €||||"}}},
      {"internal DTD entity", "<!DOCTYPE kvtml [<!ENTITY e 'x<i>y</i>'>]>" + One("&e;"), {{"xy||||"}}},
      {"names in a namespace", Kvtml("<entries xmlns='v'>" + Entry(Tr("0", Text("a"))) + "</entries>"), {{"a||||"}}},
      {"grades of translations 0 and 1 summed; counts and errors bad or huge",
       Entries(Entry(Tr("0", Text("a") + Grade("5", "-2")) + Tr("1", Text("b") + Grade("99999999999", "x")) +
                     Tr("2", Text("c") + Grade("7", "0")))),
       {{"a|b|2147483647|2147483647||c"}}},
      {"a count with spaces; a count deeper in the grade, a grade deeper in the translation are none",
       Entries(Entry(Tr("0", Text("a") + "<grade><x>" + Grade("9", "9") + "</x></grade><x><count>5</count>" +
                                 Grade("5", "0") + "</x>" + Grade("&#13;\t3\n ", "1")))),
       {{"a||3|2|"}}},
      {"text or translation of a deeper element, translation id not a number, the last column",
       Entries(Entry(Tr("0", "<x>" + Text("no") + "</x>" + Text("yes")) + "<x>" + Text("no") + Tr("1", Text("no")) +
                     "</x>" + Tr("x", Text("no")) + Tr("253", Text("no")) + Tr("252", Text("last")))),
       {{"yes|" + S(254, '|') + "last"}}},
      {"entries only at the second level, entries without text skipped with their line",
       Kvtml(Entry(Tr("0", Text("a"))) + "\n<entries>" + Entry(Tr("0", Text(" "))) + "\n" +
             Entry(Tr("1", "x") + Grade("1", "0")) + Entry(Tr("1", Text("c"))) + "</entries><lessons>" +
             Entry(Tr("0", Text("b"))) + "</lessons>"),
       {{"|c|||"}, {"2:entrée sans texte", "3:entrée sans texte"}}},
      {"KVTML 1: deeper <t>, <e>", "<kvtml><e><o>a</o><t>b</t><x><t>no</t><e/></x></e></kvtml>", {{"a|b|||"}}},
      {"another root", File("not_kvtml.kvtml"), {{}, {}, "n'est pas un fichier KVTML (ligne 2)."}},
      {"no entries", File("no_entries.kvtml"), {{}, {}, "ne contient aucune entrée (ligne 5)."}},
      {"no pair", One(" "), {{}, {}, "ne contient aucune paire à importer."}},
      {"mismatched end tag", File("broken.kvtml"), Xml(5)},
      {"text after the root", Pair("a", "b") + "x", Xml(7)},
      {"unclosed root", "<kvtml version=\"2.0\">\n<entries>\n", Xml(3)},
      {"control character reference", Pair("&#1;", "b"), Xml(4)},
      {"undeclared entity", Pair("&eacute;", "b"), Xml(4)},
      {"entity not declared in the document", "<!DOCTYPE kvtml SYSTEM \"k.dtd\">\n\n" + One("&eacute;"), Xml(3)},
      {"external entity", "<!DOCTYPE kvtml [<!ENTITY x SYSTEM '/etc/hostname'>]>\n" + One("&x;"), Xml(2)},
      {"entities beyond the expansion limit", "<!DOCTYPE kvtml [<!ENTITY a '" + S(1000, 'a') + "'>]>\n" + One(laughs),
       Xml(2)},
      {"duplicate attribute", "<kvtml version=\"2.0\" version=\"1\"/>", Xml(1)},
      {"undeclared prefix", "<kvtml version=\"2.0\">\n<k:entries/></kvtml>", Xml(2)},
      {"version 1.1", "<?xml version=\"1.1\"?><kvtml/>", Xml(1)},
      {"unknown encoding", "<?xml version=\"1.0\" encoding=\"x-none\"?><kvtml/>", Xml(1)},
      {"not Shift JIS as declared", "<?xml version='1.0' encoding='Shift_JIS'?>\n" + One("\x81\x20"), Xml(2)},
      {"U+FFFE", Pair("\xEF\xBF\xBE", "b"), Xml(4)},
      {"not UTF-8 in a text", Pair("\xE9t\xE9", "b"), Xml(4)},
      {"not UTF-8 in an attribute", Entries("\n<entry id=\"\xE9\"/>"), Xml(5)},
      {"a character cut at the end", Pair("a", "b") + "\xC3", Xml(7)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome read = Read([&] { return ParseKvtml(c.document, QStringLiteral("f")); });
    EXPECT_EQ(read.rows, c.expected.rows);
    EXPECT_EQ(read.skipped, c.expected.skipped);
    EXPECT_EQ(read.error, c.expected.error);
  }
}

class KvtmlFolder : public test::ProgramFolder {};

TEST_F(KvtmlFolder, ExportThenImportGivesTheListBack) {
  StudyTable list(7, 7);
  // A blank pair (not exported), Juste over Demandé, U+FFFE (not XML), bytes that are not UTF-8.
  const char* rows[] = {"maison|家|3|2|0,667||note", "| |5|5",     "a<br>b &amp;||1|0", "jamais trouvé|x|4|9",
                        "🙂|\xEF\xBF\xBE",         "\xE9t\xE9|b"};
  for (int r = 0, c = 0; r < 6; ++r, c = 0)
    for (const QByteArray& cell : QByteArray(rows[r]).split('|')) list.SetCell(c++, r + 1, cell.toStdString());
  ExportList(list, PathOf("liste.KVTML"));
  EXPECT_EQ(Read([&] { return ImportListFile(PathOf("liste.KVTML")); }).rows,
            Lines({"maison|家|3|2|||note", "a<br>b &amp;||1|0|", "jamais trouvé|x|4|4|", "🙂|\uFFFD|||",
                   "\uFFFDt\uFFFD|b|||"}));
  for (const char* part :
       {"<title>liste</title>", "</grade>\n   </translation>\n   <translation id=\"3\">", "<containerentry id=\"4\"/>"})
    EXPECT_NE(test::FileBytes(PathOf("liste.KVTML")).find(part), S::npos) << part;
}

}  // namespace
}  // namespace tenaxo
