// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options the program answers before it opens its window: --help and
// --version, which print their text and end the run. They need no display.
#include <QString>
#include <QStringList>
#include <optional>

namespace tenaxo {

// What the command line prints and ends with: nothing when the window is to
// open. The arguments are the program's, its name first; any other argument
// (the toolkit's -platform, -style...) is left to the toolkit.
std::optional<QString> CommandLineAnswer(const QStringList& arguments);

// Prints that answer and gives the exit status, or nothing to go on.
std::optional<int> RunCommandLine(int argc, char** argv);

}  // namespace tenaxo
