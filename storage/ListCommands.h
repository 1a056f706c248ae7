#pragma once
// What the main window does with list files: "Charger", "Sauver",
// "Supprimer", "Vider liste", and the list names of the drop-down. The window
// lends its list-name drop-down and its confirmation box through ListWindow
// and mirrors the session into its controls after each call.
//
// A failure throws tenaxo::Error with the message to show, and then nothing
// has changed: study list, list name, counters, unsaved mark and label are as
// before. A declined confirmation changes nothing either.
#include <QString>
#include <QStringList>
#include <functional>

#include "Ansi.h"
#include "Session.h"

namespace tenaxo {

struct ListWindow {
  // The text of the list-name drop-down, as it shows now.
  std::function<AnsiString()> ListName;
  // Asks the question in a "Confirmation" box: true for "OK".
  std::function<bool(const QString&)> Confirm;
  // Replaces the drop-down's items by these names, in this order; the text
  // in its edit part stays as it is.
  std::function<void(const QStringList&)> SetListNames;
  // Empties the text in the drop-down's edit part.
  std::function<void()> ClearListName;
};

class ListCommands {
 public:
  ListCommands(Session& session, ListWindow window);

  // Rebuilds the drop-down's items from the list files of the program folder:
  // each name up to its first ".tnx", unsorted, duplicates kept.
  void FillListNames();
  // Replaces the study list by the named list file.
  void LoadList();
  // Writes the study list to the named list file, asking "Ecraser cette
  // liste ?" first when that would replace another list. True when written.
  bool SaveList();

  // "Charger".
  void Button5Click();
  // "Sauver": SaveList, then the drop-down's items again when the file is new.
  bool BtSauverClick();
  // "Supprimer": asks "Effacer cette liste ?", deletes the named list file,
  // empties the name, rebuilds the items and clears the study list.
  void BtDelListeClick();
  // "Vider liste": asks "Vider cette liste ?" and clears the study list; no
  // file is touched.
  void BtViderClick();

  // Program folder + the list name shown + ".tnx", and whether it exists.
  QString ListFilePath() const;
  bool ListFileExists() const;

 private:
  Session& session_;
  ListWindow window_;
};

}  // namespace tenaxo
