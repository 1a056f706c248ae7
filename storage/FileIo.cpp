// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileIo.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <tuple>

#include "Errors.h"

namespace tenaxo {

namespace {

// The system's own text for an error number, in the user's language where
// the system has a translation.
QString SystemText(int error) {
  char buffer[256];
  return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}

[[noreturn]] void FailOpen(const QString& path, int error) {
  throw Error(QStringLiteral("Impossible d'ouvrir le fichier \"%1\". %2").arg(path, SystemText(error)));
}

[[noreturn]] void FailCreate(const QString& path, int error) {
  throw Error(QStringLiteral("Impossible de créer le fichier \"%1\". %2").arg(path, SystemText(error)));
}

[[noreturn]] void FailWrite() { throw Error(QStringLiteral("Erreur d'écriture dans le flux")); }

// An open file, closed when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { close(fd_); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

 private:
  int fd_;
};

// The new file of a write: removed again unless the write went through.
class NewFile {
 public:
  explicit NewFile(QByteArray path) : path_(std::move(path)) {}
  ~NewFile() {
    if (!kept_) unlink(path_.constData());
  }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  void Keep() { kept_ = true; }

 private:
  QByteArray path_;
  bool kept_ = false;
};

// Up to and with the last '/'; empty for a bare name.
QByteArray FolderOf(const QByteArray& path) { return path.left(path.lastIndexOf('/') + 1); }

// Where a chain of symbolic links ends (the path itself when it is no link).
QByteArray FollowLinks(const QString& path, QByteArray target) {
  for (int hops = 0;; ++hops) {
    struct stat st;
    if (lstat(target.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    if (hops == 40) FailCreate(path, ELOOP);
    char buffer[4096];
    const ssize_t length = readlink(target.constData(), buffer, sizeof buffer);
    if (length < 0) FailCreate(path, errno);
    if (static_cast<size_t>(length) == sizeof buffer) FailCreate(path, ENAMETOOLONG);
    QByteArray link(buffer, length);
    target = link.startsWith('/') ? link : FolderOf(target) + link;
  }
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The plain file open for reading, with its status.
int OpenToRead(const QString& path, struct stat& st) {
  if (path.contains(QChar(0))) FailOpen(path, EINVAL);
  const QByteArray name = QFile::encodeName(path);
  // Without blocking (a FIFO, say), so never interrupted either.
  const int fd = open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd == -1) FailOpen(path, errno);
  int error = 0;
  if (fstat(fd, &st) != 0) error = errno;
  else if (S_ISDIR(st.st_mode)) error = EISDIR;
  else if (!S_ISREG(st.st_mode)) error = EINVAL;
  if (error == 0) return fd;
  close(fd);
  FailOpen(path, error);
}

// Reads up to size bytes at data, fewer only at the end of the file.
size_t ReadUpTo(const QString& path, int fd, char* data, size_t size) {
  size_t used = 0;
  while (used < size) {
    const ssize_t count = read(fd, data + used, size - used);
    if (count < 0) {
      if (errno == EINTR) continue;
      FailOpen(path, errno);
    }
    if (count == 0) break;
    used += static_cast<size_t>(count);
  }
  return used;
}

}  // namespace

std::string ReadWholeFile(const QString& path) {
  FileStatus status;
  return ReadWholeFile(path, status);
}

std::string ReadWholeFile(const QString& path, FileStatus& status) {
  const int fd = OpenToRead(path, status.file);
  Descriptor file(fd);
  struct statfs volume {};
  status.fileSystem = fstatfs(fd, &volume) == 0 ? static_cast<long>(volume.f_type) : 0;
  // One byte more than the file holds, to see it grow while it is read.
  std::string bytes(static_cast<size_t>(status.file.st_size) + 1, '\0');
  size_t used = 0;
  while ((used += ReadUpTo(path, fd, &bytes[used], bytes.size() - used)) == bytes.size()) bytes.resize(used * 2);
  bytes.resize(used);
  return bytes;
}

void ReadFileInPieces(const QString& path, size_t size, const std::function<void(std::string_view)>& piece) {
  struct stat st;
  const int fd = OpenToRead(path, st);
  Descriptor file(fd);
  std::string buffer(size, '\0');
  for (size_t count; (count = ReadUpTo(path, fd, buffer.data(), size)) > 0;)
    piece(std::string_view(buffer).substr(0, count));
}

void WriteFileAtomically(const QString& path, std::string_view bytes) {
  WriteFileAtomically(path, [bytes](ByteSink& sink) { sink.Append(bytes); });
}

namespace {
// The new file of an atomic write, written at once. The disk is asked to
// start writing every megabyte written, so that the flush at the end has
// little left to wait for.
class FileSink : public ByteSink {
 public:
  explicit FileSink(int fd) : fd_(fd) {}
  void Append(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t count = write(fd_, bytes.data(), bytes.size());
      if (count < 0 && errno == EINTR) continue;
      if (count <= 0) FailWrite();
      bytes.remove_prefix(static_cast<size_t>(count));
      written_ += static_cast<size_t>(count);
    }
    if (written_ - started_ >= kStartEvery) {
      sync_file_range(fd_, static_cast<off_t>(started_), static_cast<off_t>(written_ - started_),
                      SYNC_FILE_RANGE_WRITE);
      started_ = written_;
    }
  }
  void Restart() override {
    if (lseek(fd_, 0, SEEK_SET) != 0 || ftruncate(fd_, 0) != 0) FailWrite();
    written_ = started_ = 0;
  }

 private:
  static constexpr size_t kStartEvery = 1 << 20;
  int fd_;
  size_t written_ = 0, started_ = 0;  // bytes written, those the disk was asked to write
};
}  // namespace

void WriteFileAtomically(const QString& path, const std::function<void(ByteSink&)>& make) {
  if (path.contains(QChar(0))) FailCreate(path, EINVAL);
  const QByteArray target = FollowLinks(path, QFile::encodeName(path));
  struct stat old;
  const bool exists = stat(target.constData(), &old) == 0;
  if (!exists && errno != ENOENT) FailCreate(path, errno);
  if (exists) {
    if (S_ISDIR(old.st_mode)) FailCreate(path, EISDIR);
    if (!S_ISREG(old.st_mode)) FailCreate(path, EINVAL);
    // A read-only list stays protected, also from the administrator.
    if ((old.st_mode & 0222) == 0) FailCreate(path, EACCES);
    if (access(target.constData(), W_OK) != 0) FailCreate(path, errno);
  }

  QByteArray temporary = FolderOf(target) + ".tnx-XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd == -1) FailCreate(path, errno);
  Descriptor file(fd);
  NewFile guard(temporary);
  if (exists) {
    // Only the administrator may give a file away; the list stays ours then.
    std::ignore = fchown(fd, old.st_uid, old.st_gid);
    fchmod(fd, old.st_mode & 07777);
  } else {
    fchmod(fd, NewFileMode());
  }

  FileSink sink(fd);
  make(sink);
  // Once the bytes are on disk, closing the file has nothing left to report.
  if (fsync(fd) != 0) FailWrite();
  if (rename(temporary.constData(), target.constData()) != 0) FailCreate(path, errno);
  guard.Keep();

  // The folder now names the new file; make that last too.
  const QByteArray folder = FolderOf(target);
  const int dirFd = open(folder.isEmpty() ? "." : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd == -1) return;
  fsync(dirFd);
  close(dirFd);
}

bool FileExists(const QString& path) {
  if (path.contains(QChar(0))) return false;
  struct stat st;
  return stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

namespace {
// A file read-only for everyone is protected.
bool Protected(const QByteArray& name) {
  struct stat st;
  return stat(name.constData(), &st) == 0 && (st.st_mode & 0222) == 0;
}
}  // namespace

bool DeleteListFile(const QString& path) {
  if (path.contains(QChar(0))) return false;
  const QByteArray name = QFile::encodeName(path);
  // unlink never removes a folder.
  return !Protected(name) && unlink(name.constData()) == 0;
}

Trashing MoveListFileToTrash(const QString& path) {
  if (path.contains(QChar(0))) return Trashing::Kept;
  const QByteArray name = QFile::encodeName(path);
  struct stat st;
  if (lstat(name.constData(), &st) != 0 || S_ISDIR(st.st_mode) || Protected(name)) return Trashing::Kept;
  // Qt 6.4 puts the file in "files/" of the working folder when the home
  // trash cannot be made: it is made here first, private as Qt makes it.
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (QDir().mkpath(data))
    QDir(data).mkdir(QStringLiteral("Trash"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (!QFileInfo(data + QStringLiteral("/Trash")).isDir()) return Trashing::NoTrash;
  return QFile::moveToTrash(path) ? Trashing::Trashed : Trashing::NoTrash;
}

int RemoveLeftoverSaves(const QString& folder, long long beforeSecsSinceEpoch) {
  QByteArray folderBytes = QFile::encodeName(folder);
  if (!folderBytes.endsWith('/')) folderBytes += '/';
  DIR* dir = opendir(folderBytes.constData());
  if (!dir) return 0;
  int removed = 0;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (name.size() != 11 || name.substr(0, 5) != ".tnx-") continue;
    if (!std::all_of(name.begin() + 5, name.end(), [](char c) {
          return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        })) {
      continue;
    }
    const QByteArray path = folderBytes + entry->d_name;
    struct stat st;
    if (lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_mtime >= beforeSecsSinceEpoch) continue;
    if (unlink(path.constData()) == 0) ++removed;
  }
  closedir(dir);
  return removed;
}

}  // namespace tenaxo
