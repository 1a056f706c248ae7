// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileStamp.h"

#include <linux/magic.h>
#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ctime>

#include "Errors.h"

namespace tenaxo {

namespace {

long long Ns(const timespec& time) { return static_cast<long long>(time.tv_sec) * 1'000'000'000 + time.tv_nsec; }

// The bytes hashed 32 at a time through two lanes, each taking 16 bytes into
// the 128-bit product of its two words mixed with constants (as wyhash does):
// one multiplication per 16 bytes, four times as fast as the standard
// library's hash, which needs three per 8. The toolkit's hash is as fast, but
// the list cut right after it took a quarter longer. The bytes may come in
// pieces of any size (as they are written or read): a piece's last 0 to 31
// bytes wait for the next one, and the hash is the same as for the bytes at
// once.
constexpr size_t kReadPiece = 1 << 16;
constexpr uint64_t kSeed = 0x9E3779B97F4A7C15u;
constexpr uint64_t kMixes[2] = {0xA0761D6478BD642Fu, 0xE7037ED1A0B428DBu};
__extension__ using Product = unsigned __int128;
// The two halves of the product of a and b, exclusive-or'ed.
uint64_t Mixed(uint64_t a, uint64_t b) {
  const Product product = static_cast<Product>(a) * b;
  return static_cast<uint64_t>(product) ^ static_cast<uint64_t>(product >> 64);
}
class Hash {
 public:
  void Add(std::string_view bytes) {
    if (bytes.empty()) return;
    size_ += bytes.size();
    size_t at = 0;
    if (waiting_ > 0) {
      at = std::min(bytes.size(), kBlock - waiting_);
      std::memcpy(block_ + waiting_, bytes.data(), at);
      waiting_ += at;
      if (waiting_ < kBlock) return;
      Mix(block_);
    }
    for (; at + kBlock <= bytes.size(); at += kBlock) Mix(bytes.data() + at);
    waiting_ = bytes.size() - at;
    std::memcpy(block_, bytes.data() + at, waiting_);
  }
  uint64_t Size() const { return size_; }
  size_t Value() const {
    // The bytes still waiting, the unused ones zero (the size tells them apart).
    uint64_t words[4] = {};
    std::memcpy(words, block_, waiting_);
    const uint64_t last =
        Mixed(words[0] ^ kMixes[0], words[1] ^ lanes_[0]) ^ Mixed(words[2] ^ kMixes[1], words[3] ^ lanes_[1]);
    return Mixed(last ^ size_ ^ kMixes[0], lanes_[1] ^ kMixes[1]);
  }

 private:
  static constexpr size_t kBlock = 32;
  void Mix(const char* block) {
    uint64_t words[4];
    std::memcpy(words, block, sizeof words);
    lanes_[0] = Mixed(words[0] ^ kMixes[0], words[1] ^ lanes_[0]);
    lanes_[1] = Mixed(words[2] ^ kMixes[1], words[3] ^ lanes_[1]);
  }
  uint64_t lanes_[2] = {kSeed, kSeed ^ kMixes[0]};
  char block_[kBlock] = {};
  size_t waiting_ = 0;
  uint64_t size_ = 0;
};
size_t HashOf(std::string_view bytes) {
  Hash hash;
  hash.Add(bytes);
  return hash.Value();
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

FileStamp WriteStamped(const QString& path, const std::function<void(ByteSink&)>& make) {
  // The bytes hashed as they go to the file.
  class Hashing : public ByteSink {
   public:
    explicit Hashing(ByteSink& file) : file_(file) {}
    void Append(std::string_view bytes) override {
      file_.Append(bytes);
      hash.Add(bytes);
    }
    void Restart() override {
      file_.Restart();
      hash = Hash();
    }
    Hash hash;

   private:
    ByteSink& file_;
  };
  FileStamp stamp;
  WriteFileAtomically(path, [&stamp, &make](ByteSink& file) {
    Hashing sink(file);
    make(sink);
    stamp.size = static_cast<long long>(sink.hash.Size());
    stamp.hash = sink.hash.Value();
  });
  stamp.path = path;
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
    Hash hash;
    ReadFileInPieces(stamp.path, kReadPiece, [&hash](std::string_view piece) { hash.Add(piece); });
    return hash.Value() != stamp.hash;
  } catch (const Error&) {
    return true;
  }
}

}  // namespace tenaxo
