// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileStamp.h"

#include <sys/stat.h>

#include <QFile>
#include <functional>

#include "Errors.h"
#include "FileIo.h"

namespace tenaxo {

FileStamp StampOf(const QString& path, std::string_view bytes) {
  return FileStamp{path, static_cast<long long>(bytes.size()), std::hash<std::string_view>()(bytes)};
}

bool ChangedOnDisk(const FileStamp& stamp) {
  if (stamp.path.isEmpty() || stamp.path.contains(QChar(0))) return false;
  struct stat st;
  if (stat(QFile::encodeName(stamp.path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (st.st_size != stamp.size) return true;
  try {
    return std::hash<std::string_view>()(ReadWholeFile(stamp.path)) != stamp.hash;
  } catch (const Error&) {
    return true;
  }
}

}  // namespace tenaxo
