// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a list file held when the program last read or wrote it, to tell
// whether something else has written it since.
#include <QString>
#include <string>
#include <string_view>

#include "FileIo.h"

namespace tenaxo {

struct FileStamp {
  QString path;  // empty: no file
  long long size = 0;
  size_t hash = 0;
  // The file's status when it was read, and whether that alone tells that it
  // is unchanged while the status stays the same (see ChangedOnDisk).
  bool settled = false;
  unsigned long long device = 0, inode = 0;
  long long modifiedNs = 0, changedNs = 0;  // since the epoch
};

// The file at path, holding these bytes; never settled.
FileStamp StampOf(const QString& path, std::string_view bytes);
// The file at path, holding these bytes, read with this status (FileIo.h) at
// readNs (nanoseconds since the epoch, the system's clock before the file was
// opened). It is settled when the bytes are as many as the status says, on a
// local file system that sets the times itself (ext2 to ext4, XFS, Btrfs,
// F2FS, tmpfs), and the file's last change is kSettledNs or more before
// readNs: any later write then sets another change time.
FileStamp StampOf(const QString& path, std::string_view bytes, const FileStatus& status, long long readNs);
// Two seconds: the coarsest step of the times those file systems keep is one
// second (ext2, ext3, small ext4 inodes); the others keep nanoseconds, set
// from a clock that moves in steps of at most 10 ms.
constexpr long long kSettledNs = 2'000'000'000;

// Writes the file atomically (WriteFileAtomically) with the bytes `make`
// appends to its sink; the stamp of what was written.
FileStamp WriteStamped(const QString& path, const std::function<void(ByteSink&)>& make);

// The file read whole (ReadWholeFile) and its stamp.
std::string ReadStamped(const QString& path, FileStamp& stamp);

// The file named by the stamp now holds other bytes than it did: another
// size, or as many bytes that hash differently. A settled stamp whose file
// has the same device, inode, size, modification and change times (to the
// nanosecond) is unchanged without reading it; otherwise the times cannot
// tell: they move in steps of milliseconds, of seconds on some file systems,
// may be set back, and a copy keeps the times of its source. A file that is
// gone, or is no plain file any more, has nothing to lose and does not count
// as changed; one that cannot be read does.
bool ChangedOnDisk(const FileStamp& stamp);

}  // namespace tenaxo
