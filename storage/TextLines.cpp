// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextLines.h"

namespace tenaxo {

size_t LineEnd(std::string_view text, size_t from) {
  while (from < text.size() && text[from] != '\r' && text[from] != '\n') ++from;
  return from;
}

size_t PastLineEnd(std::string_view text, size_t p) {
  if (p >= text.size()) return p;
  return p + ((text[p] == '\r' && p + 1 < text.size() && text[p + 1] == '\n') ? 2 : 1);
}

int LineEndCount(std::string_view text) {
  int count = 0;
  for (size_t end = LineEnd(text, 0); end < text.size(); end = LineEnd(text, PastLineEnd(text, end))) ++count;
  return count;
}

}  // namespace tenaxo
