// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole files read and written, never half: the list files, and the files
// imported and exported. Failures throw tenaxo::Error with their message.
#include <sys/stat.h>

#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "ByteSink.h"

namespace tenaxo {

// The whole file. Fails with "Impossible d'ouvrir le fichier "<path>". <the
// system's text>" when it is missing, a folder, not a plain file, or cannot be
// read.
std::string ReadWholeFile(const QString& path);

// What the system told of a file once it was open, before its first byte was
// read.
struct FileStatus {
  struct stat file {};
  long fileSystem = 0;  // the kind of its file system: statfs's f_type
};
// The whole file, as above, and its status.
std::string ReadWholeFile(const QString& path, FileStatus& status);

// The file read through in pieces of `size` bytes (the last one shorter,
// none for an empty file), handed in order to `piece`; fails as
// ReadWholeFile.
void ReadFileInPieces(const QString& path, size_t size, const std::function<void(std::string_view)>& piece);

// Replaces the file with the bytes, never leaving a half-written file: they
// go to a new file beside it that replaces the old one only once every byte
// is written and flushed to disk. A file that is read-only (for everyone, so
// even for the administrator), a folder, or whose new file cannot be made
// fails with "Impossible de créer le fichier "<path>". <the system's text>";
// a failed write fails with "Erreur d'écriture dans le flux". On failure the
// old file is as it was and no new file is left behind. A symbolic link
// stays: the file it points to is replaced.
void WriteFileAtomically(const QString& path, std::string_view bytes);

// The same, for the bytes `make` appends to the sink it is given: each piece
// is written as it comes, so the whole file is never held in memory.
void WriteFileAtomically(const QString& path, const std::function<void(ByteSink&)>& make);

// An entry with that path exists and is not a folder.
bool FileExists(const QString& path);

// Deletes the file when it exists and is not read-only for everyone (such a
// file is protected); a file that cannot be deleted stays, and false says so.
bool DeleteListFile(const QString& path);

enum class Trashing {
  Trashed,  // the file is in the desktop's trash
  NoTrash,  // the file stays: no trash could take it
  Kept,     // the file stays: missing, a folder, or read-only for everyone
};
// Moves the file to the desktop's trash (the freedesktop.org one: for a file
// on the home folder's volume $XDG_DATA_HOME/Trash, made when missing, else
// the trash at the top of its own volume), with what the trash needs to put
// it back; the same files as DeleteListFile are protected.
Trashing MoveListFileToTrash(const QString& path);

// Removes the new files that writes killed half-way left in the folder
// (".tnx-" and six letters or digits, plain files) when they were last
// written before the time given; gives how many went.
int RemoveLeftoverSaves(const QString& folder, long long beforeSecsSinceEpoch);

}  // namespace tenaxo
