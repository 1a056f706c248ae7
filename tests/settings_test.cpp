// SPDX-License-Identifier: GPL-3.0-or-later
// The settings, always against a file in a temporary folder.
#include <QDateTime>

#include "Settings.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using namespace test;
using S = std::string;

class SettingsFile : public ::testing::Test {
 protected:
  QString Path(const char* name = "Tenaxo.ini") const { return dir_.path() + u'/' + name; }
  // Liste, Vocal, Gauche and Voix as read (check boxes as their stored texts), or the failure's message.
  static void ExpectValues(const QString& file, const std::array<S, 4>& expected) {
    const Settings s(file);
    const std::function<S()> reads[] = {[&] { return s.ListName(); }, [&] { return BoolToText(s.Speech()); },
                                        [&] { return BoolToText(s.LeftFirst()); }, [&] { return s.VoiceLanguage(); }};
    for (size_t k = 0; k < 4; ++k) {
      S value;
      const S error = ErrorOf([&] { value = reads[k](); });
      EXPECT_EQ(error == "(no error)" ? value : error, expected[k]) << "value " << k;
    }
  }
  QTemporaryDir dir_;
};

// A first start reads empty values and makes the file in its folders; an unreadable file reads the same.
TEST_F(SettingsFile, AMissingFileReadsEmptyAndIsMade) {
  ExpectValues(Path("config/sous/Tenaxo.ini"), {"", "0", "0", ""});
  EXPECT_EQ(FileBytes(Path("config/sous/Tenaxo.ini")), "[Tenaxo]\n");
  QDir().mkdir(Path("dossier.ini"));
  ExpectValues(Path("dossier.ini"), {"", "0", "0", ""});
}

// Each value under its name in [Tenaxo], UTF-8 up to a NUL, boxes as "-1"/"0"; a value that is no text refused.
TEST_F(SettingsFile, EachValueIsStoredUnderItsNameAndReadAsText) {
  const S bad = "Type de données incorrect pour '";
  using Change = std::function<void(Settings&)>;  // none: the file is only read
  // The file's bytes, before the change and after it; the values read.
  const std::tuple<const char*, Change, std::array<S, 4>> cases[] = {
      {"[Tenaxo]\nListe=\"1, été\"\n", [](Settings& s) { s.SetListName("1, été"); }, {"1, été", "0", "0", ""}},
      {"[Tenaxo]\nListe=ab\n", [](Settings& s) { s.SetListName(S("ab\0cd", 5)); }, {"ab", "0", "0", ""}},
      {"[Tenaxo]\nVocal=-1\n", [](Settings& s) { s.SetSpeech(true); }, {"", "-1", "0", ""}},
      {"[Tenaxo]\nGauche=-1\n", [](Settings& s) { s.SetLeftFirst(true); }, {"", "0", "-1", ""}},
      {"[Tenaxo]\nVoix=el\n", [](Settings& s) { s.SetVoiceLanguage("el"); }, {"", "0", "0", "el"}},
      {"[Autre]\nListe=x\nVocal=-1\nGauche=-1\nVoix=el\n", nullptr, {"", "0", "0", ""}},
      {"[Tenaxo]\nListe=日\nVoix=\"a,b\"\n", nullptr, {"日", "0", "0", "a,b"}},
      {"[Tenaxo/]\n[Tenaxo]\nListe=x\nVoix=ja\n", nullptr, {"x", "0", "0", "ja"}},
      {"[Tenaxo]\nVocal=tRUE\nGauche=0.5\n", nullptr, {"", "-1", "-1", ""}},
      {"[Tenaxo]\nListe=1, 2\nVocal=1, 2\nGauche=1, 2\nVoix=1, 2\n",
       nullptr,
       {bad + "Liste'", bad + "Vocal'", bad + "Gauche'", bad + "Voix'"}},
      {"[Tenaxo]\nVocal=@ByteArray(-1)\nVoix=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\n",
       nullptr,
       {"", bad + "Vocal'", "0", bad + "Voix'"}},
  };
  qint64 stamp = 1000000000;
  for (const auto& [file, change, read] : cases) {
    SCOPED_TRACE(file);
    QFile::remove(Path());
    Settings settings(Path());
    if (change) {
      change(settings);
    } else {
      PutFile(Path(), file);
      // A time of its own for each file: one of the same size and time is taken as the one parsed before.
      QFile written(Path());
      ASSERT_TRUE(written.open(QIODevice::Append) &&
                  written.setFileTime(QDateTime::fromSecsSinceEpoch(++stamp), QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(FileBytes(Path()), file);
    ExpectValues(Path(), read);
  }
}

// A write that cannot be made fails and leaves the file as it was.
TEST_F(SettingsFile, ARefusedWriteFailsAndLeavesTheFile) {
  PutFile(Path("fichier"), "x");
  QDir().mkdir(Path("dossier.ini"));
  PutFile(Path("illisible.ini"), "[Tenaxo]\nListe=y\n?\n");
  for (const char* file : {"fichier/Tenaxo.ini", "dossier.ini", "illisible.ini"}) {
    SCOPED_TRACE(file);
    const S before = FileBytes(Path(file));
    Settings settings(Path(file));
    EXPECT_EQ(ErrorOf([&] { settings.SetListName("x"); }), "Echec à la définition des données pour 'Liste'");
    EXPECT_EQ(FileBytes(Path(file)), before);
  }
}

}  // namespace
}  // namespace tenaxo
