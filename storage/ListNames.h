// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// List names: for new lists, as one file name, from a list file. QtCore only.
#include <QString>

namespace tenaxo {

// A name for the new list: baseName itself, or baseName followed by " 2",
// " 3"... when a list of that name already exists in AppFolder() (any entry
// of that path counts, so an import never overwrites anything). An empty
// base name counts as "Liste importée".
QString FreeListName(const QString& baseName);

// The list name as one file name, outside any subfolder: the folder
// separators '\\' and '/' become '_'. A name that is empty or only spaces
// names no list (its file would be the hidden ".tnx" or " .tnx"): it gives
// whenEmpty.
QString FlatListName(QString listName, const QString& whenEmpty);

// A list file of the list folder itself (AppFolder() + name + ".tnx", the
// folders compared once links are resolved): the list's name; any other
// path gives a null text.
QString ListNameOfFile(const QString& path);

}  // namespace tenaxo
