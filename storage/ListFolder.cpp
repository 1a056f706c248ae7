// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "Errors.h"
#include "FileIo.h"
#include "FolderListing.h"
#include "Utf8.h"

namespace tenaxo {

namespace {

QString& AppFolderOverride() {
  static QString folder;
  return folder;
}

QString& ProgramFileOverride() {
  static QString file;
  return file;
}

// Once a run: the user's list folder exists, holding the shipped lists when
// it held none. Failures stay silent here; a save into a folder that could
// not be made reports its own error.
void PrepareUserFolder(const QString& folder, const QString& shipped) {
  static QString prepared;
  if (prepared == folder) return;
  prepared = folder;
  // Private to the user, as the data folders are; their parents as usual.
  QDir().mkpath(QFileInfo(QDir::cleanPath(folder)).path());
  QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (!ListFiles(folder + QStringLiteral("*.tnx")).isEmpty()) return;
  for (const QString& name : ListFiles(shipped + QStringLiteral("*.tnx"))) {
    try {
      WriteFileAtomically(folder + name, ReadWholeFile(shipped + name));
    } catch (const Error&) {
      // This list is not offered; the others still are.
    }
  }
}

}  // namespace

QString AppFolder() {
  if (!AppFolderOverride().isEmpty()) return WithTrailingSlash(AppFolderOverride());
  const QString program = ProgramFile();
  const QString shipped = ShippedListsFolder(program);
  if (shipped.isEmpty()) return WithTrailingSlash(program.left(program.lastIndexOf(u'/') + 1));
  const QString folder = UserDataFolder();
  PrepareUserFolder(folder, shipped);
  return folder;
}

void SetAppFolder(const QString& folder) { AppFolderOverride() = folder; }

QString ProgramFile() {
  if (!ProgramFileOverride().isEmpty()) return ProgramFileOverride();
  return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

void SetProgramFile(const QString& path) { ProgramFileOverride() = path; }

QString ShippedListsFolder(const QString& programFile) {
  const QDir bin = QFileInfo(programFile).absoluteDir();
  if (bin.dirName() != QLatin1String("bin")) return QString();
  const QString shipped = QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/tenaxo")));
  return QFileInfo(shipped).isDir() ? WithTrailingSlash(shipped) : QString();
}

QString UserDataFolder() {
  return WithTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
         QStringLiteral("Tenaxo/");
}

QString WithTrailingSlash(const QString& path) {
  if (path.endsWith(u'/')) return path;
  return path + u'/';
}

QString ListFilePath(const std::string& listName) {
  return AppFolder() + ToQString(listName).replace(u'\\', u'/') + QStringLiteral(".tnx");
}

}  // namespace tenaxo
