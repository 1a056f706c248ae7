// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QStringList>

namespace tenaxo {

// The presentation on top, the usage notes and the interface notes.
const QStringList& AboutPresentation();
const QStringList& AboutUsage();
const QStringList& AboutInterface();

}  // namespace tenaxo
