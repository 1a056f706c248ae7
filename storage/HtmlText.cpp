// SPDX-License-Identifier: GPL-3.0-or-later
#include "HtmlText.h"

#include <QByteArrayView>
#include <cstdint>
#include <vector>

#include "Utf8.h"

namespace tenaxo {

namespace {

constexpr size_t npos = std::string_view::npos;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Where the '>' ending a tag that starts at s[i] == '<' stands, npos when
// this '<' starts no tag (a lone "<" or "a < b" stays text).
// A tag is at most kMaxTag characters long, which keeps a field full of '<'
// from being scanned over and over.
constexpr size_t kMaxTag = 1024;

// What may follow the '<' of a tag.
constexpr std::string_view kTagStart = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ/!";

size_t TagEnd(std::string_view s, size_t i) {
  if (s.substr(i + 1, 1).find_first_of(kTagStart) != 0) return npos;  // also for a '<' that ends the text
  s = s.substr(0, i + kMaxTag);
  if (s.substr(i, 4) == "<!--") {
    const size_t end = s.find("-->", i + 4);
    return end == npos ? npos : end + 2;
  }
  for (size_t k = i + 1; k < s.size(); ++k) {
    if (s[k] == '>') return k;
    if (s[k] == '"' || s[k] == '\'') {
      k = s.find(s[k], k + 1);
      if (k == npos) return npos;
    }
  }
  return npos;
}

// The tag's name as written: "<BR/>" gives "BR". A tag holds at least '<' and the character TagEnd found after it.
std::string_view TagName(std::string_view tag) {
  size_t k = 1;
  if (tag[k] == '/') ++k;
  const size_t start = k;
  while (k < tag.size() &&
         ((tag[k] >= 'a' && tag[k] <= 'z') || (tag[k] >= 'A' && tag[k] <= 'Z') || (tag[k] >= '0' && tag[k] <= '9'))) {
    ++k;
  }
  return tag.substr(start, k - start);
}

bool Named(std::string_view tagName, const char* name) {
  return QByteArrayView(tagName).compare(name, Qt::CaseInsensitive) == 0;
}

bool BreaksLine(std::string_view tagName) {
  return Named(tagName, "br") || Named(tagName, "div") || Named(tagName, "p") || Named(tagName, "li");
}

// A character reference at s[i] == '&': its character appended to out and
// its length returned, or 0 when it is none this reader knows.
size_t DecodeReference(std::string_view s, size_t i, std::string& out) {
  const size_t semi = s.substr(0, i + 12).find(';', i + 1);
  if (semi == npos) return 0;
  const std::string_view body = s.substr(i + 1, semi - i - 1);
  uint32_t c = 0;
  if (body.substr(0, 1) == "#") {
    const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    for (char d : digits) {
      uint32_t v;
      if (d >= '0' && d <= '9') v = static_cast<uint32_t>(d - '0');
      else if (hex && d >= 'a' && d <= 'f') v = static_cast<uint32_t>(d - 'a' + 10);
      else if (hex && d >= 'A' && d <= 'F') v = static_cast<uint32_t>(d - 'A' + 10);
      else return 0;
      c = c * (hex ? 16 : 10) + v;
      if (c > 0x10FFFF) return 0;
    }
    if (c == 0 || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    if (c < 0x20) c = ' ';  // a list cell keeps no control character
  } else if (body == "amp") {
    c = '&';
  } else if (body == "lt") {
    c = '<';
  } else if (body == "gt") {
    c = '>';
  } else if (body == "quot") {
    c = '"';
  } else if (body == "apos") {
    c = '\'';
  } else if (body == "nbsp") {
    c = ' ';  // folded with the spaces around it, as a browser shows it
  } else {
    return 0;
  }
  utf8::AppendUtf8(out, c);
  return semi - i + 1;
}

// HTML to text: tags out (those that break a line leave a space), media
// references out, character references decoded.
void StripHtml(std::string_view s, std::string& out) {
  size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '<') {
      const size_t end = TagEnd(s, i);
      if (end != npos) {
        if (BreaksLine(TagName(s.substr(i, end - i)))) out += ' ';
        i = end + 1;
        continue;
      }
    } else if (c == '&') {
      const size_t used = DecodeReference(s, i, out);
      if (used > 0) {
        i += used;
        continue;
      }
    } else if (c == '[' && s.substr(i, 7) == "[sound:") {
      const size_t end = s.find(']', i);
      if (end != npos) {
        i = end + 1;
        continue;
      }
    }
    out += c;
    ++i;
  }
}

// Only <br> (any form) becomes a space; everything else stays.
void BrToSpace(std::string_view s, std::string& out) {
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] == '<') {
      const size_t end = TagEnd(s, i);
      if (end != npos && s[i + 1] != '/' && Named(TagName(s.substr(i, end - i)), "br")) {
        out += ' ';
        i = end + 1;
        continue;
      }
    }
    out += s[i++];
  }
}

// Length of a cloze opening "{{c<digits>::" at s[i], 0 when there is none.
size_t ClozeOpening(std::string_view s, size_t i) {
  if (s.substr(i, 3) != "{{c") return 0;
  size_t k = i + 3;
  while (k < s.size() && s[k] >= '0' && s[k] <= '9') ++k;
  if (k == i + 3 || s.substr(k, 2) != "::") return 0;
  return k + 2 - i;
}

void Cloze(std::string_view s, std::string& out) {
  struct Open {
    size_t start;   // where "{{c" stands in out
    size_t answer;  // where the answer begins in out
    size_t hint;    // where its "::hint" begins, npos when none
  };
  std::vector<Open> open;
  size_t i = 0;
  while (i < s.size()) {
    if (const size_t length = ClozeOpening(s, i)) {
      open.push_back({out.size(), out.size() + length, npos});
      out.append(s.substr(i, length));
      i += length;
    } else if (!open.empty() && s.substr(i, 2) == "}}") {
      const Open o = open.back();
      open.pop_back();
      const size_t end = o.hint == npos ? out.size() : o.hint;
      const std::string answer = out.substr(o.answer, end - o.answer);
      out.resize(o.start);
      out += answer;
      i += 2;
    } else {
      if (!open.empty() && open.back().hint == npos && s.substr(i, 2) == "::") open.back().hint = out.size();
      out += s[i++];
    }
  }
}

// Runs of white space become one space; none at either end.
void FoldSpaces(std::string_view s, std::string& out) {
  bool space = false;
  for (char c : s) {
    if (IsSpace(c)) {
      space = !out.empty();
    } else {
      if (space) out += ' ';
      space = false;
      out += c;
    }
  }
}

// Line breaks (CR LF counting once), TABs, VT and FF become spaces.
void ControlsToSpaces(std::string_view s, std::string& out) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    out += IsSpace(s[i]) ? ' ' : s[i];
  }
}

}  // namespace

std::string FieldCleaner::Clean(std::string_view field) {
  a_.clear();
  switch (markup_) {
    case Markup::Html: StripHtml(field, a_); break;
    case Markup::BrOnly: BrToSpace(field, a_); break;
    case Markup::AsWritten: a_.assign(field); break;
  }
  std::string_view text = a_;
  if (clozes_ && text.find("{{c") != npos) {
    b_.clear();
    Cloze(text, b_);
    text = b_;
  }
  std::string out;
  out.reserve(text.size());
  if (markup_ == Markup::Html) FoldSpaces(text, out);
  else ControlsToSpaces(text, out);
  return out;
}

}  // namespace tenaxo
