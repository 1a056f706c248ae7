// The encodings of text files: what Windows-1252 cannot hold, and the line
// where a text stops being UTF-8.
#include <gtest/gtest.h>

#include "TextEncoding.h"

namespace tenaxo {
namespace {

TEST(TextEncoding, WhatWindows1252CannotHold) {
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"U+0100, a two-byte character it lacks", "\xC4\x80"},
      {"four bytes", "\xF0\x9F\x99\x82"},
      {"a lead byte alone", "a\xC3"},
      {"a sequence cut short", "\xE2\x82z"},
      {"a continuation byte alone", "a\x80"},
      {"an overlong form", "\xC1\xA9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes;
    EXPECT_FALSE(Utf8ToWindows1252(c.text, bytes));
  }
}

TEST(TextEncoding, FirstLineNotUtf8) {
  const struct {
    const char* name;
    std::string text;
    int line;
  } cases[] = {
      {"valid", "\xC3\xA9\r\n\xF0\x9F\x99\x82\n", 0},
      {"the first line", "\xE9\nb", 1},
      {"after LF, CR LF and CR", "a\nb\r\nc\r\xC3\xA9 \xE9", 4},
      {"a sequence cut by a line end", "\xC3\xA9\n\xC3\n\xA9", 2},
      {"an empty line before", "\n\n\xFF", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FirstLineNotUtf8(c.text), c.line);
  }
}

}  // namespace
}  // namespace tenaxo
