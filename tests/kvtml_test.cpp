// KVTML files of Parley and KWordQuiz brought in, and the study list taken out as KVTML.
#include <gtest/gtest.h>

#include "ExportList.h"
#include "KvtmlReader.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using S = std::string;
using Lines = std::vector<S>;

struct Outcome {
  S error;                        // the refusal, after "Le fichier \"<name>\" "
  Lines rows = {}, skipped = {};  // rows with their cells joined by '|', skipped entries as "line:reason"
};

Outcome Read(const std::function<ImportedList()>& parse) {
  Outcome out;
  const S error = test::ErrorOf([&] {
    const ImportedList list = parse();
    for (const auto& row : list.rows) {
      out.rows.emplace_back();
      for (const S& cell : row) out.rows.back() += (&cell == &row.front() ? "" : "|") + cell;
    }
    for (const auto& s : list.skipped) out.skipped.push_back(std::to_string(s.line) + ":" + s.reason.toStdString());
  });
  if (error != "(no error)") out.error = error.substr(error.find("\" ") + 2);
  return out;
}

S Xml(int line) { return "n'est pas un fichier XML bien formé (ligne " + std::to_string(line) + ")."; }
S File(const char* name) { return test::FileBytes(QStringLiteral(TENAXO_TEST_DATA "/import/") + name); }
S Tr(const S& id, const S& in) { return "<translation id=\"" + id + "\">" + in + "</translation>"; }
S Text(const S& in) { return "<text>" + in + "</text>"; }
S Entry(const S& in) { return "<entry>" + in + "</entry>"; }
S One(const S& in) { return "<kvtml version='2.0'><entries>" + Entry(Tr("0", Text(in))) + "</entries></kvtml>"; }
// The entries on line 4 of 6.
S Entries(const S& in) {
  return "<?xml version='1.0'?>\n<kvtml version='2.0'>\n<entries>\n" + in + "\n</entries>\n</kvtml>\n";
}
S Pair(const S& left, const S& right) { return Entries(Entry(Tr("0", Text(left)) + Tr("1", Text(right)))); }

TEST(Kvtml, DocumentsGiveTheirRowsOrTheLineOfTheFault) {
  const QString utf16 = QChar(0xFEFF) + QString::fromStdString(One("été"));
  S laughs = "<!DOCTYPE kvtml [<!ENTITY l0 '" + S(100, 'a') + "'>";  // each entity ten times the one before
  for (int k = 1; k < 8; ++k) {
    laughs += "<!ENTITY l" + std::to_string(k) + " '" +
              QByteArray("&l" + QByteArray::number(k - 1) + ";").repeated(10).toStdString() + "'>";
  }
  const struct {
    const char* name;
    S document;
    Outcome expected;
  } cases[] = {
      {"Parley: counts, errors of both directions",
       File("parley.kvtml"),
       {"", {"chat|猫|7|4||neko", "chien|犬|||", "eau|水|2|0|", "montagne|山|1|1|"}, {"55:entrée sans texte"}}},
      {"KWordQuiz", File("kwordquiz1.kvtml"), {"", {"rouge|red|||", "vert|green|||", "bleu & blanc|blue||||azul"}}},
      {"references, CR LF",
       Pair("&amp;&lt;&gt;&quot;&apos;&#233;\r\nb", "&#9;c&#13;&#x10000;"),
       {"", {"&<>\"'é b| c \U00010000|||"}}},
      {"CDATA, comments, elements", Pair("<![CDATA[x<y]]>a<!-- c -->b<i>c</i>", "<x/>d"), {"", {"x<yabc|d|||"}}},
      {"declaration, DOCTYPE, spaces in tags",
       "<?xml version='1.0' standalone='yes' ?><!DOCTYPE kvtml SYSTEM 'k' >"
       "<kvtml version = '2.0' ><entries ><entry ><translation id = '1' ><text >b</text ></translation\n></entry>"
       "</entries></kvtml>",
       {"", {"|b|||"}}},
      {"lone CR", Pair("a\rb", "c"), {"", {"a b|c|||"}}},
      {"byte-order mark", "\xEF\xBB\xBF" + Pair("a", "b"), {"", {"a|b|||"}}},
      {"UTF-16", S(reinterpret_cast<const char*>(utf16.utf16()), size_t(utf16.size()) * 2), {"", {"été||||"}}},
      {"Latin-1", "<?xml version='1.0' encoding='ISO-8859-1'?>" + One("\xE9t\xE9"), {"", {"été||||"}}},
      {"Windows-1252", "<?xml version='1.0' encoding='windows-1252'?>" + One("\xE9t\xE9 \x80"), {"", {"été €||||"}}},
      {"internal DTD entity", "<!DOCTYPE kvtml [<!ENTITY e \"x<i>y</i>\">]>" + One("&e;"), {"", {"xy||||"}}},
      {"names without namespace, processing instruction",
       "<kvtml xmlns='u' version='2.0'><?pi x?><e:entries "
       "xmlns:e='v'>" +
           Entry(Tr("0", Text("a"))) + "</e:entries></kvtml>",
       {"", {"a||||"}}},
      {"grades of translations 0 and 1 summed; counts with spaces, bad, huge",
       Entries(Entry(Tr("0", Text("a") + "<grade><count> 5 </count><errorcount>-2</errorcount></grade>") +
                     Tr("1", Text("b") + "<grade><count>99999999999</count><errorcount>x</errorcount></grade>") +
                     Tr("2", Text("c") + "<grade><count>7</count></grade>"))),
       {"", {"a|b|2147483647|2147483647||c"}}},
      {"a count deeper in the grade, a grade deeper in the translation are none",
       Entries(Entry(Tr("0", Text("a") + "<grade><count>3</count><x><count>9</count></x><errorcount>1</errorcount>"
                                         "</grade><x><grade><count>5</count></grade></x>"))),
       {"", {"a||3|2|"}}},
      {"text or translation of a deeper element, translation id not a number, the last column",
       Entries(Entry(Tr("0", "<example>" + Text("no") + "</example>" + Text("yes")) + Tr("x", Text("no")) + "<x>" +
                     Tr("1", Text("no")) + "</x>" + Tr("253", Text("no")) + Tr("252", Text("last")))),
       {"", {"yes|" + S(254, '|') + "last"}}},
      {"entries only at the second level, entries without text skipped with their line",
       "<kvtml version='2.0'>" + Entry(Tr("0", Text("a"))) + "<lessons>" + Entry(Tr("0", Text("b"))) +
           "</lessons>\n<entries>" + Entry(Tr("0", Text(" "))) + "\n" + Entry(Tr("1", "x")) +
           Entry(Tr("1", Text("c"))) + "</entries></kvtml>",
       {"", {"|c|||"}, {"2:entrée sans texte", "3:entrée sans texte"}}},
      {"KVTML 1: a <t> or <e> deeper in the entry is none",
       "<kvtml><e><o>a</o><t>b</t><x><t>no</t><e><o>no</o></e></x></e></kvtml>",
       {"", {"a|b|||"}}},
      {"another root", File("not_kvtml.kvtml"), {"n'est pas un fichier KVTML (ligne 2)."}},
      {"no entries", File("no_entries.kvtml"), {"ne contient aucune entrée (ligne 5)."}},
      {"KVTML 1 without entries", "<kvtml>\n<o>a</o>\n</kvtml>", {"ne contient aucune entrée (ligne 3)."}},
      {"no pair", One(" "), {"ne contient aucune paire à importer."}},
      {"mismatched end tag", File("broken.kvtml"), {Xml(5)}},
      {"text after the root", Pair("a", "b") + "x", {Xml(7)}},
      {"unclosed root", "<kvtml version=\"2.0\">\n<entries>\n", {Xml(3)}},
      {"two dashes in a comment", Pair("a<!-- -- -->", "b"), {Xml(4)}},
      {"unclosed comment", Pair("a", "b") + "<!-- x", {Xml(7)}},
      {"control character reference", Pair("&#1;", "b"), {Xml(4)}},
      {"decimal reference with a hex digit", Pair("&#6a;", "b"), {Xml(4)}},
      {"undeclared entity", Pair("&eacute;", "b"), {Xml(4)}},
      {"entity not declared in the document", "<!DOCTYPE kvtml SYSTEM \"k.dtd\">\n\n" + One("&eacute;"), {Xml(3)}},
      {"entities beyond the expansion limit", laughs + "]>\n" + One("&l7;"), {Xml(2)}},
      {"duplicate attribute", "<kvtml version=\"2.0\" version=\"1\"/>", {Xml(1)}},
      {"undeclared prefix", "<kvtml version=\"2.0\">\n<k:entries/></kvtml>", {Xml(2)}},
      {"version 1.1", "<?xml version=\"1.1\"?><kvtml/>", {Xml(1)}},
      {"unknown encoding", "<?xml version=\"1.0\" encoding=\"x-none\"?><kvtml/>", {Xml(1)}},
      {"U+FFFE", Pair("\xEF\xBF\xBE", "b"), {Xml(4)}},
      {"not UTF-8 in a text", Pair("\xE9t\xE9", "b"), {Xml(4)}},
      {"not UTF-8 in an attribute", Entries("\n<entry id=\"\xE9\"/>"), {Xml(5)}},
      {"a character cut at the end", Pair("a", "b") + "\xC3", {Xml(7)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome read = Read([&] { return ParseKvtml(c.document, QStringLiteral("f")); });
    EXPECT_EQ(read.error, c.expected.error);
    EXPECT_EQ(read.rows, c.expected.rows);
    EXPECT_EQ(read.skipped, c.expected.skipped);
  }
}

class KvtmlFolder : public test::ProgramFolder {};

TEST_F(KvtmlFolder, ExportThenImportGivesTheListBack) {
  StudyTable list(7, 7);
  const std::vector<StudyTable::Row> rows = {
      {"maison", "家", "3", "2", "0,667", "", "note"}, {"", " ", "5", "5", "", "", ""},  // blank pair: not exported
      {"a<br>b &amp;", "x", "1", "0", "", "", ""},     {"jamais trouvé", "x", "4", "9", "", "", ""},
      {"🙂", "\xEF\xBF\xBE", "", "", "", "", ""},    {"\xE9t\xE9", "b", "", "", "", "", ""},  // not XML, not UTF-8
  };
  for (size_t k = 0; k < rows.size(); ++k) list.SetRowTexts(static_cast<int>(k) + 1, rows[k]);
  ExportList(list, PathOf("liste.KVTML"));
  EXPECT_EQ(Read([&] { return ImportListFile(PathOf("liste.KVTML")); }).rows,
            Lines({"maison|家|3|2|||note", "a<br>b &amp;|x|1|0|", "jamais trouvé|x|4|4|", "🙂|\uFFFD|||",
                   "\uFFFDt\uFFFD|b|||"}));
  const S kvtml = test::FileBytes(PathOf("liste.KVTML"));
  for (const char* part :
       {"<title>liste</title>", "<text>a&lt;br&gt;b &amp;amp;</text>\n", "<containerentry id=\"4\"/>"})
    EXPECT_NE(kvtml.find(part), S::npos) << part;
}

}  // namespace
}  // namespace tenaxo
