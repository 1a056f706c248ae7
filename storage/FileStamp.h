// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a list file held when the program last read or wrote it, to tell
// whether something else has written it since.
#include <QString>
#include <string_view>

namespace tenaxo {

struct FileStamp {
  QString path;  // empty: no file
  long long size = 0;
  size_t hash = 0;
};

// The file at path, holding these bytes.
FileStamp StampOf(const QString& path, std::string_view bytes);

// The file named by the stamp now holds other bytes than it did: another
// size, or as many bytes that hash differently. Modification times cannot
// tell: the clock moves in steps of milliseconds, of seconds on some file
// systems, and a copy keeps the time of its source. A file that is gone, or
// is no plain file any more, has nothing to lose and does not count as
// changed; one that cannot be read does.
bool ChangedOnDisk(const FileStamp& stamp);

}  // namespace tenaxo
