// SPDX-License-Identifier: GPL-3.0-or-later
// A list always has a name; "Supprimer" puts the list in the trash (of a home and data folder of the test's own), or
// deletes it after a second question where no trash can be made.
#include "FakeListWindow.h"

namespace tenaxo {
namespace {
using namespace test;

TEST_F(ProgramFolder, NamelessListsAreRefusedAndDeletedListsGoToTheTrash) {
  const std::string bytes = "a\tA\t\t\t\r\n", gone = "<missing>", none = "(no error)",
                    refused = "Donnez un nom à la liste.";
  const QString trash = "Mettre cette liste à la corbeille ?",
                again = "La liste ne peut pas aller à la corbeille. Effacer cette liste définitivement ?";
  const QByteArray saved[] = {qgetenv("HOME"), qgetenv("XDG_DATA_HOME")};
  const QByteArray data = QFile::encodeName(Folder() + "data"), plain = QFile::encodeName(PathOf("plain"));
  PutFile(PathOf("plain"), "");                  // no trash can be made in a file
  qputenv("HOME", QFile::encodeName(Folder()));  // the lists' volume: the trash is the data folder's
  void (*load)(ListCommands&) = [](ListCommands& c) { c.LoadList(); };
  void (*save)(ListCommands&) = [](ListCommands& c) { c.SaveList(); };
  void (*remove)(ListCommands&) = [](ListCommands& c) { c.DeleteList(); };
  // the name shown, the command, the data folder, the answer, the questions, the error, the list file, the trashed one
  const std::tuple<std::string, void (*)(ListCommands&), QByteArray, bool, std::vector<QString>, std::string,
                   std::string, std::string>
      cases[] = {
          {"", load, data, true, {}, refused, bytes, gone},
          {" ", save, data, true, {}, refused, bytes, gone},
          {"  ", remove, data, true, {}, refused, bytes, gone},
          {"L", remove, data, true, {trash}, none, gone, bytes},
          {"L", remove, data, false, {trash}, none, bytes, gone},
          {"L", remove, plain, true, {trash, again}, none, gone, gone},
      };
  for (const auto& [shown, click, dataHome, answer, questions, error, left, trashed] : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::tuple(shown, dataHome, answer)));
    QDir(Folder() + "data").removeRecursively();
    PutFile(PathOf((shown + ".tnx").c_str()), bytes);
    qputenv("XDG_DATA_HOME", dataHome);
    Session session;
    session.listName = "L";
    FakeWindow window{shown, answer, {}, {}};
    ListCommands commands(session, window.Bind());
    EXPECT_EQ(ErrorOf([&, &click = click] { click(commands); }), error);
    EXPECT_EQ(window.questions, questions);
    EXPECT_EQ(FileBytes(PathOf((shown + ".tnx").c_str())), left);
    EXPECT_EQ(FileBytes(Folder() + "data/Trash/files/L.tnx"), trashed);
    EXPECT_EQ(session.listName, left == bytes ? "L" : "") << "forgotten once its file is gone";
    // Unsaved changes under no name go to the rescue copy "sans nom <date>".
    if (error == refused) {
      EXPECT_EQ(QFileInfo(commands.SaveRescueCopy()).fileName().left(11), "sans nom 20");
    }
  }
  qputenv("HOME", saved[0]);
  qputenv("XDG_DATA_HOME", saved[1]);
}

}  // namespace
}  // namespace tenaxo
