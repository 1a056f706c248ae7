// The settings store, always against a file in a temporary folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include "Errors.h"
#include "Settings.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using test::English;
using test::FileBytes;
using test::French;
using test::PutFile;

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString Path(const char* name = "Tenaxo.ini") const { return dir_.path() + "/" + name; }
  RegRoot Root() const { return RegRoot(Path()); }

  AnsiString Read(const char* path) {
    AnsiString value = "not read";
    ReadRegString(Root(), path, value);
    return value;
  }

  static std::string Failure(const std::function<void()>& action) {
    try {
      action();
    } catch (const Error& e) {
      return e.Message().toStdString();
    }
    return "(no error)";
  }

  QTemporaryDir dir_;
};

TEST_F(Settings, AFirstStartReadsEmptyTextsAndMakesTheGroup) {
  EXPECT_EQ(Read("Tenaxo\\Liste"), "");
  EXPECT_EQ(Read("Tenaxo\\Vocal"), "");
  EXPECT_EQ(Read("Tenaxo\\Gauche"), "");
  EXPECT_FALSE(TextToBool(Read("Tenaxo\\Vocal")));
  EXPECT_EQ(FileBytes(Path()), "[Tenaxo]\n");
}

TEST_F(Settings, TheFirstReadMakesMissingFolders) {
  const RegRoot root(dir_.path() + "/config/sous/Tenaxo.ini");
  AnsiString value = "x";
  ReadRegString(root, "Tenaxo\\Liste", value);
  EXPECT_EQ(value, "");
  EXPECT_TRUE(QFileInfo(root.FileName()).isFile());
}

TEST_F(Settings, TheThreeValuesLandInTheTenaxoGroup) {
  WriteRegString(Root(), "Tenaxo\\Liste", Ansi("Anglais"));
  WriteRegString(Root(), "Tenaxo\\Vocal", BoolToText(true));
  WriteRegString(Root(), "Tenaxo\\Gauche", BoolToText(false));
  EXPECT_EQ(FileBytes(Path()), "[Tenaxo]\nGauche=0\nListe=Anglais\nVocal=-1\n");
  EXPECT_TRUE(TextToBool(Read("Tenaxo\\Vocal")));
  EXPECT_FALSE(TextToBool(Read("Tenaxo\\Gauche")));
}

TEST_F(Settings, TextsComeBackExactly) {
  std::string everyByte;
  for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
  for (const std::string& text :
       {everyByte, std::string(), std::string(" a "), std::string("@Variant(\x01)"), std::string("@@x"),
        std::string("a, b"), std::string("\"cit\xE9\""), std::string("x;y#z=w"), std::string("[Tenaxo]"),
        std::string("C:\\listes\\a"), std::string("true"), std::string("\x81\x8D\x8F\x90\x9D")}) {
    WriteRegString(Root(), "Tenaxo\\Liste", text);
    ASSERT_EQ(Read("Tenaxo\\Liste"), text);
    ASSERT_EQ(QSettings(Path(), QSettings::IniFormat).allKeys(), QStringList{"Tenaxo/Liste"});
  }
}

TEST_F(Settings, ATextStopsAtItsFirstNul) {
  WriteRegString(Root(), "Tenaxo\\Liste", std::string("ab\0cd", 5));
  EXPECT_EQ(Read("Tenaxo\\Liste"), "ab");
}

TEST_F(Settings, WritingReplacesTheValueWhateverItsType) {
  PutFile(Path(), "[Tenaxo]\nVocal=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\n");
  WriteRegString(Root(), "Tenaxo\\Vocal", "-1");
  EXPECT_EQ(Read("Tenaxo\\Vocal"), "-1");
}

struct PathCase {
  const char* path;
  const char* key;  // where the file keeps it
};

class Paths : public Settings, public ::testing::WithParamInterface<PathCase> {};

TEST_P(Paths, NameGroupsAndAValue) {
  WriteRegString(Root(), GetParam().path, "v");
  EXPECT_EQ(QSettings(Path(), QSettings::IniFormat).allKeys(), QStringList{GetParam().key});
  EXPECT_EQ(Read(GetParam().path), "v");
}

INSTANTIATE_TEST_SUITE_P(Walk, Paths,
                         ::testing::Values(PathCase{"Tenaxo\\Liste", "Tenaxo/Liste"},
                                           PathCase{"A\\B\\C", "A/B/C"}, PathCase{"A", "A/@"},
                                           PathCase{"A\\\\B", "A/B"}, PathCase{"A\\B\\", "A/B"}));

// Hand-edited or foreign files.
struct StoredCase {
  const char* name;
  const char* file;
  const char* text;  // UTF-8 of the text read, or nullptr when reading fails
};

class StoredValues : public Settings, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredValues, ReadAsText) {
  const StoredCase& c = GetParam();
  PutFile(Path(), c.file);
  if (c.text) {
    EXPECT_EQ(Read("Tenaxo\\Vocal"), Ansi(c.text));
  } else {
    EXPECT_EQ(Failure([&] { Read("Tenaxo\\Vocal"); }), "Type de données incorrect pour 'Vocal'");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, StoredValues,
    ::testing::Values(StoredCase{"Plain", "[Tenaxo]\nVocal=1\n", "1"},
                      StoredCase{"Missing", "[Tenaxo]\nListe=x\n", ""},
                      StoredCase{"OtherGroup", "[Autre]\nVocal=-1\n", ""},
                      StoredCase{"Empty", "[Tenaxo]\nVocal=\n", ""},
                      StoredCase{"Quoted", "[Tenaxo]\nVocal=\"a, b\"\n", "a, b"},
                      StoredCase{"Utf8", "[Tenaxo]\nVocal=\xC3\xA9t\xC3\xA9\n", "été"},
                      StoredCase{"OutsideTheCodePage", "[Tenaxo]\nVocal=\xE6\x97\xA5\n", "?"},
                      StoredCase{"List", "[Tenaxo]\nVocal=1, 2\n", nullptr},
                      StoredCase{"Binary", "[Tenaxo]\nVocal=@ByteArray(-1)\n", nullptr},
                      StoredCase{"Number", "[Tenaxo]\nVocal=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\n", nullptr},
                      StoredCase{"Rectangle", "[Tenaxo]\nVocal=@Rect(0 0 1 1)\n", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Settings, AnUnreadableStoreReadsAsEmpty) {
  QDir().mkdir(Path());  // a folder where the file should be
  EXPECT_EQ(Read("Tenaxo\\Liste"), "");
}

struct RefusedCase {
  const char* name;
  std::function<QString(const QString& folder)> make;  // gives the settings file
};

class RefusedWrites : public Settings, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedWrites, FailAndLeaveTheFile) {
  const QString file = GetParam().make(dir_.path());
  const std::string before = FileBytes(file);
  EXPECT_EQ(Failure([&] { WriteRegString(RegRoot(file), "Tenaxo\\Liste", "x"); }),
            "Echec à la définition des données pour 'Liste'");
  EXPECT_EQ(FileBytes(file), before);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, RefusedWrites,
    ::testing::Values(RefusedCase{"FolderIsAFile",
                                  [](const QString& d) {
                                    PutFile(d + "/fichier", "x");
                                    return d + "/fichier/Tenaxo.ini";
                                  }},
                      RefusedCase{"FileIsAFolder",
                                  [](const QString& d) {
                                    QDir().mkdir(d + "/Tenaxo.ini");
                                    return d + "/Tenaxo.ini";
                                  }},
                      RefusedCase{"Unparsable",
                                  [](const QString& d) {
                                    PutFile(d + "/Tenaxo.ini", "[Tenaxo\nListe=y\n");
                                    return d + "/Tenaxo.ini";
                                  }},
                      RefusedCase{"UnparsableLine",
                                  [](const QString& d) {
                                    PutFile(d + "/Tenaxo.ini", "[Tenaxo]\nListe=y\n?\n");
                                    return d + "/Tenaxo.ini";
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder the user may not write to. The administrator writes anywhere, so
// the test drops to an ordinary user in a child process when it runs as one.
TEST_F(Settings, AReadOnlyFolderRefusesTheWrite) {
  const QString folder = dir_.path() + "/lecture";
  QDir().mkdir(folder);
  const QString file = folder + "/Tenaxo.ini";
  PutFile(file, "[Tenaxo]\nListe=ancienne\n");
  chmod(QFile::encodeName(dir_.path()), 0755);
  chmod(QFile::encodeName(file), 0644);
  chmod(QFile::encodeName(folder), 0555);
  fflush(nullptr);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(9);
    int code = 0;
    const std::string message = Failure([&] { WriteRegString(RegRoot(file), "Tenaxo\\Liste", "x"); });
    if (message != "Echec à la définition des données pour 'Liste'") code = 1;
    AnsiString value;
    ReadRegString(RegRoot(file), "Tenaxo\\Liste", value);
    if (value != "ancienne") code = 2;
    _exit(code);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  chmod(QFile::encodeName(folder), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: wrong message, 2: the refused value was read back, 9: no user to drop to";
  EXPECT_EQ(FileBytes(file), "[Tenaxo]\nListe=ancienne\n");
}

TEST_F(Settings, TheCurrentUserStoreCanBeMoved) {
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path() + "/config"));  // never the real user's folder
  const QString real = RegRoot::CurrentUser().FileName();
  EXPECT_EQ(real, dir_.path() + "/config/Tenaxo.ini");
  RegRoot::SetCurrentUser(Path());
  EXPECT_EQ(RegRoot::CurrentUser().FileName(), Path());
  RegRoot::SetCurrentUser(QString());
  EXPECT_EQ(RegRoot::CurrentUser().FileName(), real);
}

// ---------------------------------------------------------------- TextToBool

struct BoolCase {
  const char* text;
  bool french;
  bool english;
};

class TextToBoolCases : public ::testing::TestWithParam<BoolCase> {};

TEST_P(TextToBoolCases, FollowTheLocale) {
  EXPECT_EQ(TextToBool(GetParam().text, French()), GetParam().french) << "French: " << GetParam().text;
  EXPECT_EQ(TextToBool(GetParam().text, English()), GetParam().english) << "English: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToBoolCases,
    ::testing::Values(BoolCase{"-1", true, true}, BoolCase{"0", false, false}, BoolCase{"1", true, true},
                      BoolCase{"2", true, true}, BoolCase{"True", true, true}, BoolCase{"tRUE", true, true},
                      BoolCase{"False", false, false}, BoolCase{"FALSE", false, false},
                      BoolCase{"", false, false}, BoolCase{"oui", false, false}, BoolCase{"Vrai", false, false},
                      BoolCase{"0,5", true, false}, BoolCase{"0.5", false, true}, BoolCase{"0,0", false, false},
                      BoolCase{" 1 ", true, true}, BoolCase{"1e999", false, false}, BoolCase{"True ", false, false},
                      BoolCase{"-", false, false}));

}  // namespace
}  // namespace tenaxo
