// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileStamp.h"

#include <linux/magic.h>
#include <sys/stat.h>

#include <QFile>
#include <ctime>
#include <functional>

#include "Errors.h"

namespace tenaxo {

namespace {

long long Ns(const timespec& time) { return static_cast<long long>(time.tv_sec) * 1'000'000'000 + time.tv_nsec; }

// The bytes hashed a piece of kPiece bytes at a time, each piece's hash
// mixed into the hash so far, so a file read in pieces hashes as its bytes in
// memory. (The toolkit's seeded hash is faster alone, but measured after it,
// the cutting of the list just read took a quarter longer.)
constexpr size_t kPiece = 1 << 16;
constexpr size_t kFirstSeed = 0x9E3779B97F4A7C15u;
size_t NextHash(size_t hash, std::string_view piece) {
  return hash ^ (std::hash<std::string_view>()(piece) + kFirstSeed + (hash << 6) + (hash >> 2));
}
size_t HashOf(std::string_view bytes) {
  size_t hash = kFirstSeed;
  for (size_t p = 0; p < bytes.size(); p += kPiece) hash = NextHash(hash, bytes.substr(p, kPiece));
  return hash;
}

// File systems that set a file's times themselves, from this machine's clock.
bool KeepsOwnTimes(long fileSystem) {
  switch (fileSystem) {
    case EXT4_SUPER_MAGIC:  // ext2 and ext3 too
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case F2FS_SUPER_MAGIC:
    case TMPFS_MAGIC: return true;
    default: return false;
  }
}

}  // namespace

FileStamp StampOf(const QString& path, std::string_view bytes) {
  FileStamp stamp;
  stamp.path = path;
  stamp.size = static_cast<long long>(bytes.size());
  stamp.hash = HashOf(bytes);
  return stamp;
}

FileStamp StampOf(const QString& path, std::string_view bytes, const FileStatus& status, long long readNs) {
  FileStamp stamp = StampOf(path, bytes);
  const struct stat& st = status.file;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.modifiedNs = Ns(st.st_mtim);
  stamp.changedNs = Ns(st.st_ctim);
  stamp.settled =
      KeepsOwnTimes(status.fileSystem) && st.st_size == stamp.size && readNs - stamp.changedNs >= kSettledNs;
  return stamp;
}

std::string ReadStamped(const QString& path, FileStamp& stamp) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  FileStatus status;
  std::string bytes = ReadWholeFile(path, status);
  stamp = StampOf(path, bytes, status, Ns(now));
  return bytes;
}

bool ChangedOnDisk(const FileStamp& stamp) {
  if (stamp.path.isEmpty() || stamp.path.contains(QChar(0))) return false;
  struct stat st;
  if (stat(QFile::encodeName(stamp.path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (st.st_size != stamp.size) return true;
  if (stamp.settled && st.st_dev == stamp.device && st.st_ino == stamp.inode && Ns(st.st_mtim) == stamp.modifiedNs &&
      Ns(st.st_ctim) == stamp.changedNs) {
    return false;
  }
  try {
    size_t hash = kFirstSeed;
    ReadFileInPieces(stamp.path, kPiece, [&hash](std::string_view piece) { hash = NextHash(hash, piece); });
    return hash != stamp.hash;
  } catch (const Error&) {
    return true;
  }
}

}  // namespace tenaxo
