// SPDX-License-Identifier: GPL-3.0-or-later
#include "Utf8.h"

#include <QStringDecoder>

namespace tenaxo {

namespace {
bool Continues(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

QString ToQString(std::string_view text) {
  // QString::fromUtf8 drops a byte-order mark at the start; a cell keeps it.
  thread_local QStringDecoder decoder(QStringDecoder::Utf8,
                                      QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
  return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

std::string ToUtf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string_view Utf8Prefix(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = maxBytes;
  while (end > 0 && Continues(text[end])) --end;
  return text.substr(0, end);
}

}  // namespace tenaxo
