// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportList.h"

#include <QFileInfo>

#include "Errors.h"
#include "FileIo.h"
#include "KvtmlReader.h"
#include "TextImport.h"

namespace tenaxo {

ImportedList ImportListFile(const QString& path) {
  const auto refuse = [&path](const QString& what) {
    throw Error(QStringLiteral("Le fichier \"%1\" %2").arg(path, what));
  };
  const QFileInfo info(path);
  const QString tooLarge = QStringLiteral("est trop grand pour être importé (plus de 256 Mo).");
  if (info.isFile() && info.size() > kMaxImportBytes) refuse(tooLarge);
  const std::string bytes = ReadWholeFile(path);
  if (static_cast<qint64>(bytes.size()) > kMaxImportBytes) refuse(tooLarge);
  if (bytes.empty()) refuse(QStringLiteral("est vide."));
  if (info.suffix().compare(QLatin1String("kvtml"), Qt::CaseInsensitive) == 0) return ParseKvtml(bytes, path);
  return ParseTextImport(bytes, path);
}

}  // namespace tenaxo
