#include "ListFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

#include "Errors.h"

namespace tenaxo {

namespace {

QString& AppFolderOverride() {
  static QString folder;
  return folder;
}

QString& ProgramFileOverride() {
  static QString file;
  return file;
}

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

// A plain file or a folder, links followed.
bool IsListedKind(const QByteArray& path, unsigned char type) {
  if (type == DT_REG || type == DT_DIR) return true;
  if (type != DT_LNK && type != DT_UNKNOWN) return false;
  struct stat st;
  if (stat(path.constData(), &st) != 0) return false;
  return S_ISREG(st.st_mode) || S_ISDIR(st.st_mode);
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, telling whether the system accepted it.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

// The new file of a save: removed again unless the save went through.
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

QByteArray FolderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  return slash < 0 ? QByteArray() : path.left(slash + 1);
}

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

ListLines::value_type CutLine(std::string_view line) {
  StudyTable::Row cells;
  cells.reserve(5);
  while (!line.empty()) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
      cells.emplace_back(line);
      break;
    }
    cells.emplace_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  return cells;
}

}  // namespace

// ---------------------------------------------------------------- folders

namespace {

// Once a run: the user's list folder exists, holding the shipped lists when
// it held none. Failures stay silent here; a save into a folder that could
// not be made reports its own error.
void PrepareUserFolder(const QString& folder, const QString& shipped) {
  static QString prepared;
  if (prepared == folder) return;
  prepared = folder;
  // Private to the user, as the data folders are; their parents as usual.
  QDir().mkpath(QFileInfo(QDir::cleanPath(folder)).path());
  QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (!ListFiles(folder + QStringLiteral("*.tnx")).isEmpty()) return;
  for (const QString& name : ListFiles(shipped + QStringLiteral("*.tnx"))) {
    try {
      WriteFileAtomically(folder + name, ReadWholeFile(shipped + name));
    } catch (const Error&) {
      // This list is not offered; the others still are.
    }
  }
}

}  // namespace

QString AppFolder() {
  if (!AppFolderOverride().isEmpty()) return WithTrailingSlash(AppFolderOverride());
  const QString program = ProgramFile();
  const QString shipped = ShippedListsFolder(program);
  if (shipped.isEmpty()) return WithTrailingSlash(program.left(program.lastIndexOf(u'/') + 1));
  const QString folder = UserDataFolder();
  PrepareUserFolder(folder, shipped);
  return folder;
}

void SetAppFolder(const QString& folder) { AppFolderOverride() = folder; }

QString ProgramFile() {
  if (!ProgramFileOverride().isEmpty()) return ProgramFileOverride();
  return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

void SetProgramFile(const QString& path) { ProgramFileOverride() = path; }

QString ShippedListsFolder(const QString& programFile) {
  const QDir bin = QFileInfo(programFile).absoluteDir();
  if (bin.dirName() != QLatin1String("bin")) return QString();
  const QString shipped = QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/tenaxo")));
  return QFileInfo(shipped).isDir() ? WithTrailingSlash(shipped) : QString();
}

QString UserDataFolder() {
  return WithTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
         QStringLiteral("Tenaxo/");
}

QString WithTrailingSlash(const QString& path) {
  if (path.endsWith(u'/')) return path;
  return path + u'/';
}

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
    if (bytes == "." || bytes == "..") continue;
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

QString ListFilePath(const std::string& listName) {
  return AppFolder() + ToQString(listName).replace(u'\\', u'/') + QStringLiteral(".tnx");
}

bool FileExists(const QString& path) {
  if (path.contains(QChar(0))) return false;
  struct stat st;
  return stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DeleteListFile(const QString& path) {
  if (path.contains(QChar(0))) return false;
  const QByteArray name = QFile::encodeName(path);
  struct stat st;
  if (stat(name.constData(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if ((st.st_mode & 0222) == 0) return false;  // read-only: kept, as the platform keeps it
  return unlink(name.constData()) == 0;
}

// ---------------------------------------------------------------- format

ListLines ParseListText(std::string_view text) {
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  ListLines lines;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    size_t end = i;
    while (end < n && text[end] != '\r' && text[end] != '\n') ++end;
    lines.push_back(CutLine(text.substr(i, end - i)));
    if (end < n) end += (text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ? 2 : 1;
    i = end;
  }
  return lines;
}

void FillTable(StudyTable& grid, ListLines lines) { grid.ReplaceDataRows(std::move(lines)); }

std::string ListText(const StudyTable& grid) {
  const int cols = grid.ColCount();
  size_t size = 0;
  for (int r = StudyTable::FixedRows; r < grid.RowCount(); ++r) {
    size += static_cast<size_t>(cols) + 1;  // TABs and CR LF
    for (int c = 0; c < cols; ++c) size += grid.Cell(c, r).size();
  }
  std::string text;
  text.reserve(size);
  for (int r = StudyTable::FixedRows; r < grid.RowCount(); ++r) {
    for (int c = 0; c < cols; ++c) {
      if (c > 0) text += '\t';
      text += grid.Cell(c, r);
    }
    text += "\r\n";
  }
  return text;
}

// ---------------------------------------------------------------- files

std::string ReadWholeFile(const QString& path) {
  if (path.contains(QChar(0))) FailOpen(path, EINVAL);
  const QByteArray name = QFile::encodeName(path);
  int fd;
  do {
    fd = open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) FailOpen(path, errno);
  Descriptor file(fd);
  struct stat st;
  if (fstat(fd, &st) != 0) FailOpen(path, errno);
  if (S_ISDIR(st.st_mode)) FailOpen(path, EISDIR);
  if (!S_ISREG(st.st_mode)) FailOpen(path, EINVAL);
  std::string bytes(static_cast<size_t>(st.st_size) + 1, '\0');
  size_t used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t count = read(fd, &bytes[used], bytes.size() - used);
    if (count < 0) {
      if (errno == EINTR) continue;
      FailOpen(path, errno);
    }
    if (count == 0) break;
    used += static_cast<size_t>(count);
  }
  bytes.resize(used);
  return bytes;
}

void WriteFileAtomically(const QString& path, std::string_view bytes) {
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
  if (fd < 0) FailCreate(path, errno);
  Descriptor file(fd);
  NewFile guard(temporary);
  if (exists) {
    if (fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Only the administrator may give a file away; the list stays ours.
    }
    fchmod(fd, old.st_mode & 07777);
  } else {
    fchmod(fd, NewFileMode());
  }

  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t count = write(fd, data, left);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) FailWrite();
    data += count;
    left -= static_cast<size_t>(count);
  }
  if (fsync(fd) != 0 || !file.Close()) FailWrite();
  if (rename(temporary.constData(), target.constData()) != 0) FailCreate(path, errno);
  guard.Keep();

  // The folder now names the new file; make that last too.
  const QByteArray folder = FolderOf(target);
  const int dirFd = open(folder.isEmpty() ? "." : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
}

// ---------------------------------------------------------------- stamps

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

int RemoveLeftoverSaves(const QString& folder, long long beforeSecsSinceEpoch) {
  const QByteArray folderBytes = QFile::encodeName(WithTrailingSlash(folder));
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
