// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain tests and cuts on UTF-8 texts: cells, list names, setting paths.
#include <string>
#include <string_view>

namespace tenaxo {

// True when every character is a space, CR or LF (the empty text included).
bool IsBlank(std::string_view text);

// Cuts the text before the first separator (not empty) off source into token;
// without a separator the whole source is the token.
void CutToken(std::string& source, std::string_view separator, std::string& token);

}  // namespace tenaxo
