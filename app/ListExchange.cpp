// SPDX-License-Identifier: GPL-3.0-or-later
// Lists in and out of the window: imported from files chosen or dropped on
// it, the study list exported to a file.
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <algorithm>

#include "ExportList.h"
#include "ListCommands.h"
#include "ListNames.h"
#include "QuestionCycle.h"
#include "TFTenaxo.h"

namespace tenaxo {

void TFTenaxo::AcImporterClick() {
  QFileDialog dialog(this, QStringLiteral("Importer des listes"), fileFolder_);
  // The same dialog on every desktop, driven from the keyboard alike.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters({QStringLiteral("Listes d'autres programmes (*.txt *.tsv *.csv *.kvtml)"),
                         QStringLiteral("Tous les fichiers (*)")});
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  // The next dialog opens where these files are, typed as a whole path or not.
  fileFolder_ = QFileInfo(dialog.selectedFiles().constFirst()).absolutePath();
  ImportFiles(dialog.selectedFiles());
}

void TFTenaxo::ImportFiles(const QStringList& files) {
  if (files.isEmpty()) return;
  std::vector<ImportReport> reports;
  const auto made = [&] {
    return std::any_of(reports.begin(), reports.end(),
                       [](const ImportReport& report) { return !report.listName.isEmpty(); });
  };
  const bool done = Run([&] {
    reports = lists_->ImportFiles(files);
    // The list loaded is ranked and asked, as the one loaded at start.
    if (made()) {
      cycle_->ComputeRatios();
      cycle_->NextQuestion();
    }
  });
  if (!done) return;
  QMessageBox box(made() ? QMessageBox::Information : QMessageBox::Warning, QStringLiteral("Importer des listes"),
                  ListCommands::ImportSummary(reports), QMessageBox::NoButton, this);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.exec();
}

void TFTenaxo::OpenFiles(const QStringList& files) {
  QStringList others;
  for (const QString& file : files) {
    const QString name = ListNameOfFile(file);
    if (name.isNull()) {
      others << file;
    } else {
      CbListes->setEditText(name);
      Button5Click();
    }
  }
  ImportFiles(others);
}

void TFTenaxo::AcExporterClick() {
  const QString name = FlatListName(CbListes->currentText(), QStringLiteral("Liste"));
  QFileDialog dialog(this, QStringLiteral("Exporter la liste"),
                     QDir(fileFolder_).filePath(name + QStringLiteral(".txt")));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The format goes by the extension (ExportList): a filter gives the name
  // its own, in place of another filter's.
  const QStringList filters = {QStringLiteral("Texte avec en-têtes, pour Anki, UTF-8 (*.txt)"),
                               QStringLiteral("KVTML 2.0, Parley et KWordQuiz (*.kvtml)"),
                               QStringLiteral("Paires seules, Gauche et Droite, sans en-tête, UTF-8 (*.tsv)")};
  const QStringList suffixes = {QStringLiteral("txt"), QStringLiteral("kvtml"), QStringLiteral("tsv")};
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(suffixes.front());
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters, suffixes](const QString& filter) {
    const QString suffix = suffixes.value(filters.indexOf(filter), suffixes.front());
    dialog.setDefaultSuffix(suffix);
    const QFileInfo typed(dialog.selectedFiles().value(0));
    if (suffixes.contains(typed.suffix(), Qt::CaseInsensitive)) {
      dialog.selectFile(typed.completeBaseName() + u'.' + suffix);
    }
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().front();
  fileFolder_ = QFileInfo(path).absolutePath();
  Run([&] { ExportList(session_.table, path); });
}

void TFTenaxo::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
    event->acceptProposedAction();
  }
}

void TFTenaxo::dropEvent(QDropEvent* event) {
  QStringList files;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  // The boxes come once the drop is over: the program the files came from
  // is not kept waiting for them.
  QMetaObject::invokeMethod(
      this, [this, files] { ImportFiles(files); }, Qt::QueuedConnection);
}

}  // namespace tenaxo
