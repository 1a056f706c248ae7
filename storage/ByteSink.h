// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the bytes of a file go as they are made, piece by piece.
#include <string>
#include <string_view>

namespace tenaxo {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // The file's next bytes.
  virtual void Append(std::string_view bytes) = 0;
  // The first size bytes of the buffer are the file's next bytes; the buffer
  // may come back as another one, of any size and content.
  virtual void Hand(std::string& buffer, size_t size) { Append(std::string_view(buffer.data(), size)); }
  // Drops every byte appended so far: the file starts again.
  virtual void Restart() = 0;
};

}  // namespace tenaxo
