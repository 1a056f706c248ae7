// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the lists are: the list folder, and the file of each list name in it.
#include <QString>
#include <string>

namespace tenaxo {

// The folder of the lists, ending with '/'; every list routine goes through
// it. A copy run from a folder of its own (a build tree, a portable folder)
// keeps its lists beside its program file. An installed copy (its program
// file in <prefix>/bin, with <prefix>/share/tenaxo present) keeps them in
// UserDataFolder() and writes nothing under the prefix: the first call of a
// run creates that folder and, when it holds no list yet, copies the lists
// shipped in <prefix>/share/tenaxo into it. Tests and the GUI tests point it
// at a folder of their own with SetAppFolder; an empty text goes back to the
// folder decided from the program file.
QString AppFolder();
void SetAppFolder(const QString& folder);

// The running program's file (/proc/self/exe, links resolved). Tests name
// another with SetProgramFile; an empty text goes back to the real one.
QString ProgramFile();
void SetProgramFile(const QString& path);

// <prefix>/share/tenaxo/ for a program file installed as <prefix>/bin/<name>
// with that folder present; "" for any other copy.
QString ShippedListsFolder(const QString& programFile);

// The user's own data folder for this program, ending with '/':
// $XDG_DATA_HOME/Tenaxo/ (by default ~/.local/share/Tenaxo/). Not created here.
QString UserDataFolder();

// The text ending with the folder separator '/', added when missing; "" gives "/".
QString WithTrailingSlash(const QString& path);

// List folder + name + ".tnx". A backslash in the name separates folders,
// as '/' does: "sous\\liste" is the list "liste" of the subfolder "sous".
QString ListFilePath(const std::string& listName);

}  // namespace tenaxo
