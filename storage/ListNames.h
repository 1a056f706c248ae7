// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names for new lists. QtCore only.
#include <QString>

namespace tenaxo {

// A name for the new list: baseName itself, or baseName followed by " 2",
// " 3"... when a list of that name already exists in AppFolder() (any entry
// of that path counts, so an import never overwrites anything). An empty
// base name counts as "Liste importée".
QString FreeListName(const QString& baseName);

// The list name as one file name, outside any subfolder: the folder
// separators '\\' and '/' become '_'; an empty name gives whenEmpty.
QString FlatListName(QString listName, const QString& whenEmpty);

}  // namespace tenaxo
