// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>

namespace tenaxo {

namespace {

// '*' any run, '?' any one character; both texts already case-folded.
bool WildcardMatch(const QString& pattern, const QString& name) {
  qsizetype p = 0, n = 0;
  qsizetype starP = -1, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (starP >= 0) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

// A plain file or a folder, links followed; the entry's own type spares the stat when it says so.
bool IsListedKind(const QByteArray& path, unsigned char type) {
  if (type == DT_REG || type == DT_DIR) return true;
  struct stat st;
  if (stat(path.constData(), &st) != 0) return false;
  return S_ISREG(st.st_mode) || S_ISDIR(st.st_mode);
}

}  // namespace

QStringList ListFiles(const QString& mask) {
  const qsizetype slash = mask.lastIndexOf(u'/');
  const QString folder = mask.left(slash + 1);
  const QString pattern = mask.mid(slash + 1).toCaseFolded();
  // The name the mask gives when its '*' match nothing: ".tnx" for "*.tnx".
  QString bare = pattern;
  bare.remove(u'*');
  QStringList names;
  const QByteArray folderBytes = QFile::encodeName(folder.isEmpty() ? QStringLiteral("./") : folder);
  if (folderBytes.contains('\0')) return names;
  DIR* dir = opendir(folderBytes.constData());
  if (!dir) return names;
  while (const dirent* entry = readdir(dir)) {
    const QByteArray bytes(entry->d_name);
    const QString name = QFile::decodeName(bytes);
    const QString folded = name.toCaseFolded();
    if (name.startsWith(u'.') && folded != bare) continue;
    if (!WildcardMatch(pattern, folded)) continue;
    if (!IsListedKind(folderBytes + bytes, entry->d_type)) continue;
    names.append(name);
  }
  closedir(dir);
  return names;
}

}  // namespace tenaxo
