// Lists brought in from other trainers' files, and taken back out.
#include <gtest/gtest.h>
#include <unistd.h>

#include "ExportList.h"
#include "ImportList.h"
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

TEST(Import, TextQuirks) {
  const struct {
    const char* name;
    std::string text;
    Lines rows, skipped = {};
  } cases[] = {
      {"separator by name, any case", "#separator:SEMICOLON\na;b,c\n", {"a|b,c|||"}},
      {"separator as the character", "#separator:|\na|b", {"a|b|||"}},
      {"separator Space", "#separator:Space\na b", {"a|b|||"}},
      {"separator Colon", "#separator:colon\na:b", {"a|b|||"}},
      {"separator Pipe", "#separator:pipe\na|b", {"a|b|||"}},
      {"separator Comma", "#separator:Comma\na,b;c", {"a|b;c|||"}},
      {"separator Tab", "#separator:tab\na\tb,c", {"a|b,c|||"}},
      {"comma guessed", "a,b\nc,d", {"a|b|||", "c|d|||"}},
      {"semicolon guessed over decimal commas", "a;b;0,5\nc;d;1,5", {"a|b||||0,5", "c|d||||1,5"}},
      {"semicolon on a tie", "a;0,5", {"a|0,5|||"}},
      {"semicolon on a tie of lines and counts", "a;b\nc,d", {"a|b|||", "c,d||||"}},
      {"comma when it occurs more often", "a,b,c\nd;e", {"a|b||||c", "d;e||||"}},
      {"comma in more lines", "a,b;c\nd,e", {"a|b;c|||", "d|e|||"}},
      {"a TAB anywhere wins", "a,b\tc\nd,e", {"a,b|c|||", "d,e||||"}},
      {"quoted separators are not counted", "\"a;b;c\",d", {"a;b;c|d|||"}},
      {"CR line ends", "a\tb\rc\td\r", {"a|b|||", "c|d|||"}},
      {"html: tags, references, media",
       "#html:true\n<p>un</p><p>deux</p><a href=\"x\">z</a>[x]\t&#x3042;&#2048;&quot;x&apos;&gt;&#x4F;&#x6a;"
       "[sound:a.mp3]<img src=\"a>b.png\">",
       {"un deux z[x]|あ\u0800\"x'>Oj|||"}},
      // A tag breaks the line only by its whole name: <param> is no <p>.
      {"html: spaces folded, comments out",
       "#html:TRUE\n  a <!-- c -->  b&nbsp;&nbsp;c \t<BR>x<li>y<param>z<PARAM>w",
       {"a b c|x yzw|||"}},
      {"html: what is no reference or tag stays",
       "#html:true\n&eacute;&#0;&#xD800;&#xDFFF;&#x110000;&#;&#x;&foo\ta < b <b &#9;c&#65",
       {"&eacute;&#0;&#xD800;&#xDFFF;&#x110000;&#;&#x;&foo|a < b <b c&#65|||"}},
      {"html: quoted '>' inside a tag", "#html:true\n<a title='x>y'>z</a>\t[sound:open", {"z|[sound:open|||"}},
      {"html false: as written", "#html:false\n<br>&amp;\t a  b ", {"<br>&amp;| a  b |||"}},
      {"no html header: only <br>", "a<BR>b<br />c</br>\t<i>x</i>&amp;", {"a b c</br>|<i>x</i>&amp;|||"}},
      {"cloze with hint, nested, unclosed",
       "{{c1::a::h}} {{c12::b {{c3::c}}}}\t{{c::y}} {{c1::open} x",
       {"a b c|{{c::y}} {{c1::open} x|||"}},
      {"counters of an export",
       "#columns:Gauche\tDroite\tDemandé\tJuste\tRatio\tColonne 6\na\tb\t3\t2\t0,667\tx\n"
       "c\td\tx\t-1\t\t\ne\tf\t12345678901\t2147483647",
       {"a|b|3|2||x", "c|d|||", "e|f||2147483647|"}},
      {"other #columns give no counters", "#columns:Gauche\tDroite\tDemandé\tJuste\na\tb\t3\t2", {"a|b||||3|2"}},
      {"#columns after a column that is not a field",
       "#guid column:1\n#columns:id\tGauche\tDroite\tDemandé\tJuste\tRatio\nx\ta\tb\t3\t2\t1",
       {"a|b|3|2|"}},
      {"columns that are not fields",
       "#guid column:0\n#guid column:1\n#notetype column:2\n#deck column:4\n#tags column:300\nid\tBasic\ta\tdeck\tb\tc",
       {"a|b||||c"}},
      {"comments anywhere, unknown headers", "#vim: ts=8\n#separator\na\tb\n#x\ty\nc\td", {"a|b|||", "c|d|||"}},
      {"trailing empty fields add no column", "a,b,,\nc,d,,e", {"a|b|||", "c|d|||||e"}},
      {"a quote inside a field is text", "a\"b,c\"", {"a\"b|c\"|||"}},
      {"text after a closing quote", "\"a\"b,\"\"", {"ab||||"}},
      {"quoted line breaks, lines counted",
       "\"a\r\nb\rc\nd\",x\n\n\"\",\"\"\n\"\n\"\n",
       {"a b c d|x|||"},
       {"5:ligne vide", "6:Gauche et Droite vides", "7:Gauche et Droite vides"}},
      {"blank lines skipped",
       "a\tb\n\n \t \nc\td\n\n",
       {"a|b|||", "c|d|||"},
       {"2:ligne vide", "3:Gauche et Droite vides", "5:ligne vide"}},
      // 254 fields make 257 columns, one too many; 253 are read.
      {"too many columns",
       std::string(253, ',') + "a\nb,x" + std::string(251, ',') + "y",
       {"b|x|||" + std::string(251, '|') + "y"},
       {"1:plus de 256 colonnes"}},
      {"only Droite", "\tb", {"|b|||"}},
      {"Windows-1252", "\xE9t\xE9\t\x80\x81", {"été|€\xC2\x81|||"}},
      {"UTF-8", "\xC3\xA9t\xC3\xA9\t\xE2\x82\xAC", {"été|€|||"}},
      {"UTF-8 mark", "\xEF\xBB\xBF#separator:tab\na\tb", {"a|b|||"}},
      {"bad UTF-8 after the mark", "\xEF\xBB\xBF\xC3\tb", {"Ã|b|||"}},
      {"overlong UTF-8 is Windows-1252", "\xC0\xAF\tb", {"À¯|b|||"}},
      {"a surrogate is Windows-1252", "a\t\xED\xA0\x80", {"a|í\u00A0€|||"}},
      {"UTF-16 LE",
       std::string("\xFF\xFE"
                   "a\0\t\0b\0",
                   8),
       {"a|b|||"}},
      {"UTF-16 BE", std::string("\xFE\xFF\0a\0\t\0b\0\n\0c", 12), {"a|b|||", "c||||"}},
      {"VT and FF are spaces", "a\vb\fc\td", {"a b c|d|||"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ImportedList list = ParseTextImport(c.text, QStringLiteral("t"));
    EXPECT_EQ(Rows(list), c.rows);
    EXPECT_EQ(Skipped(list), c.skipped);
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
