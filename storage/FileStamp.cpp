// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileStamp.h"

#include <linux/magic.h>
#include <sys/stat.h>

#include <QFile>
#include <cstdint>
#include <cstring>
#include <ctime>

#include "Errors.h"

namespace tenaxo {

namespace {

long long Ns(const timespec& time) { return static_cast<long long>(time.tv_sec) * 1'000'000'000 + time.tv_nsec; }

// The bytes hashed a piece of kPiece bytes at a time, the hash so far the
// seed of the next piece's, so a file read in pieces hashes as its bytes in
// memory. A piece goes 32 bytes at a time through two lanes, each taking 16
// bytes into the 128-bit product of its two words mixed with constants (as
// wyhash does): one multiplication per 16 bytes, four times as fast as the
// standard library's hash, which needs three per 8. The toolkit's hash is as
// fast, but the list cut right after it took a quarter longer.
constexpr size_t kPiece = 1 << 16;
constexpr size_t kFirstSeed = 0x9E3779B97F4A7C15u;
constexpr uint64_t kMixes[2] = {0xA0761D6478BD642Fu, 0xE7037ED1A0B428DBu};
__extension__ using Product = unsigned __int128;
// The two halves of the product of a and b, exclusive-or'ed.
uint64_t Mixed(uint64_t a, uint64_t b) {
  const Product product = static_cast<Product>(a) * b;
  return static_cast<uint64_t>(product) ^ static_cast<uint64_t>(product >> 64);
}
size_t NextHash(size_t hash, std::string_view piece) {
  uint64_t lanes[2] = {hash ^ piece.size(), hash ^ kMixes[0]};
  uint64_t words[4];
  size_t at = 0;
  for (; at + sizeof words <= piece.size(); at += sizeof words) {
    std::memcpy(words, piece.data() + at, sizeof words);
    lanes[0] = Mixed(words[0] ^ kMixes[0], words[1] ^ lanes[0]);
    lanes[1] = Mixed(words[2] ^ kMixes[1], words[3] ^ lanes[1]);
  }
  // The last 0 to 31 bytes, the unused ones zero (the size tells them apart).
  std::memset(words, 0, sizeof words);
  if (at < piece.size()) std::memcpy(words, piece.data() + at, piece.size() - at);
  const uint64_t last =
      Mixed(words[0] ^ kMixes[0], words[1] ^ lanes[0]) ^ Mixed(words[2] ^ kMixes[1], words[3] ^ lanes[1]);
  return Mixed(last ^ kMixes[0], lanes[1] ^ kMixes[1]);
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
