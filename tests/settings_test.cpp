// The settings store, always against a file in a temporary folder.
#include <gtest/gtest.h>

#include "Settings.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using namespace test;

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString Path(const char* name = "Tenaxo.ini") const { return dir_.path() + u'/' + name; }
  // The value's text, or the failure's message.
  std::string Read(const char* value, const QString& file) {
    std::string text = "not read";
    const std::string error = ErrorOf([&] { ReadSetting(SettingsFile(file), value, text); });
    return error == "(no error)" ? text : error;
  }
  void Write(const std::string& text, const QString& file) { WriteSetting(SettingsFile(file), "Tenaxo\\Liste", text); }

  QTemporaryDir dir_;
};

// The first start reads empty texts and makes the file with its group, in folders made for it; a store that cannot be
// read reads as empty too.
TEST_F(Settings, AMissingStoreReadsEmptyAndIsMade) {
  const QString file = Path("config/sous/Tenaxo.ini");
  EXPECT_EQ(Read("Tenaxo\\Liste", file), "");
  EXPECT_EQ(Read("Tenaxo\\Vocal", file), "");
  EXPECT_EQ(FileBytes(file), "[Tenaxo]\n");
  QDir().mkdir(Path());
  EXPECT_EQ(Read("Tenaxo\\Liste", Path()), "");
}

// Every character of Windows-1252 and of other scripts, and texts the INI file would otherwise take for typed values; a
// NUL ends the text.
TEST_F(Settings, TextsComeBackExactlyUpToANul) {
  QString every;
  for (char16_t c = 1; c < 0x180; ++c) every += QChar(c);
  every += QString::fromUtf8("€ Żółw Ελλάδα Москва 日本語 한국어 עברית 😀");
  for (const std::string& text : {ToUtf8(every), std::string(), std::string("@Variant(\x01)"), std::string("a, b")}) {
    Write(text, Path());
    EXPECT_EQ(Read("Tenaxo\\Liste", Path()), text);
  }
  EXPECT_EQ(FileBytes(Path()), "[Tenaxo]\nListe=\"a, b\"\n") << "the value Liste in the group Tenaxo";
  Write(std::string("ab\0cd", 5), Path());
  EXPECT_EQ(Read("Tenaxo\\Liste", Path()), "ab");
}

// Hand-edited or foreign files: a value is read as text, or refused when it is not text.
TEST_F(Settings, StoredValuesAreReadAsText) {
  const char* const notText = "Type de données incorrect pour 'Vocal'";
  const std::pair<const char*, const char*> cases[] = {
      {"[Tenaxo]\nListe=x\n", ""},
      {"[Autre]\nVocal=-1\n", ""},
      {"[Tenaxo]\nVocal=\"a, b\"\n", "a, b"},
      {"[Tenaxo]\nVocal=\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\n", "été 日"},
      {"[Tenaxo]\nVocal=1, 2\n", notText},
      {"[Tenaxo]\nVocal=@ByteArray(-1)\n", notText},
      {"[Tenaxo]\nVocal=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\n", notText},
      {"[Tenaxo/]\n[Tenaxo]\nVocal=-1\n", "-1"},  // two spellings of one group
  };
  for (const auto& [file, text] : cases) {
    PutFile(Path(), file);
    EXPECT_EQ(Read("Tenaxo\\Vocal", Path()), text) << file;
  }
}

// The store's folder is a file, the store is a folder, or it has a line the store cannot read: the write fails and the
// file stays as it was.
TEST_F(Settings, ARefusedWriteFailsAndLeavesTheFile) {
  PutFile(Path("fichier"), "x");
  QDir().mkdir(Path("dossier.ini"));
  PutFile(Path("illisible.ini"), "[Tenaxo]\nListe=y\n?\n");
  for (const char* name : {"fichier/Tenaxo.ini", "dossier.ini", "illisible.ini"}) {
    const std::string before = FileBytes(Path(name));
    EXPECT_EQ(ErrorOf([&] { Write("x", Path(name)); }), "Echec à la définition des données pour 'Liste'") << name;
    EXPECT_EQ(FileBytes(Path(name)), before) << name;
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
    EXPECT_EQ(TextToBool(c.text, test::French()), c.french) << "French: '" << c.text << "'";
    EXPECT_EQ(TextToBool(c.text, test::English()), c.english) << "English: '" << c.text << "'";
  }
}

}  // namespace
}  // namespace tenaxo
