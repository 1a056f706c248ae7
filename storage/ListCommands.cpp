#include "ListCommands.h"

#include <utility>

#include "ListEncoding.h"
#include "ListFiles.h"
#include "Outils.h"

namespace tenaxo {

ListCommands::ListCommands(Session& session, ListWindow window)
    : session_(session), window_(std::move(window)) {}

QString ListCommands::ListFilePath() const { return tenaxo::ListFilePath(window_.ListName()); }

bool ListCommands::ListFileExists() const { return FileExists(ListFilePath()); }

void ListCommands::FillListNames() {
  QStringList items;
  for (const QString& file : ListFiles(AppFolder() + QStringLiteral("*.tnx"))) {
    AnsiString name = Utf8(file);
    AnsiString item;
    CutToken(name, ".tnx", item);
    items.append(AnsiToQString(item));
  }
  window_.SetListNames(items);
}

void ListCommands::LoadList() {
  const AnsiString name = window_.ListName();
  const QString path = tenaxo::ListFilePath(name);
  FileEncoding encoding = FileEncoding::None;
  ListLines lines = ParseListText(DecodeListFile(ReadListFile(path), path, encoding));
  session_.FListName = name;
  session_.FListEncoding = encoding;
  session_.FAskedCount = 0;
  session_.FFoundCount = 0;
  FillTable(session_.SgListe, std::move(lines));
  session_.LbNbMots = IntToStr(session_.SgListe.DataRowCount()) + " Lignes";
  session_.Unsaved = false;
}

bool ListCommands::SaveList() {
  const AnsiString name = window_.ListName();
  const QString path = tenaxo::ListFilePath(name);
  if (session_.FListName != name && FileExists(path) &&
      !window_.Confirm(QStringLiteral("Ecraser cette liste ?"))) {
    return false;
  }
  FileEncoding encoding = session_.FListEncoding;
  WriteListFile(path, EncodeListFile(ListText(session_.SgListe), encoding));
  session_.FListEncoding = encoding;
  session_.Unsaved = false;
  session_.FListName = name;
  session_.FAskedCount = 0;
  session_.FFoundCount = 0;
  return true;
}

void ListCommands::Button5Click() { LoadList(); }

bool ListCommands::BtSauverClick() {
  const bool existed = ListFileExists();
  const bool saved = SaveList();
  if (!existed) FillListNames();
  return saved;
}

void ListCommands::BtDelListeClick() {
  if (!window_.Confirm(QStringLiteral("Effacer cette liste ?"))) return;
  DeleteListFile(ListFilePath());
  window_.ClearListName();
  FillListNames();
  ClearGrid(session_.SgListe);
  session_.FListName.clear();
  session_.FListEncoding = FileEncoding::None;
  session_.FAskedCount = 0;
  session_.FFoundCount = 0;
}

void ListCommands::BtViderClick() {
  if (!window_.Confirm(QStringLiteral("Vider cette liste ?"))) return;
  ClearGrid(session_.SgListe);
  session_.FListName.clear();
  session_.FListEncoding = FileEncoding::None;
  session_.FAskedCount = 0;
  session_.FFoundCount = 0;
}

}  // namespace tenaxo
