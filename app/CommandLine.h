// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line, read before the window opens: --help and --version print
// their text and end the run, an unknown option ends it with a message, and
// the other arguments are files to open. None of it needs a display.
#include <QString>
#include <QStringList>
#include <optional>

namespace tenaxo {

struct CommandLine {
  // What is printed before the run ends, without a window: on stdout with
  // status 0 for --help and --version, on stderr with status 2 for an
  // unknown option. Nothing when the window is to open.
  std::optional<QString> answer;
  int status = 0;
  // The files to open, absolute: a relative path is taken from the working
  // folder given.
  QStringList files;
};

// The arguments are the program's, its name first. The toolkit's own options
// (-platform, -style...) are left to it, with their values; after "--" every
// argument is a file.
CommandLine ReadCommandLine(const QStringList& arguments, const QString& workingFolder);

// What the command line prints and ends with, from the current folder.
std::optional<QString> CommandLineAnswer(const QStringList& arguments);

// The program's own command line, from the current folder.
CommandLine ReadCommandLine(int argc, char** argv);

// Prints the answer where it goes; gives the exit status, 1 when it could
// not be written.
int PrintAnswer(const CommandLine& line);

}  // namespace tenaxo
