// SPDX-License-Identifier: GPL-3.0-or-later
// The settings, always against a file in a temporary folder.
#include <gtest/gtest.h>

#include <QDateTime>

#include "Settings.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using namespace test;

// The value read, or the failure's message.
std::string Try(const std::function<std::string()>& read) {
  std::string value;
  const std::string error = ErrorOf([&] { value = read(); });
  return error == "(no error)" ? value : error;
}

// Liste, Vocal, Gauche and Voix as read, check boxes as their stored texts.
struct Values {
  std::string list, speech, leftFirst, voice;
};

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const char* name = "Tenaxo.ini") const { return dir_.path() + u'/' + name; }
  void ExpectValues(const QString& file, const Values& expected) {
    const Settings s(file);
    EXPECT_EQ(Try([&] { return s.ListName(); }), expected.list);
    EXPECT_EQ(Try([&] { return std::string(BoolToText(s.Speech())); }), expected.speech);
    EXPECT_EQ(Try([&] { return std::string(BoolToText(s.LeftFirst())); }), expected.leftFirst);
    EXPECT_EQ(Try([&] { return s.VoiceLanguage(); }), expected.voice);
  }

  QTemporaryDir dir_;
};

// The first start reads empty texts and unchecked boxes and makes the file with its group, in folders made for it; a
// file that cannot be read reads the same.
TEST_F(SettingsFile, AMissingFileReadsEmptyAndIsMade) {
  ExpectValues(Path("config/sous/Tenaxo.ini"), {"", "0", "0", ""});
  EXPECT_EQ(FileBytes(Path("config/sous/Tenaxo.ini")), "[Tenaxo]\n");
  QDir().mkdir(Path("dossier.ini"));
  ExpectValues(Path("dossier.ini"), {"", "0", "0", ""});
}

// Each value under its own name in the group [Tenaxo], check boxes as "-1" and "0"; in hand-edited or foreign files, a
// value is read as text, or refused by its name when it is not text.
TEST_F(SettingsFile, EachValueIsStoredUnderItsNameAndReadAsText) {
  const std::string bad = "Type de données incorrect pour '";
  const struct {
    const char* name;
    const char* file;                      // the file's bytes, before the write and after it
    std::function<void(Settings&)> write;  // none: the file is only read
    Values read;
  } cases[] = {
      // clang-format off
      {"list", "[Tenaxo]\nListe=\"a, b\"\n", [](Settings& s) { s.SetListName("a, b"); }, {"a, b", "0", "0", ""}},
      {"speech", "[Tenaxo]\nVocal=-1\n", [](Settings& s) { s.SetSpeech(true); }, {"", "-1", "0", ""}},
      {"left first", "[Tenaxo]\nGauche=-1\n", [](Settings& s) { s.SetLeftFirst(true); }, {"", "0", "-1", ""}},
      {"voice", "[Tenaxo]\nVoix=el\n", [](Settings& s) { s.SetVoiceLanguage("el"); }, {"", "0", "0", "el"}},
      {"another group", "[Autre]\nListe=x\nVocal=-1\nGauche=-1\nVoix=el\n", nullptr, {"", "0", "0", ""}},
      {"UTF-8", "[Tenaxo]\nListe=\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\nVoix=\"a,b\"\n", nullptr, {"été 日", "0", "0", "a,b"}},
      {"two spellings of the group", "[Tenaxo/]\n[Tenaxo]\nListe=x\nVoix=ja\n", nullptr, {"x", "0", "0", "ja"}},
      {"lists", "[Tenaxo]\nListe=1, 2\nVocal=1, 2\nGauche=1, 2\nVoix=1, 2\n", nullptr,
       {bad + "Liste'", bad + "Vocal'", bad + "Gauche'", bad + "Voix'"}},
      {"binary and typed", "[Tenaxo]\nVocal=@ByteArray(-1)\nVoix=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\n", nullptr,
       {"", bad + "Vocal'", "0", bad + "Voix'"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(Path());
    Settings settings(Path());
    if (c.write) {
      c.write(settings);
    } else {
      PutFile(Path(), c.file);
      // A time of its own for each file: one of the same size and time is taken as the one parsed before.
      QFile file(Path());
      ASSERT_TRUE(file.open(QIODevice::Append) && file.setFileTime(QDateTime::fromSecsSinceEpoch(1e9 + (&c - cases)),
                                                                   QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(FileBytes(Path()), c.file);
    ExpectValues(Path(), c.read);
  }
}

// Every character of Windows-1252 and of other scripts, and texts the INI file would otherwise take for a list or a
// typed value, come back as they went in; a NUL ends the text.
TEST_F(SettingsFile, TextsComeBackExactlyUpToANul) {
  QString every;
  for (char16_t c = 1; c < 0x180; ++c) every += QChar(c);
  every += QString::fromUtf8("€ Żółw Ελλάδα Москва 日本語 한국어 עברית 😀");
  for (const auto& [written, read] : {std::pair{ToUtf8(every), ToUtf8(every)},
                                      {"1, 2", "1, 2"},
                                      {"@Variant(\x01)", "@Variant(\x01)"},
                                      {std::string("ab\0cd", 5), "ab"}}) {
    SCOPED_TRACE(read);
    Settings settings(Path());
    settings.SetListName(written);
    EXPECT_EQ(settings.ListName(), read);
  }
}

// The file's folder is a file, the file is a folder, or it has a line that cannot be read: the write fails and the
// file stays as it was.
TEST_F(SettingsFile, ARefusedWriteFailsAndLeavesTheFile) {
  PutFile(Path("fichier"), "x");
  QDir().mkdir(Path("dossier.ini"));
  PutFile(Path("illisible.ini"), "[Tenaxo]\nListe=y\n?\n");
  for (const char* file : {"fichier/Tenaxo.ini", "dossier.ini", "illisible.ini"}) {
    SCOPED_TRACE(file);
    const std::string before = FileBytes(Path(file));
    Settings settings(Path(file));
    EXPECT_EQ(ErrorOf([&] { settings.SetListName("x"); }), "Echec à la définition des données pour 'Liste'");
    EXPECT_EQ(FileBytes(Path(file)), before);
  }
}

TEST(TextToBool, ANumberOfTheLocaleOrTrue) {
  const struct {
    const char* text;
    bool french, english;
  } cases[] = {{"-1", true, true},  {"0", false, false},    {"tRUE", true, true}, {"True ", false, false},
               {"", false, false},  {"Vrai", false, false}, {"0,5", true, false}, {"0.5", false, true},
               {" 1 ", true, true}, {"1e999", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("'") + c.text + "'");
    EXPECT_EQ(TextToBool(c.text, test::French()), c.french);
    EXPECT_EQ(TextToBool(c.text, test::English()), c.english);
  }
}

}  // namespace
}  // namespace tenaxo
