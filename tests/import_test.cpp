// Lists brought in from other trainers' files, and taken back out.
#include <gtest/gtest.h>
#include <unistd.h>

#include "ExportList.h"
#include "ImportList.h"
#include "ListNames.h"
#include "StorageFixture.h"
#include "TextImport.h"

namespace tenaxo {
namespace {
using test::ErrorOf;
using test::FileBytes;
using test::PutFile;
using Lines = std::vector<std::string>;

QString DataPath(const char* name) { return QStringLiteral(TENAXO_TEST_DATA "/import/") + QString::fromUtf8(name); }

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

TEST(ListNames, FlatListNameKeepsNoFolder) {
  EXPECT_EQ(FlatListName(QStringLiteral("sous\\dossier/liste"), QStringLiteral("x")),
            QStringLiteral("sous_dossier_liste"));
  EXPECT_EQ(FlatListName(QString(), QStringLiteral("sans nom")), QStringLiteral("sans nom"));
}

}  // namespace
}  // namespace tenaxo
