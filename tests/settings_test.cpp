// The settings store, always against a file in a temporary folder.
#include <gtest/gtest.h>

#include <QSettings>

#include "Settings.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using test::ErrorOf;
using test::FileBytes;
using test::PutFile;

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString Path() const { return dir_.path() + "/Tenaxo.ini"; }
  AnsiString Read(const char* path, const QString& file = QString()) {
    AnsiString value = "not read";
    ReadRegString(RegRoot(file.isEmpty() ? Path() : file), path, value);
    return value;
  }

  QTemporaryDir dir_;
};

// The first start reads empty texts and makes the file with its group, in
// folders made for it; a store that cannot be read reads as empty too.
TEST_F(Settings, AMissingStoreReadsEmptyAndIsMade) {
  const QString file = dir_.path() + "/config/sous/Tenaxo.ini";
  EXPECT_EQ(Read("Tenaxo\\Liste", file), "");
  EXPECT_EQ(Read("Tenaxo\\Vocal", file), "");
  EXPECT_EQ(FileBytes(file), "[Tenaxo]\n");
  QDir().mkdir(Path());
  EXPECT_EQ(Read("Tenaxo\\Liste"), "");
}

// Every character of Windows-1252 and of other scripts, NUL aside, and texts
// the INI file would otherwise take for typed values.
TEST_F(Settings, TextsComeBackExactlyUpToANul) {
  QString every;
  for (char16_t c = 1; c < 0x180; ++c) every += QChar(c);
  every += QString::fromUtf8("€ Żółw Ελλάδα Москва 日本語 한국어 עברית 😀");
  for (const std::string& text : {Utf8(every), std::string(), std::string("@Variant(\x01)"), std::string("a, b")}) {
    WriteRegString(RegRoot(Path()), "Tenaxo\\Liste", text);
    EXPECT_EQ(Read("Tenaxo\\Liste"), text);
  }
  EXPECT_EQ(FileBytes(Path()), "[Tenaxo]\nListe=\"a, b\"\n") << "the value Liste in the group Tenaxo";
  WriteRegString(RegRoot(Path()), "Tenaxo\\Liste", std::string("ab\0cd", 5));
  EXPECT_EQ(Read("Tenaxo\\Liste"), "ab");
}

// Hand-edited or foreign files: a value is read as text, or refused when it
// is not text.
TEST_F(Settings, StoredValuesAreReadAsText) {
  const char* const notText = "Type de données incorrect pour 'Vocal'";
  const std::pair<const char*, const char*> cases[] = {
      {"[Tenaxo]\nListe=x\n", ""},
      {"[Autre]\nVocal=-1\n", ""},
      {"[Tenaxo]\nVocal=\"a, b\"\n", "a, b"},
      {"[Tenaxo]\nVocal=\xC3\xA9t\xC3\xA9\n", "été"},
      {"[Tenaxo]\nVocal=\xE6\x97\xA5\n", "日"},
      {"[Tenaxo]\nVocal=1, 2\n", notText},
      {"[Tenaxo]\nVocal=@ByteArray(-1)\n", notText},
      {"[Tenaxo]\nVocal=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\n", notText},
      {"[Tenaxo/]\n[Tenaxo]\nVocal=-1\n", "-1"},  // two spellings of one group
  };
  for (const auto& [file, text] : cases) {
    PutFile(Path(), file);
    AnsiString value;
    const std::string error = ErrorOf([&] { ReadRegString(RegRoot(Path()), "Tenaxo\\Vocal", value); });
    EXPECT_EQ(error == "(no error)" ? value : error, text) << file;
  }
}

// The store's folder is a file, the store is a folder, or it has a line the
// store cannot read: the write fails and the file stays as it was.
TEST_F(Settings, ARefusedWriteFailsAndLeavesTheFile) {
  PutFile(dir_.path() + "/fichier", "x");
  QDir().mkdir(dir_.path() + "/dossier.ini");
  PutFile(dir_.path() + "/illisible.ini", "[Tenaxo]\nListe=y\n?\n");
  for (const char* name : {"fichier/Tenaxo.ini", "dossier.ini", "illisible.ini"}) {
    const QString file = dir_.path() + "/" + name;
    const std::string before = FileBytes(file);
    EXPECT_EQ(ErrorOf([&] { WriteRegString(RegRoot(file), "Tenaxo\\Liste", "x"); }),
              "Echec à la définition des données pour 'Liste'")
        << name;
    EXPECT_EQ(FileBytes(file), before) << name;
  }
}

TEST(TextToBool, FollowsTheLocale) {
  const struct {
    const char* text;
    bool french, english;
  } cases[] = {{"-1", true, true},      {"0", false, false},     {"2", true, true},       {"True", true, true},
               {"tRUE", true, true},    {"False", false, false}, {"", false, false},      {"Vrai", false, false},
               {"vrai", false, false},  {"0,5", true, false},    {"0.5", false, true},    {"0,0", false, false},
               {" 1 ", true, true},     {"1e999", false, false}, {"True ", false, false}, {"-", false, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(TextToBool(c.text, test::French()), c.french) << "French: '" << c.text << "'";
    EXPECT_EQ(TextToBool(c.text, test::English()), c.english) << "English: '" << c.text << "'";
  }
}

}  // namespace
}  // namespace tenaxo
