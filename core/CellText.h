// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain tests on UTF-8 texts: cells, list names, setting paths.
#include <string>
#include <string_view>

namespace tenaxo {

// True when every character is a space, CR or LF (the empty text included).
bool IsBlank(std::string_view text);

}  // namespace tenaxo
