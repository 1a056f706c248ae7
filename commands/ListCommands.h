// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window does with list files: "Charger", "Sauver",
// "Supprimer", "Vider liste", "Importer des listes...", and the list names of
// the drop-down. The questions to the user and the messages are worded here;
// storage/ only reads and writes the files. The window lends its list-name
// drop-down and its confirmation box through ListWindow and mirrors the
// session into its controls after each call.
//
// A failure throws tenaxo::Error with the message to show, and then nothing
// has changed: study list, list name, counters, unsaved mark and label are as
// before. A declined confirmation changes nothing either.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

#include "FileStamp.h"
#include "ImportList.h"
#include "Session.h"
#include "Utf8.h"

namespace tenaxo {

struct ListWindow {
  // The text of the list-name drop-down, as it shows now.
  std::function<std::string()> ListName;
  // Asks the question in a "Confirmation" box: true for "OK".
  std::function<bool(const QString&)> Confirm;
  // The same with "Oui" and "Non", "Non" the default: true for "Oui".
  std::function<bool(const QString&)> ConfirmYesNo;
  // Replaces the drop-down's items by these names, in this order; the text
  // in its edit part stays as it is.
  std::function<void(const QStringList&)> SetListNames;
  // Empties the text in the drop-down's edit part.
  std::function<void()> ClearListName;
  // Puts the name in the drop-down's edit part.
  std::function<void(const QString&)> SetListName;
};

// What became of one file of an import.
struct ImportReport {
  QString file;      // as chosen
  QString listName;  // the list made from it; empty when it was refused
  int pairs = 0;
  std::vector<SkippedLine> skipped;
  QString error;  // why it was refused
};

enum class SaveResult {
  Saved,
  Declined,       // "Ecraser cette liste ?" answered "Annuler"
  ChangedOnDisk,  // the file changed on disk and the user kept it
};

class ListCommands {
 public:
  ListCommands(Session& session, ListWindow window);

  // Told (when set) once the study list is in its file, just saved; and once
  // it is another list, loaded or emptied with its file deleted, whose past
  // is no longer the list's before.
  std::function<void()> OnSaved;
  std::function<void()> OnReplaced;

  // Rebuilds the drop-down's items from the list files of the list folder:
  // each name up to its first ".tnx", unsorted, duplicates kept.
  void FillListNames();
  // "Charger": replaces the study list by the named list file. Out of memory fails with
  // "Mémoire insuffisante pour charger la liste "<path>"." Gives the message
  // to show once the list is loaded, empty when none: a UTF-16 list is saved
  // as UTF-8 with the mark. A file whose bytes are no list (DecodeListFile
  // fails) is never written by "Sauver" until a list is loaded again.
  QString LoadList();
  // "Sauver": writes the study list to the named list file, asking "Ecraser
  // cette liste ?" first when that would replace another list, and "La liste
  // a été modifiée sur le disque depuis son chargement. L'écraser ?" when
  // something else wrote the file since this list was loaded from it or saved
  // to it; then the drop-down's items again when the file is new. Fails for
  // the file the last load refused for its bytes.
  SaveResult SaveList();
  // "Supprimer": asks "Mettre cette liste à la corbeille ?" and moves the
  // named list file to the desktop's trash; where no trash takes it, asks
  // "La liste ne peut pas aller à la corbeille. Effacer cette liste
  // définitivement ?" and deletes it. Then empties the name, rebuilds the
  // items and clears the study list. A protected or missing file stays.
  void DeleteList();
  // "Importer des listes..." and a drop: each file, in order, becomes a new
  // list named after it (FreeListName: never over an existing file), written
  // at once without going through the study list; a refused file gives its
  // message and no list, and the others go on. Before the first list is
  // written, a study list with unsaved changes is saved as "Sauver" does;
  // when that fails or is declined, the import stops with an Error before
  // anything is written. Then the last list made is named in the drop-down
  // and loaded as "Charger" does. One report per file, in order.
  std::vector<ImportReport> ImportFiles(const QStringList& paths);
  // The text of the box that sums an import up.
  static QString ImportSummary(const std::vector<ImportReport>& reports);
  // "Vider liste": asks "Vider cette liste ?" and clears the study list; no
  // file is touched.
  void ClearList();

  // "Charger", "Sauver" and "Supprimer" refuse a name that is empty or only
  // spaces with "Donnez un nom à la liste.", before anything else.

  // List folder + the list name shown + ".tnx", and whether it exists (never
  // for a name that is empty or only spaces).
  QString ListFilePath() const;
  bool ListFileExists() const;

  // Where copies of a list that could not be saved go: UserDataFolder() +
  // "secours/".
  static QString RescueFolder();
  // Writes the study list to a new file of the rescue folder, "<list name>
  // <date and time>.tnx" (folder separators in the name become '_'), as a
  // save does; gives its path. The session is not changed.
  QString SaveRescueCopy(const QDateTime& now = QDateTime::currentDateTime()) const;

 private:
  // SaveList without the drop-down's items.
  SaveResult WriteList();
  static bool Nameless(const std::string& name);
  // The list name shown, or the failure "Donnez un nom à la liste.".
  std::string NamedList() const;

  Session& session_;
  ListWindow window_;
  FileStamp stamp_;     // the list file as last loaded or saved
  QString unreadable_;  // the list file last refused for its bytes, until a load
};

}  // namespace tenaxo
