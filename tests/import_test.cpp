// Lists brought in from other trainers' files, and taken back out.
#include <gtest/gtest.h>
#include <unistd.h>

#include "ExportList.h"
#include "ImportList.h"
#include "Kvtml.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using test::ErrorOf;
using test::FileBytes;
using test::PutFile;
using Lines = std::vector<std::string>;

QString DataPath(const char* name) { return QStringLiteral(TENAXO_TEST_DATA "/import/") + QString::fromUtf8(name); }

// Rows written the short way, cells joined by '|'.
Lines Rows(const ImportedList& list) {
  Lines rows;
  for (const auto& row : list.rows) {
    rows.emplace_back();
    for (const std::string& cell : row) rows.back() += (&cell == &row.front() ? "" : "|") + cell;
  }
  return rows;
}

// Skipped lines as "line:reason".
Lines Skipped(const ImportedList& list) {
  Lines lines;
  for (const auto& s : list.skipped) lines.push_back(std::to_string(s.line) + ":" + s.reason.toStdString());
  return lines;
}

TEST(Import, FilesOfOtherTrainersGiveTheirPairs) {
  const struct {
    const char* file;
    Lines rows, skipped;
  } cases[] = {
      {"parley.kvtml",  // counts and errors of both directions
       {"chat|猫|7|4||neko", "chien|犬|||", "eau|水|2|0|", "montagne|山|1|1|"},
       {"55:entrée sans texte"}},
      {"kwordquiz1.kvtml", {"rouge|red|||", "vert|green|||", "bleu & blanc|blue||||azul"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const ImportedList list = ImportListFile(DataPath(c.file));
    EXPECT_EQ(Rows(list), c.rows);
    EXPECT_EQ(Skipped(list), c.skipped);
    EXPECT_EQ(list.Pairs(), static_cast<int>(c.rows.size()));
  }
}

class ImportFolder : public test::ProgramFolder {};

TEST_F(ImportFolder, BadFilesAreRefusedByName) {
  // A sparse file costs no disk: one at the limit is read (and is no text), one byte more is refused unread.
  const auto sized = [this](const char* name, off_t size) {
    PutFile(PathOf(name), "");
    EXPECT_EQ(truncate(QFile::encodeName(PathOf(name)).constData(), size), 0);
    return PathOf(name);
  };
  const QString tooLarge = "est trop grand pour être importé (plus de 256 Mo).";
  const std::pair<QString, QString> cases[] = {
      {DataPath("image.png"), "n'est pas un fichier texte (caractère de contrôle à la ligne 2)."},
      {DataPath("archive.zip"), "n'est pas un fichier texte (caractère de contrôle à la ligne 1)."},
      {DataPath("empty.txt"), "est vide."},
      {DataPath("headers_only.txt"), "ne contient aucune paire à importer."},
      {DataPath("unclosed_quote.csv"), "contient un guillemet qui ne se ferme pas (ligne 2)."},
      {DataPath("broken.kvtml"), "n'est pas un fichier XML bien formé (ligne 5)."},
      {DataPath("no_entries.kvtml"), "ne contient aucune entrée (ligne 5)."},
      {DataPath("not_kvtml.kvtml"), "n'est pas un fichier KVTML (ligne 2)."},
      {sized("limit.txt", kMaxImportBytes), "n'est pas un fichier texte (caractère de contrôle à la ligne 1)."},
      {sized("big.csv", kMaxImportBytes + 1), tooLarge},
      {sized("big.kvtml", kMaxImportBytes + 1), tooLarge},
  };
  const QStringList before = Entries();
  for (const auto& [path, message] : cases) {
    EXPECT_EQ(ErrorOf([&] { ImportListFile(path); }), "Le fichier \"" + (path + "\" " + message).toStdString());
  }
  EXPECT_EQ(Entries(), before);  // nothing made
}

// A text and what it gives: its rows (the cells left out up to the five
// columns are empty) and its skipped lines, {line, reason}; or the refusal.
struct TextCase {
  const char* name;
  std::string text;
  std::vector<StudyTable::Row> rows;
  std::vector<std::pair<int, std::string>> skipped = {};
  std::string error = "(no error)";
};

void ExpectRead(std::vector<TextCase> cases) {
  for (TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    ImportedList list;
    const std::string error = ErrorOf([&] { list = ParseTextImport(c.text, QStringLiteral("t")); });
    EXPECT_EQ(error, c.error == "(no error)" ? c.error : "Le fichier \"t\" " + c.error);
    for (auto& row : c.rows) row.resize(std::max<size_t>(row.size(), 5));
    EXPECT_EQ(list.rows, c.rows);
    std::vector<std::pair<int, std::string>> skipped;
    for (const SkippedLine& s : list.skipped) skipped.emplace_back(s.line, s.reason.toStdString());
    EXPECT_EQ(skipped, c.skipped);
  }
}

TEST(TextImport, LinesRecordsAndHeaders) {
  StudyTable::Row widest = {"b", "x"};  // 254 fields make 257 columns, one too many; 253 are read
  widest.resize(255);
  widest.push_back("y");
  const std::string tooWide = std::string(253, ',') + "a\nb,x" + std::string(251, ',') + "y";
  const std::string counters = "Gauche\tDroite\tDemandé\tJuste\tRatio";
  const char* const noPair = "ne contient aucune paire à importer.";
  const std::string control = "n'est pas un fichier texte (caractère de contrôle à la ligne ";
  ExpectRead({
      {"LF", "a\tb\n\n \t\nc\td\n", {{"a", "b"}, {"c", "d"}}, {{2, "ligne vide"}, {3, "Gauche et Droite vides"}}},
      {"CR LF", "a\tb\r\n\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}, {{2, "ligne vide"}}},
      {"CR", "a\tb\r\rc\td\r", {{"a", "b"}, {"c", "d"}}, {{2, "ligne vide"}}},
      {"no final line end", "a\tb\n\nc\td", {{"a", "b"}, {"c", "d"}}, {{2, "ligne vide"}}},
      {"doubled quote", "\"a \"\"b\"\"\",c", {{"a \"b\"", "c"}}},
      {"a quote inside a field is text", "a\"b,c\"", {{"a\"b", "c\""}}},
      {"text after a closing quote", "\"a\"b,\"\"", {{"ab", ""}}},
      {"quoted line ends", "\"a\r\nb\rc\nd\",x\n\"\",\"\"", {{"a b c d", "x"}}, {{5, "Gauche et Droite vides"}}},
      {"quote never closed", "a,b\r\n\"c\r\nd,e", {}, {}, "contient un guillemet qui ne se ferme pas (ligne 2)."},
      {"ragged rows", "a,b,c\nd\ne,f,,g,,", {{"a", "b", "", "", "", "c"}, {"d"}, {"e", "f", "", "", "", "", "g"}}},
      {"too many columns", tooWide, {widest}, {{1, "plus de 256 colonnes"}}},
      {"VT and FF are spaces", "a\vb\fc\td", {{"a b c", "d"}}},
      {"control character", "a\rb\r\nc\n\x01", {}, {}, control + "4)."},
      {"NUL in UTF-16", std::string("\xFF\xFE\x61\0\0\0", 6), {}, {}, control + "1)."},
      {"empty", "", {}, {}, noPair},
      {"headers and blank lines only", "#separator:tab\n\n", {}, {}, noPair},
      {"comments anywhere, unknown headers", "#vim: ts=8\n#separator\na\tb\n#x\ty\nc\td", {{"a", "b"}, {"c", "d"}}},
      {"counters of an export",
       "#columns:" + counters + "\tC6\na\tb\t3\t2\t0,7\tx\nc\td\tx\t-1\t\t\ne\tf\t12345678901\t2147483647",
       {{"a", "b", "3", "2", "", "x"}, {"c", "d"}, {"e", "f", "", "2147483647"}}},
      {"other #columns give no counters", "#columns:Gauche\tDroite\tDemandé\na\tb\t3", {{"a", "b", "", "", "", "3"}}},
      {"#columns past a non-field",
       "#guid column:1\n#columns:id\t" + counters + "\nx\ta\tb\t3\t2\t1",
       {{"a", "b", "3", "2"}}},
      {"columns that are not fields",
       "#guid column:0\n#guid column:1\n#notetype column:2\n#deck column:4\n#tags column:300\nid\tBasic\ta\tdeck\tb\tc",
       {{"a", "b", "", "", "", "c"}}},
  });
}

TEST(TextImport, Separators) {
  ExpectRead({
      {"by name, any case", "#separator:SEMICOLON\na;b,c\n", {{"a", "b,c"}}},
      {"as the character", "#separator:|\na|b", {{"a", "b"}}},
      {"Space", "#separator:Space\na b", {{"a", "b"}}},
      {"Colon", "#separator:colon\na:b", {{"a", "b"}}},
      {"Pipe", "#separator:pipe\na|b", {{"a", "b"}}},
      {"Comma", "#separator:Comma\na,b;c", {{"a", "b;c"}}},
      {"Tab", "#separator:tab\na\tb,c", {{"a", "b,c"}}},
      {"semicolon in more lines, over decimal commas", "a;b;0,5\nc;d", {{"a", "b", "", "", "", "0,5"}, {"c", "d"}}},
      {"semicolon on a tie of lines and counts", "a;b\nc,d", {{"a", "b"}, {"c,d"}}},
      {"comma when it occurs more often", "a,b,c\nd;e", {{"a", "b", "", "", "", "c"}, {"d;e"}}},
      {"comma in more lines", "a,b;c\nd,e", {{"a", "b;c"}, {"d", "e"}}},
      {"comment lines not counted", "a;b\n#,,\n#,,\nc,d", {{"a", "b"}, {"c,d"}}},
      {"a TAB anywhere wins", "a,b\tc\nd,e", {{"a,b", "c"}, {"d,e"}}},
      {"quoted separators, not counted", "\"a;b;c\",d", {{"a;b;c", "d"}}},
  });
}

TEST(TextImport, MarkupAndClozes) {
  ExpectRead({
      {"html: tags, references, media",
       "#html:true\n<p>un</p><p>deux</p><a href=\"x\">z</a>[x]\t&#x3042;&#2048;&quot;x&apos;&gt;&#x4F;&#x6a;"
       "[sound:a.mp3]<img src=\"a>b.png\">",
       {{"un deux z[x]", "あ\u0800\"x'>Oj"}}},
      // A tag breaks the line only by its whole name: <param> and <pz> are no <p>.
      {"html: spaces",
       "#html:TRUE\n a <!-- c -->  b&nbsp;&nbsp;c \t<BR>x<li>y<param>z<PARAM>w<pz>v",
       {{"a b c", "x yzwv"}}},
      {"html: no reference, no tag",
       "#html:true\n&eacute;&#0;&#xD800;&#x110000;&#;&#x;&foo\ta < b <b &#9;c&#65",
       {{"&eacute;&#0;&#xD800;&#x110000;&#;&#x;&foo", "a < b <b c&#65"}}},
      {"html: quoted '>' inside a tag", "#html:true\n<a title='x>y'>z</a>\t[sound:open", {{"z", "[sound:open"}}},
      {"html false: as written", "#html:false\n<br>&amp;\t a  b ", {{"<br>&amp;", " a  b "}}},
      {"no html header: only <br>", "a<BR>b<br />c</br>\t<i>x</i>&amp;", {{"a b c</br>", "<i>x</i>&amp;"}}},
      {"clozes", "{{c1::a::h}} {{c12::b {{c3::c}}}}\t{{c::y}} {{c1::n} x", {{"a b c", "{{c::y}} {{c1::n} x"}}},
  });
}

TEST(TextImport, Encodings) {
  ExpectRead({
      // The five bytes the code page leaves free are the C1 controls of that number.
      {"Windows-1252",
       "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F\x90\t\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A"
       "\x9B\x9C\x9D\x9E\x9F\xE9",
       {{"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090", "‘’“”•–—˜™š›œ\u009DžŸé"}}},
      {"UTF-8", "\xC3\xA9t\xC3\xA9\t\xE2\x82\xAC\xF0\x9F\x99\x82", {{"été", "€🙂"}}},
      {"UTF-8 mark", "\xEF\xBB\xBF#separator:tab\na\tb", {{"a", "b"}}},
      {"bad UTF-8 after the mark", "\xEF\xBB\xBF\xC3\tb", {{"Ã", "b"}}},
      {"overlong UTF-8 is Windows-1252", "\xC0\xAF\tb", {{"À¯", "b"}}},
      {"a surrogate is Windows-1252", "a\t\xED\xA0\x80", {{"a", "í\u00A0€"}}},
      {"beyond U+10FFFF is Windows-1252", "a\t\xF4\x90\x80\x80", {{"a", "ô\u0090€€"}}},
      {"a sequence cut short is Windows-1252", "\xC3\xA9\t\xE2\x82", {{"Ã©", "â‚"}}},
      {"UTF-16 LE", std::string("\xFF\xFE\x61\0\t\0=\xD8\x42\xDE", 10), {{"a", "🙂"}}},
      {"UTF-16 BE", std::string("\xFE\xFF\0a\0\t\0b\0\n\0c", 12), {{"a", "b"}, {"c"}}},
  });
}

// Rows one per line, or the refusal.
std::string Outcome(ImportedList (*read)(std::string_view, const QString&), const std::string& bytes) {
  std::string text;
  const std::string error = ErrorOf([&] {
    for (const std::string& row : Rows(read(bytes, QStringLiteral("f")))) text += row + "\n";
  });
  return error == "(no error)" ? text : error;
}

// The program's own scanner reads the plain forms and leaves the others to QXmlStreamReader; both read every form
// alike.
TEST(Import, KvtmlFormsReadAsQXmlStreamReaderReadsThem) {
  using S = std::string;
  const auto tr = [](const S& id, const S& in) { return "<translation id=\"" + id + "\">" + in + "</translation>"; };
  const auto text = [](const S& inside) { return "<text>" + inside + "</text>"; };
  const auto entry = [](const S& inside) { return "<entry>" + inside + "</entry>"; };
  const auto kvtml = [](const S& inside) { return "<kvtml version=\"2.0\">" + inside + "</kvtml>"; };
  const auto one = [&](const S& inside) { return kvtml("<entries>" + entry(tr("0", text(inside))) + "</entries>"); };
  const auto entries = [](const S& inside) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kvtml version=\"2.0\">\n<entries>\n" + inside +
           "\n</entries>\n</kvtml>\n";
  };
  const auto pair = [&](S left, S right) { return entries(entry(tr("0", text(left)) + tr("1", text(right)))); };
  const auto refused = [](int line) {
    return "Le fichier \"f\" n'est pas un fichier XML bien formé (ligne " + std::to_string(line) + ").";
  };
  const S notKvtml = "Le fichier \"f\" n'est pas un fichier KVTML (ligne ";
  // plain: read by the program's own scanner.
  const struct {
    const char* name;
    S document, outcome;
    bool plain;
  } cases[] = {
      {"plain", pair("a", "b"), "a|b|||\n", true},
      {"references, CR LF",
       pair("a &amp; &lt;&gt;&quot;&apos;&#233;&#x3042;&#x3a;&#x4F;\r\nb", "&#9;c&#13;&#xE000;&#x10000;"),
       "a & <>\"'éあ:O b| c \uE000\U00010000|||\n", true},
      {"CDATA", pair("<![CDATA[x<y]]>", "b"), "x<y|b|||\n", false},
      {"comments and elements inside the text", pair("a<!-- c -->b<i>c</i>", "<x-1.y/>d"), "abc|d|||\n", true},
      {"self-closing", entries(entry(tr("0", "<text/>") + tr("1", text("b")))), "|b|||\n", true},
      {"doctype, quotes, spaces in tags",
       "<?xml version='1.0' standalone='yes' ?>\n<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://x/kvtml2.dtd\" >\n"
       "<!-- c --><kvtml version = '2.0' ><entries ><entry id='0'><translation id = \"1\" ><text >b</text >"
       "</translation\n></entry></entries></kvtml>\n<!-- end -->\n",
       "|b|||\n", true},
      {"lone CR", pair("a\rb", "c"), "a b|c|||\n", false},
      {"byte-order mark", "\xEF\xBB\xBF" + pair("a", "b"), "a|b|||\n", false},
      {"Latin-1 declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + one("\xE9t\xE9"), "été||||\n", false},
      {"internal DTD entity", "<!DOCTYPE kvtml [<!ENTITY e \"x\">]>" + one("&e;"), "x||||\n", false},
      {"xmlns, processing instruction",
       "<kvtml xmlns=\"urn:x\" version=\"2.0\"><?pi x?><entries>" + entry(tr("0", text("a"))) + "</entries></kvtml>",
       "a||||\n", false},
      {"counts with spaces, bad, huge",
       entries(entry(tr("0", text("a") + "<grade><count> 5 </count><errorcount>-2</errorcount></grade>") +
                     tr("1", text("b") + "<grade><count>99999999999</count><errorcount>x</errorcount></grade>") +
                     tr("2", text("c") + "<grade><count>7</count></grade>"))),
       "a|b|2147483647|2147483647||c\n", true},
      {"a count deeper in the grade, a grade deeper in the translation are none",
       entries(entry(tr("0", text("a") + "<grade><count>3</count><x><count>9</count></x><errorcount>1</errorcount>"
                                         "</grade><x><grade><count>5</count></grade></x>"))),
       "a||3|2|\n", true},
      {"text or translation of a deeper element, translation id not a number",
       entries(entry(tr("0", "<example>" + text("no") + "</example>" + text("yes")) + tr("x", text("no")) + "<x>" +
                     tr("1", text("no")) + "</x>" + tr("253", text("no")) + tr("252", text("last")))),
       "yes|" + S(254, '|') + "last\n", true},
      {"entries only at the second level",
       kvtml(entry(tr("0", text("a"))) + "<lessons>" + entry(tr("0", text("b"))) + "</lessons><entries>" +
             entry(tr("1", text("c"))) + "</entries>"),
       "|c|||\n", true},
      {"utf-8 in lower case, standalone no, a comment between entries",
       "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><kvtml version=\"2.0\"><entries><!-- c -->" +
           entry(tr("0", text("a"))) + "</entries></kvtml>",
       "a||||\n", true},
      {"other characters in the DOCTYPE", "<!DOCTYPE kvtml SYSTEM \"a#b.dtd\">" + one("a"), "a||||\n", false},
      {"KVTML 1: a <t> or <e> deeper in the entry is none",
       "<kvtml><e><o>a</o><t>b</t><x><t>no</t><e><o>no</o></e></x></e></kvtml>", "a|b|||\n", true},
      {"not KVTML", "<?xml version=\"1.0\"?>\n<html><e><o>a</o></e></html>", notKvtml + "2).", true},
      {"no declaration, another root", "<mots version=\"2.0\"/>", notKvtml + "1).", true},
      {"mismatched end tag", pair("a</x>", "b"), refused(4), false},
      {"text after the root", pair("a", "b") + "x", refused(7), false},
      {"unclosed root", "<kvtml version=\"2.0\">\n<entries>\n", refused(3), false},
      {"two dashes in a comment", pair("a<!-- -- -->", "b"), refused(4), false},
      {"control character reference", pair("&#1;", "b"), refused(4), false},
      {"undeclared entity", pair("&eacute;", "b"), refused(4), false},
      {"duplicate attribute", "<kvtml version=\"2.0\" version=\"1\"/>", refused(1), false},
      {"version 1.1 declared", "<?xml version=\"1.1\"?><kvtml/>", refused(1), false},
      {"decimal reference with a hex digit", pair("&#6a;", "b"), refused(4), false},
      {"decimal reference with a capital hex digit", pair("&#6A;", "b"), refused(4), false},
      {"unclosed comment", pair("a", "b") + "<!-- x", refused(7), false},
      {"U+FFFE", pair("\xEF\xBF\xBE", "b"), refused(4), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Outcome(ParseKvtml, c.document), c.outcome);
    EXPECT_EQ(Outcome(ParseKvtmlWithQt, c.document), c.outcome);
    std::optional<ImportedList> plain;
    const bool decided = ErrorOf([&] { plain = ParseKvtmlPlain(c.document, QStringLiteral("f")); }) != "(no error)";
    EXPECT_EQ(decided || plain.has_value(), c.plain);  // else left to QXmlStreamReader
  }
}

TEST_F(ImportFolder, ExportThenImportGivesTheListBack) {
  StudyTable list(7, 7);
  const std::vector<StudyTable::Row> rows = {
      {"maison", "家", "3", "2", "0,667", "", "note"},
      {"#dièse", "\"guillemets\" d'abord", "", "", "", "", ""},
      {"", " ", "5", "5", "", "", ""},  // blank pair: not exported
      {"a<br>b &amp;", "{{c1::tab}}", "1", "0", "0,000", "", ""},
      {"jamais trouvé", "x", "4", "9", "", "", ""},  // Juste over Demandé
      {"🙂", "\xEF\xBF\xBE", "", "", "", "", ""},  // XML holds no U+FFFE
  };
  for (size_t k = 0; k < rows.size(); ++k) list.SetRowTexts(static_cast<int>(k) + 1, rows[k]);
  ExportList(list, PathOf("liste.txt"));
  EXPECT_EQ(FileBytes(PathOf("liste.txt")),
            "#separator:tab\n#html:false\n#columns:Gauche\tDroite\tDemandé\tJuste\tRatio\tColonne 6\tColonne 7\n"
            "maison\t家\t3\t2\t0,667\t\tnote\n"
            "\"#dièse\"\t\"\"\"guillemets\"\" d'abord\"\t\t\t\t\t\n"
            "a<br>b &amp;\t{{c1::tab}}\t1\t0\t0,000\t\t\n"
            "jamais trouvé\tx\t4\t9\t\t\t\n"
            "🙂\t\xEF\xBF\xBE\t\t\t\t\t\n");
  const Lines back = {"maison|家|3|2|||note", "#dièse|\"guillemets\" d'abord|||", "a<br>b &amp;|{{c1::tab}}|1|0|",
                      "jamais trouvé|x|4|4|", "🙂|\uFFFD|||"};
  ExportList(list, PathOf("liste.KVTML"));
  EXPECT_EQ(Rows(ImportListFile(PathOf("liste.KVTML"))), back);
  const std::string kvtml = FileBytes(PathOf("liste.KVTML"));
  for (const char* part :
       {"<title>liste</title>", "<text>a&lt;br&gt;b &amp;amp;</text>\n", "<containerentry id=\"4\"/>\n  </container>"})
    EXPECT_NE(kvtml.find(part), std::string::npos) << part;

  PutFile(PathOf("Mots.tnx"), "a\tb\r\n");
  EXPECT_EQ(ErrorOf([&] { ExportList(list, PathOf("Mots.tnx")); }),
            "Impossible d'exporter vers \"" + PathOf("Mots.tnx").toStdString() +
                "\" : un fichier .tnx est une liste du programme.");
  EXPECT_EQ(FileBytes(PathOf("Mots.tnx")), "a\tb\r\n");
}

TEST_F(ImportFolder, FreeListNameAddsANumber) {
  EXPECT_EQ(FreeListName(QStringLiteral("Mots")), QStringLiteral("Mots"));
  EXPECT_EQ(FreeListName(QString()), QStringLiteral("Liste importée"));
  PutFile(PathOf("Mots.tnx"), "");
  QDir(Folder()).mkdir(QStringLiteral("Mots 2.tnx"));  // a folder takes the name too
  ASSERT_EQ(symlink("nowhere", QFile::encodeName(PathOf("Mots 3.tnx")).constData()), 0);
  EXPECT_EQ(FreeListName(QStringLiteral("Mots")), QStringLiteral("Mots 4"));
}

}  // namespace
}  // namespace tenaxo
