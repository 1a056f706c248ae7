// SPDX-License-Identifier: GPL-3.0-or-later
// Lists brought in from other trainers' files (text and KVTML), and taken back out.
#include <QXmlStreamReader>

#include "ExportList.h"
#include "ImportList.h"
#include "KvtmlReader.h"
#include "KvtmlWriter.h"
#include "ListEncoding.h"
#include "ListNames.h"
#include "StorageFixture.h"
#include "TextImport.h"

namespace tenaxo {
namespace {
using namespace test;
using S = std::string;

// A file larger than the limit is refused unread (a sparse one costs no disk), one at the limit is read; nothing made.
TEST_F(ProgramFolder, AFileTooLargeIsRefusedUnread) {
  const std::tuple<const char*, qint64, S> cases[] = {
      {"limite.txt", kMaxImportBytes, "n'est pas un fichier texte (caractère de contrôle à la ligne 1)."},
      {"gros.KVTML", kMaxImportBytes + 1, "est trop grand pour être importé (plus de 256 Mo)."},
  };
  for (const auto& [name, size, message] : cases) {
    const QString path = PathOf(name);
    PutFile(path, "");
    ASSERT_EQ(truncate(QFile::encodeName(path).constData(), size), 0);
    EXPECT_EQ(ErrorOf([&] { ImportListFile(path); }), "Le fichier \"" + path.toStdString() + "\" " + message);
  }
  EXPECT_EQ(Entries(), (QStringList{"gros.KVTML", "limite.txt"}));
}

// A file's rows (padded to five cells) and skipped lines {line, reason}, or the refusal after "Le fichier "t" ".
struct ReadCase {
  const char* name;
  S bytes;
  std::vector<StudyTable::Row> rows;
  std::vector<std::pair<int, S>> skipped = {};
  S error = "";
};

// Each file is read from a buffer that goes on past its end: what follows is no part of it.
void ExpectRead(ImportedList (*parse)(std::string_view, const QString&), std::vector<ReadCase> cases) {
  for (ReadCase& c : cases) {
    for (auto& row : c.rows) row.resize(std::max<size_t>(row.size(), 5));
    for (const char after : {'"', '#', ',', ';', '\t', '\n'}) {
      SCOPED_TRACE(S(c.name) + ", followed by " + after);
      const S buffer = c.bytes + after;
      ImportedList list;
      const S error = ErrorOf([&] { list = parse(std::string_view(buffer).substr(0, c.bytes.size()), "t"); });
      EXPECT_EQ(error, c.error.empty() ? "(no error)" : "Le fichier \"t\" " + c.error);
      EXPECT_EQ(list.rows, c.rows);
      std::vector<std::pair<int, S>> skipped;
      for (const SkippedLine& s : list.skipped) skipped.emplace_back(s.line, s.reason.toStdString());
      EXPECT_EQ(skipped, c.skipped);
    }
  }
}

TEST(TextImport, LinesRecordsHeadersMarkupAndEncodings) {
  StudyTable::Row widest(256);  // 254 fields make 257 columns, one too many; 253 are read
  widest[0] = "b", widest[1] = "x", widest[255] = "y";
  const S counters = "Gauche\tDroite\tDemandé\tJuste\tRatio";
  const S control = "n'est pas un fichier texte (caractère de contrôle à la ligne ";
  const S noPair = "ne contient aucune paire à importer.";
  ExpectRead(
      ParseTextImport,
      {
          {"line ends: CR LF, CR, LF, none",
           "a\tb\r\n\r\nc\td\r\re\tf\n \t\ng\th",
           {{"a", "b"}, {"c", "d"}, {"e", "f"}, {"g", "h"}},
           {{2, "ligne vide"}, {4, "ligne vide"}, {6, "Gauche et Droite vides"}}},
          {"quotes", "\"a \"\"b\"\"\",c\"d,\"e\"f", {{"a \"b\"", "c\"d", "", "", "", "ef"}}},
          {"quoted line ends", "\"a\r\nb\rc\nd\",x\n\"\",\"\"", {{"a b c d", "x"}}, {{5, "Gauche et Droite vides"}}},
          {"a quote never closed", "a,b\r\n\"c\r\nd,e", {}, {}, "contient un guillemet qui ne se ferme pas (ligne 2)."},
          {"ragged rows", "a,b,c\nd\ne,f,,g,,", {{"a", "b", "", "", "", "c"}, {"d"}, {"e", "f", "", "", "", "", "g"}}},
          {"too many columns", S(253, ',') + "a\nb,x" + S(251, ',') + "y", {widest}, {{1, "plus de 256 colonnes"}}},
          {"VT and FF are spaces", "a\vb\fc\td", {{"a b c", "d"}}},
          {"a control character", "\r\na\rb\r\nc\n\x01", {}, {}, control + "5)."},
          {"NUL in UTF-16", S("\xFF\xFE\x61\0\0\0", 6), {}, {}, control + "1)."},
          {"headers only, the last ending in CR", "#deck:x\n#html:true\r", {}, {}, noPair},
          {"'#' starts data but for Anki's headers",
           "#vim: ts=8\n#separator\na\tb\n#x\ty\nc\td",
           {{"#vim: ts=8"}, {"#separator"}, {"a", "b"}, {"#x", "y"}, {"c", "d"}}},
          {"counters of an export",
           "#columns:" + counters + "\tC6\na\tb\t3\t2\t0,7\tx\nc\td\tx\t-1\t\t\ne\tf\t12345678901\t2147483647",
           {{"a", "b", "3", "2", "", "x"}, {"c", "d"}, {"e", "f", "", "2147483647"}}},
          {"other #columns: no counters", "#columns:Gauche\tDroite\tDemandé\na\tb\t3", {{"a", "b", "", "", "", "3"}}},
          {"after a guid", "#guid column:1\n#columns:id\t" + counters + "\nx\ta\tb\t3\t2\t1", {{"a", "b", "3", "2"}}},
          {"columns that are not fields",
           "#guid column:0\n#guid column:1\n#notetype column:2\n#deck column:4\n#tags "
           "column:300\nid\tBasic\ta\tdeck\tb\tc",
           {{"a", "b", "", "", "", "c"}}},
          // Separators: by a header, else TAB anywhere, else the one of ',' and ';' more lines hold, then more often.
          {"separator by name, any case", "#separator:SEMICOLON\na;b,c\n", {{"a", "b,c"}}},
          {"separator as the character", "#separator:|\na|b", {{"a", "b"}}},
          {"separator Tab", "#separator:Tab\na,b", {{"a,b"}}},
          {"separator comma", "#separator:comma\na,b;c", {{"a", "b;c"}}},
          {"separator space", "#separator:space\na b;c", {{"a", "b;c"}}},
          {"separator pipe", "#separator:pipe\na|b", {{"a", "b"}}},
          {"separator colon", "#separator:colon\na:b", {{"a", "b"}}},
          {"separator a space itself", "#separator: \na b;c", {{"a", "b;c"}}},
          {"separator a TAB itself", "#separator:\t\na,b", {{"a,b"}}},
          {"no separator: a quote, a word", "#separator:\"\n#separator:nope\na;b", {{"a", "b"}}},
          {"semicolon in more lines, over decimal commas", "a;b;0,5\nc;d", {{"a", "b", "", "", "", "0,5"}, {"c", "d"}}},
          {"semicolon on a tie of lines and counts", "a;b\nc,d", {{"a", "b"}, {"c,d"}}},
          {"comma when it occurs more often", "a,b,c\nd;e", {{"a", "b", "", "", "", "c"}, {"d;e"}}},
          {"comma in more lines, semicolon more often", "a;b;c;d\ne,f\ng,h", {{"a;b;c;d"}, {"e", "f"}, {"g", "h"}}},
          {"lines starting with '#' counted", "a;b\n#,,\n#,,\nc,d", {{"a;b"}, {"#"}, {"#"}, {"c", "d"}}},
          {"lines after a '#' line counted", "a;b\n#x\rc,d\ne,f", {{"a;b"}, {"#x"}, {"c", "d"}, {"e", "f"}}},
          {"a TAB anywhere wins", "a,b\tc\nd,e", {{"a,b", "c"}, {"d,e"}}},
          {"quoted separators, not counted", "\"a;b;c\",d", {{"a;b;c", "d"}}},
          {"a quote opens after a comma", "x,\"a;b;c\"", {{"x", "a;b;c"}}},
          {"a quote opens after a semicolon", "x;\"a,b,c\"", {{"x", "a,b,c"}}},
          {"a quote opens after CR", "x,y\r\"a;b;c\"", {{"x", "y"}, {"a;b;c"}}},
          {"a quote opens again after a doubled one", "\"a\"\";b;c\",x", {{"a\";b;c", "x"}}},
          // Markup, clozes, encodings.
          {"html: tags, references, media",
           "#html:true\n<p>un</p><p>deux</p><a href=\"x\">z</a>[x]\t&#x3042;&#2048;&quot;x&apos;&gt;&#x4F;&#x6a;"
           "[sound:a.mp3]<img src=\"a>b.png\"><z><A><Z>",
           {{"un deux z[x]", "あ\u0800\"x'>Oj"}}},
          // A tag breaks the line only by its whole name: <param>, <pz>, <p9> are no <p>.
          {"html: spaces",
           "#html:TRUE\n a <!-- c -->  b&nbsp;&nbsp;c \t<BR>x<li>y<param>z<PARAM>w<pz>v<PZ>u<pa>t<PA>s<p0>r<p9>q",
           {{"a b c", "x yzwvutsrq"}}},
          {"html: no reference, no tag",
           "#html:true\n&eacute;&#0;&#xD800;&#x110000;&#;&#x;&foo\ta < b > 1<2 <b &#9;c&#65",
           {{"&eacute;&#0;&#xD800;&#x110000;&#;&#x;&foo", "a < b > 1<2 <b c&#65"}}},
          {"html: quoted '>' inside a tag", "#html:true\n<a title='x>y'>z</a>\t[sound:open", {{"z", "[sound:open"}}},
          {"html false: as written", "#html:false\n<br>&amp;\t a  b ", {{"<br>&amp;", " a  b "}}},
          {"no html header: only <br>", "a<BR>b<br />c</br>\t<i>x</i>&amp;", {{"a b c</br>", "<i>x</i>&amp;"}}},
          {"clozes", "{{c1::a::h}} {{c12::b {{c3::c}}}}\t{{c::y}} {{c1::n} x", {{"a b c", "{{c::y}} {{c1::n} x"}}},
          // The five bytes the code page leaves free are the C1 controls of that number.
          {"Windows-1252",
           "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F\x90\t\x91\x92\x93\x94\x95\x96\x97\x98\x99"
           "\x9A\x9B\x9C\x9D\x9E\x9F\xE9",
           {{"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090", "‘’“”•–—˜™š›œ\u009DžŸé"}}},
          {"UTF-8", "\xC3\xA9t\xC3\xA9\t\xE2\x82\xAC\xF0\x9F\x99\x82", {{"été", "€🙂"}}},
          {"UTF-8 mark", "\xEF\xBB\xBF#separator:tab\na\tb", {{"a", "b"}}},
          {"bad UTF-8 after the mark", "\xEF\xBB\xBF\xC3\tb", {{"Ã", "b"}}},
          {"a sequence cut short is Windows-1252", "\xC3\xA9\t\xE2\x82", {{"Ã©", "â‚"}}},
          {"UTF-16 LE", S("\xFF\xFE\x61\0\t\0=\xD8\x42\xDE", 10), {{"a", "🙂"}}},
          {"UTF-16 BE", S("\xFE\xFF\0a\0\t\0b\0\n\0c", 12), {{"a", "b"}, {"c"}}},
      });
}

S Tr(const S& id, const S& in) { return "<translation id='" + id + "'>" + in + "</translation>"; }
S Text(const S& in) { return "<text>" + in + "</text>"; }
S Grade(const S& n, const S& e) { return "<grade><count>" + n + "</count><errorcount>" + e + "</errorcount></grade>"; }
S Entry(const S& in) { return "<entry>" + in + "</entry>"; }
S Kvtml(const S& in) { return "<kvtml version='2.0'>" + in + "</kvtml>"; }
S One(const S& in) { return Kvtml("<entries>" + Entry(Tr("0", Text(in))) + "</entries>"); }
// The entries on line 4.
S Entries(const S& in) { return "<kvtml version='2.0'>\n\n<entries>\n" + in + "\n</entries>\n</kvtml>\n"; }
S Pair(const S& left, const S& right) { return Entries(Entry(Tr("0", Text(left)) + Tr("1", Text(right)))); }
ReadCase Xml(const char* name, const S& bytes, int line) {
  return {name, bytes, {}, {}, "n'est pas un fichier XML bien formé (ligne " + std::to_string(line) + ")."};
}

TEST(Kvtml, DocumentsGiveTheirRowsOrTheLineOfTheFault) {
  const S laughs = QByteArray("&a;").repeated(100000).toStdString();
  StudyTable::Row last(256);
  last[0] = "yes", last[255] = "last";
  ExpectRead(
      ParseKvtml,
      {
          {"Parley: counts and errors of both directions, Juste within 0..Demandé",
           FileBytes(TENAXO_TEST_DATA "/import/parley.kvtml"),
           {{"chat", "猫", "7", "4", "", "neko"},
            {"chien", "犬"},
            {"eau", "水", "2", "0"},
            {"montagne", "山", "1", "1"}},
           {{55, "entrée sans texte"}}},
          {"references, CR LF", Pair("&amp;&lt;&gt;&#233;\r\nb", "&#9;&#13;&#x10000;"), {{"&<>é b", "  \U00010000"}}},
          {"CDATA, comments, elements", Pair("<![CDATA[x<y]]>a<!-- c -->b<i>c</i>", "<x/>d"), {{"x<yabc", "d"}}},
          {"Windows-1252", "<?xml version='1.0' encoding='windows-1252'?>" + One("\xE9t\xE9 \x80"), {{"été €"}}},
          {"internal DTD entity", "<!DOCTYPE kvtml [<!ENTITY e 'x<i>y</i>'>]>" + One("&e;"), {{"xy"}}},
          {"grades of translations 0 and 1 summed; counts and errors bad or huge",
           Entries(Entry(Tr("0", Text("a") + Grade("5", "-2")) + Tr("1", Text("b") + Grade("99999999999", "x")) +
                         Tr("2", Text("c") + Grade("7", "0")))),
           {{"a", "b", "2147483647", "2147483647", "", "c"}}},
          {"a count with spaces; a count deeper in the grade, a grade deeper in the translation are none",
           Entries(Entry(Tr("0", Text("a") + "<grade><x>" + Grade("9", "9") + "</x></grade><x><count>5</count>" +
                                     Grade("5", "0") + "</x>" + Grade("&#13;\t3\n ", "1")))),
           {{"a", "", "3", "2"}}},
          {"text or translation of a deeper element, translation id not a number, the last column",
           Entries(Entry(Tr("0", "<x>" + Text("no") + "</x>" + Text("yes")) + "<x>" + Text("no") + Tr("1", Text("no")) +
                         "</x>" + Tr("x", Text("no")) + Tr("253", Text("no")) + Tr("252", Text("last")))),
           {last}},
          {"entries only at the second level, entries without text skipped with their line",
           Kvtml(Entry(Tr("0", Text("a"))) + "\n<entries>" + Entry(Tr("0", Text(" "))) + "\n" +
                 Entry(Tr("1", "x") + Grade("1", "0")) + Entry(Tr("1", Text("c"))) + "</entries><lessons>" +
                 Entry(Tr("0", Text("b"))) + "</lessons>"),
           {{"", "c"}},
           {{2, "entrée sans texte"}, {3, "entrée sans texte"}}},
          {"KVTML 1: deeper <t>, <e>", "<kvtml><e><o>a</o><t>b</t><x><t>no</t><e/></x></e></kvtml>", {{"a", "b"}}},
          {"another root", "<?xml version='1.0'?>\n<html/>", {}, {}, "n'est pas un fichier KVTML (ligne 2)."},
          {"no entries", Kvtml("\n\n\n<lessons/>\n"), {}, {}, "ne contient aucune entrée (ligne 5)."},
          {"no pair", One(" "), {}, {}, "ne contient aucune paire à importer."},
          Xml("unclosed root", "<kvtml version=\"2.0\">\n<entries>\n", 3),
          Xml("entity not declared in the document", "<!DOCTYPE kvtml SYSTEM \"k.dtd\">\n\n" + One("&eacute;"), 3),
          Xml("external entity", "<!DOCTYPE kvtml [<!ENTITY x SYSTEM '/etc/hostname'>]>\n" + One("&x;"), 2),
          Xml("beyond the expansion limit", "<!DOCTYPE kvtml [<!ENTITY a '" + S(1000, 'a') + "'>]>\n" + One(laughs), 2),
          Xml("version 1.1", "<?xml version=\"1.1\"?><kvtml/>", 1),
          Xml("unknown encoding", "<?xml version=\"1.0\" encoding=\"x-none\"?><kvtml/>", 1),
          Xml("not Shift JIS as declared", "<?xml version='1.0' encoding='Shift_JIS'?>\n" + One("\x81\x20"), 2),
          Xml("lines ending in CR", "<?xml version='1.0' encoding='Shift_JIS'?>\r<kvtml>\r\r<e>\x81\x20</e></kvtml>",
              4),
          Xml("not UTF-8 in a text", Pair("\xE9t\xE9", "b"), 4),
          Xml("a character cut at the end", Pair("a", "b") + "\xC3", 7),
      });
}

// The exports read back as the list (blank pairs out, Juste over Demandé, bad text); .tsv; a .tnx is no export.
TEST_F(ProgramFolder, ExportsReadBackAsTheList) {
  StudyTable list = MakeTable(
      {"maison;家;3;2;0,667;;note", "#dièse;\"guillemets\" d'abord;;;;;", "; ;5;5;;;",
       "a<br>b & c;{{c1::tab}};1;0;0,000;;", "jamais trouvé;x;4;9;;;", "🙂;\xEF\xBF\xBE;;;;;", "seul;;;;;;"},
      7);
  ExportList(list, PathOf("liste.txt"));
  EXPECT_EQ(FileBytes(PathOf("liste.txt")),
            "#separator:tab\n#html:false\n#columns:Gauche\tDroite\tDemandé\tJuste\tRatio\tColonne 6\tColonne 7\n"
            "maison\t家\t3\t2\t0,667\t\tnote\n\"#dièse\"\t\"\"\"guillemets\"\" d'abord\"\t\t\t\t\t\n"
            "a<br>b & c\t{{c1::tab}}\t1\t0\t0,000\t\t\njamais "
            "trouvé\tx\t4\t9\t\t\t\n🙂\t\xEF\xBF\xBE\t\t\t\t\t\nseul\t\t\t\t\t\t\n");
  list.SetCell(1, 6, "\xEF\xBF\xBE\xE9t\xE9");  // U+FFFE, then bytes that are not UTF-8
  ExportList(list, PathOf("liste.KVTML"));
  EXPECT_EQ(ImportListFile(PathOf("liste.KVTML")).rows,
            Split({"maison;家;3;2;;;note", "#dièse;\"guillemets\" d'abord;;;", "a<br>b & c;{{c1::tab}};1;0;",
                   "jamais trouvé;x;4;4;", "🙂;\uFFFD\uFFFDt\uFFFD;;;", "seul;;;;"}));
  EXPECT_NE(FileBytes(PathOf("liste.KVTML")).find("<title>liste</title>"), S::npos);
  ExportList(MakeTable({"#dièse;sharp;3;2;0,667;note", " ; ", "a\tb\r\nc;\"d\""}), PathOf("paires.TSV"));
  EXPECT_EQ(FileBytes(PathOf("paires.TSV")), "#dièse\tsharp\na b  c\t\"d\"\n") << ".tsv: the pairs alone";
  PutFile(PathOf("Mots.tnx"), "a\tb\r\n");
  EXPECT_EQ(ErrorOf([&] { ExportList(list, PathOf("Mots.tnx")); }),
            "Impossible d'exporter vers \"" + PathOf("Mots.tnx").toStdString() +
                "\" : un fichier .tnx est une liste du programme.");
  EXPECT_EQ(FileBytes(PathOf("Mots.tnx")), "a\tb\r\n");
}

// Any entry of the name's path takes it; a name for the list file holds no folder.
TEST_F(ProgramFolder, NewListNames) {
  EXPECT_EQ(FreeListName(QString()), QStringLiteral("Liste importée"));
  PutFile(PathOf("Mots.tnx"), "");
  QDir(Folder()).mkdir(QStringLiteral("Mots 2.tnx"));
  Link("nowhere", PathOf("Mots 3.tnx"));
  EXPECT_EQ(FreeListName(QStringLiteral("Mots")), QStringLiteral("Mots 4"));
  EXPECT_EQ(FlatListName(QStringLiteral("sous\\dossier/liste"), QString()), QStringLiteral("sous_dossier_liste"));
}

// The lesson's empty <entry id>, each {translation, fromid, grade, count, errors}.
TEST(Exchange, KvtmlExportKeepsItsLessonAndPractice) {
  const StudyTable list =
      MakeTable({"jamais;a", "15 sur 20;b;20;15", "5 sur 5, moins de 10;c;5;5", "Juste trop;d;1;9"});
  QXmlStreamReader reader(QByteArray::fromStdString(KvtmlText(list, "t")));
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
  const decltype(grades) expected = {{0, 1, 5, 10, 2}, {1, 0, 5, 10, 3}, {0, 1, 4, 2, 0},
                                     {1, 0, 4, 3, 0},  {0, 1, 4, 0, 0},  {1, 0, 4, 1, 0}};
  EXPECT_EQ(grades, expected);
}

// '#' lines are pairs, KWordQuiz's header is told; only Gauche-Droite practice counts.
TEST(Exchange, ImportKeepsEveryLineAndThePracticeOfThePair) {
  const std::tuple<const char*, std::vector<S>, std::vector<int>> cases[] = {
      {"kwordquiz.csv", {"#dièse;sharp;;;", "bémol;flat;;;"}, {1, 2}},
      {"parley3.kvtml", {"Talg;tallow;5;5;;suif", "Saft;sap;9;7;", "Erbse;pea;5;4;"}, {}},
      {"kvtml1.kvtml", {"Haus;house;7;4;;maison", "Baum;tree;2;0;", "Hund;dog;;;"}, {}},
  };
  for (const auto& [file, rows, skipped] : cases) {
    SCOPED_TRACE(file);
    const ImportedList list = ImportListFile(QStringLiteral(TENAXO_TEST_DATA "/exchange/") + file);
    EXPECT_EQ(list.rows, Split(rows));
    std::vector<int> lines;
    for (const SkippedLine& line : list.skipped) lines.push_back(line.line);
    EXPECT_EQ(lines, skipped);
  }
  EXPECT_EQ(ParseTextImport("Title:\tx\nchat\tcat\n", "t").Pairs(), 2) << "a title alone is a pair";
  EXPECT_EQ(ParseTextImport("Titre :\tx\nAuteur :\ny\tz", "t").skipped.front().reason, "en-tête de KWordQuiz");
}

// The bytes of no list encoding: each refusal names the line of the fault.
TEST(Exchange, RefusalsNameTheLineOfTheFault) {
  using namespace std::string_literals;
  const std::pair<S, S> lists[] = {
      {"\xFF\xFE\x61\0\n\0b\0\n\0\x3D\xD8\n\0"s, "est marqué UTF-16, mais sa ligne 3 n'est pas de l'UTF-16 valide."},
      {"\xFE\xFF\0a\0\r\0\n\0b\n"s, "est marqué UTF-16, mais sa ligne 2 n'est pas de l'UTF-16 valide."},
      {"a\r\n\r\nb\0c"s,
       "n'est pas une liste : sa ligne 3 contient un caractère nul (texte UTF-16 sans marque, ou "
       "fichier qui n'est pas du texte)."}};
  for (const auto& [bytes, message] : lists) {
    FileEncoding encoding;
    EXPECT_EQ(ErrorOf([&] { DecodeListFile(bytes, "t", encoding); }), "Le fichier \"t\" " + message);
  }
}

}  // namespace
}  // namespace tenaxo
