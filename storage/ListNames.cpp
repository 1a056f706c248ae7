#include "ListNames.h"

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

}  // namespace tenaxo
