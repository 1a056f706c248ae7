// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The entries of a folder that match a mask, as the list names are found.
#include <QString>
#include <QStringList>

namespace tenaxo {

// Bare names of the entries of a folder that match the mask's last part ('*'
// any run of characters, '?' one character, letter case ignored: "*.tnx" also
// gives "CAPS.TNX"), in the file system's order. Folders are included. Left
// out: hidden entries (names starting with a dot, except the mask's own text
// with its '*' taken as empty, i.e. ".tnx", the file of the empty list name)
// and system entries (anything that is neither a file nor a folder: FIFOs,
// sockets, devices, dangling links). A folder that cannot be read gives an
// empty list.
QStringList ListFiles(const QString& mask);

}  // namespace tenaxo
