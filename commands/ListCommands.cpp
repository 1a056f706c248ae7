// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListCommands.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <new>
#include <utility>

#include "Errors.h"
#include "FileIo.h"
#include "FolderListing.h"
#include "ListEncoding.h"
#include "ListFolder.h"
#include "ListFormat.h"
#include "ListNames.h"
#include "TableRows.h"

namespace tenaxo {

namespace {
// Ends an import before anything is written.
struct StopImport {
  QString message;
};
}  // namespace

ListCommands::ListCommands(Session& session, ListWindow window) : session_(session), window_(std::move(window)) {}

QString ListCommands::ListFilePath() const { return tenaxo::ListFilePath(window_.ListName()); }

bool ListCommands::ListFileExists() const { return !Nameless(window_.ListName()) && FileExists(ListFilePath()); }

// Every list has a name: one that is empty or only spaces (FlatListName gives
// none) would make the hidden file ".tnx" or " .tnx", which the drop-down
// never offers.
bool ListCommands::Nameless(const std::string& name) { return FlatListName(ToQString(name), QString()).isEmpty(); }

std::string ListCommands::NamedList() const {
  std::string name = window_.ListName();
  if (Nameless(name)) throw Error(QStringLiteral("Donnez un nom à la liste."));
  return name;
}

void ListCommands::FillListNames() {
  QStringList items;
  // Each name up to its first ".tnx" (all of it without one: "CAPS.TNX").
  for (const QString& file : ListFiles(AppFolder() + QStringLiteral("*.tnx")))
    items.append(file.left(file.indexOf(QStringLiteral(".tnx"))));
  window_.SetListNames(items);
}

QString ListCommands::LoadList() {
  const std::string name = NamedList();
  QString path;
  try {
    path = tenaxo::ListFilePath(name);
    // Everything that may fail comes first; the session changes only once
    // the new table is complete.
    FileStamp stamp;
    FileEncoding encoding = FileEncoding::None;
    ListRows lines;
    std::string bytes = ReadStamped(path, stamp);
    try {
      lines = DecodeListLines(std::move(bytes), path, encoding);
    } catch (const Error&) {
      unreadable_ = path;
      throw;
    }
    std::string listName = name;
    const int32_t lineCount = static_cast<int32_t>(std::clamp<size_t>(lines.rows.size(), 1, INT32_MAX));
    FillTable(session_.table, std::move(lines));
    session_.listName.swap(listName);
    session_.encoding = encoding;
    session_.ResetSeries();
    session_.lineCount = lineCount;
    session_.unsaved = false;
    stamp_ = std::move(stamp);
    unreadable_.clear();
    if (OnReplaced) OnReplaced();
  } catch (const std::bad_alloc&) {
    throw Error(QStringLiteral("Mémoire insuffisante pour charger la liste \"%1\".").arg(path));
  }
  if (session_.encoding != FileEncoding::Utf16) return QString();
  return QStringLiteral(
             "La liste \"%1\" est en UTF-16 : elle sera enregistrée en UTF-8 (avec la marque d'ordre des "
             "octets) à la prochaine sauvegarde.")
      .arg(path);
}

SaveResult ListCommands::SaveList() {
  const bool existed = ListFileExists();
  const SaveResult saved = WriteList();
  if (!existed) FillListNames();
  return saved;
}

SaveResult ListCommands::WriteList() {
  const std::string name = NamedList();
  const QString path = tenaxo::ListFilePath(name);
  if (path == unreadable_) {
    throw Error(QStringLiteral("Le fichier \"%1\" n'a pas pu être lu comme une liste : il n'est pas remplacé. "
                               "Chargez une autre liste, ou sauvez sous un autre nom.")
                    .arg(path));
  }
  if (session_.listName != name && FileExists(path) && !window_.Confirm(QStringLiteral("Ecraser cette liste ?"))) {
    return SaveResult::Declined;
  }
  if (session_.listName == name && stamp_.path == path && ChangedOnDisk(stamp_) &&
      !window_.ConfirmYesNo(
          QStringLiteral("La liste a été modifiée sur le disque depuis son chargement. L'écraser ?"))) {
    return SaveResult::ChangedOnDisk;
  }
  FileEncoding encoding = session_.encoding;
  stamp_ = WriteStamped(path, [this, &encoding](ByteSink& sink) { WriteListBytes(session_.table, encoding, sink); });
  session_.encoding = encoding;
  session_.unsaved = false;
  session_.listName = name;
  session_.ResetSeries();
  if (OnSaved) OnSaved();
  return SaveResult::Saved;
}

QString ListCommands::RescueFolder() { return UserDataFolder() + QStringLiteral("secours/"); }

QString ListCommands::SaveRescueCopy(const QDateTime& now) const {
  const QString name = FlatListName(ToQString(window_.ListName()), QStringLiteral("sans nom"));
  const QString folder = RescueFolder();
  const QString path =
      folder + name + u' ' + now.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")) + QStringLiteral(".tnx");
  QDir().mkpath(folder);
  FileEncoding encoding = session_.encoding;
  WriteFileAtomically(path, [this, &encoding](ByteSink& sink) { WriteListBytes(session_.table, encoding, sink); });
  return path;
}

void ListCommands::DeleteList() {
  const QString path = tenaxo::ListFilePath(NamedList());
  if (!window_.Confirm(QStringLiteral("Mettre cette liste à la corbeille ?"))) return;
  if (MoveListFileToTrash(path) == Trashing::NoTrash) {
    if (!window_.Confirm(QStringLiteral("La liste ne peut pas aller à la corbeille. Effacer cette liste "
                                        "définitivement ?"))) {
      return;
    }
    DeleteListFile(path);
  }
  stamp_ = FileStamp();
  window_.ClearListName();
  FillListNames();
  ClearGrid(session_.table);
  session_.ForgetList();
  if (OnReplaced) OnReplaced();
}

std::vector<ImportReport> ListCommands::ImportFiles(const QStringList& paths) {
  std::vector<ImportReport> reports;
  for (const QString& path : paths) {
    ImportReport& report = reports.emplace_back();
    report.file = path;
    try {
      ImportedList list = ImportListFile(path);
      if (session_.unsaved) {
        // The unsaved changes go to their own file first, or nothing is written.
        const QString stopped =
            QStringLiteral("Aucune liste n'a été importée : la liste en cours n'a pas été sauvegardée.");
        SaveResult saved = SaveResult::Declined;
        try {
          saved = SaveList();
        } catch (const Error& error) {
          throw StopImport{error.Message() + u'\n' + stopped};
        }
        if (saved != SaveResult::Saved) throw StopImport{stopped};
      }
      // A backslash would put the list in a subfolder, beside any list there.
      const QString name = FreeListName(FlatListName(QFileInfo(path).completeBaseName(), QString()));
      StudyTable table;
      const int pairs = list.Pairs();
      table.ReplaceDataRows(std::move(list.rows), kListColumns);
      FileEncoding encoding = FileEncoding::None;
      WriteFileAtomically(tenaxo::ListFilePath(ToUtf8(name)),
                          [&table, &encoding](ByteSink& sink) { WriteListBytes(table, encoding, sink); });
      report.listName = name;
      report.pairs = pairs;
      report.skipped = std::move(list.skipped);
    } catch (const StopImport& stop) {
      throw Error(stop.message);
    } catch (const Error& error) {
      report.error = error.Message();
    } catch (const std::bad_alloc&) {
      report.error = QStringLiteral("Mémoire insuffisante pour importer \"%1\"").arg(path);
    }
  }
  const auto made = std::find_if(reports.rbegin(), reports.rend(),
                                 [](const ImportReport& report) { return !report.listName.isEmpty(); });
  if (made != reports.rend()) {
    window_.SetListName(made->listName);
    FillListNames();
    LoadList();
  }
  return reports;
}

QString ListCommands::ImportSummary(const std::vector<ImportReport>& reports) {
  constexpr size_t kLinesShown = 5;
  QStringList parts;
  for (const ImportReport& report : reports) {
    const QString file = QFileInfo(report.file).fileName();
    if (report.listName.isEmpty()) {
      parts << QStringLiteral("« %1 » : refusé. %2").arg(file, report.error);
      continue;
    }
    QString text = QStringLiteral("« %1 » → liste « %2 » : %3 paire%4")
                       .arg(file, report.listName, QString::number(report.pairs),
                            report.pairs > 1 ? QStringLiteral("s") : QString());
    const size_t skipped = report.skipped.size();
    if (skipped == 0) {
      text += QStringLiteral(", aucune ligne ignorée.");
    } else {
      text += QStringLiteral(", %1 ligne%2 ignorée%2 :")
                  .arg(QString::number(skipped), skipped > 1 ? QStringLiteral("s") : QString());
      for (size_t k = 0; k < std::min(skipped, kLinesShown); ++k) {
        text += QStringLiteral("\n    ligne %1 : %2")
                    .arg(QString::number(report.skipped[k].line), report.skipped[k].reason);
      }
      if (skipped > kLinesShown) text += QStringLiteral("\n    ...");
    }
    parts << text;
  }
  return parts.join(QStringLiteral("\n\n"));
}

void ListCommands::ClearList() {
  if (!window_.Confirm(QStringLiteral("Vider cette liste ?"))) return;
  ClearGrid(session_.table);
  session_.ForgetList();
}

}  // namespace tenaxo
