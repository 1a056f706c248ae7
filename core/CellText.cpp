// SPDX-License-Identifier: GPL-3.0-or-later
#include "CellText.h"

namespace tenaxo {

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \r\n") == std::string_view::npos; }

}  // namespace tenaxo
