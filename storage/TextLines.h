// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lines of a text as every reader of this program cuts them: CR LF, a lone CR
// and a lone LF each end one.
#include <cstddef>
#include <string_view>

namespace tenaxo {

// Where the line that starts at from ends: its CR or LF, or the end of text.
size_t LineEnd(std::string_view text, size_t from);

// Past the line end at p (CR LF, CR or LF); p itself at the end of the text.
size_t PastLineEnd(std::string_view text, size_t p);

// How many line ends the text holds: the line of the position just past it,
// counted from 0.
int LineEndCount(std::string_view text);

}  // namespace tenaxo
