// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListNames.h"

#include <QDir>
#include <QFileInfo>

#include "ListFolder.h"

namespace tenaxo {

QString FreeListName(const QString& baseName) {
  const QString base = baseName.isEmpty() ? QStringLiteral("Liste importée") : baseName;
  const auto taken = [](const QString& name) {
    const QFileInfo file(AppFolder() + name + QStringLiteral(".tnx"));
    return file.exists() || file.isSymLink();
  };
  QString name = base;
  for (int k = 2; taken(name); ++k) name = base + u' ' + QString::number(k);
  return name;
}

QString FlatListName(QString listName, const QString& whenEmpty) {
  listName.replace(u'\\', u'_').replace(u'/', u'_');
  return listName.trimmed().isEmpty() ? whenEmpty : listName;
}

QString ListNameOfFile(const QString& path) {
  const QFileInfo file(path);
  const QString suffix = QStringLiteral(".tnx");
  if (!file.fileName().endsWith(suffix) || file.absoluteDir() != QDir(AppFolder())) return QString();
  return file.fileName().chopped(suffix.size());
}

}  // namespace tenaxo
