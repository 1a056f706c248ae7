// SPDX-License-Identifier: GPL-3.0-or-later
#include "CellText.h"

namespace tenaxo {

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \r\n") == std::string_view::npos; }

void CutToken(std::string& source, std::string_view separator, std::string& token) {
  const size_t at = source.find(separator);
  if (at == std::string::npos) {
    token = std::move(source);
    source.clear();
    return;
  }
  token = source.substr(0, at);
  source.erase(0, at + separator.size());
}

}  // namespace tenaxo
