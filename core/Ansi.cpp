#include "Ansi.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tenaxo {

namespace {
// Opening a converter is the costly part; single-byte decoding keeps no state
// between calls, so one converter per thread serves every call.
QStringDecoder& Decoder() {
  thread_local QStringDecoder decoder("windows-1252");
  return decoder;
}
QStringEncoder& Encoder() {
  thread_local QStringEncoder encoder("windows-1252");
  return encoder;
}
}  // namespace

QString AnsiToQString(std::string_view text) {
  if (text.empty()) return QString();
  return Decoder().decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

bool QStringToAnsi(const QString& text, AnsiString& out) {
  const QByteArray bytes = Encoder().encode(text);
  // The converter puts a substitute for a character it cannot hold and does
  // not always say so: a text that does not come back whole did not fit.
  if (bytes.size() != text.size() ||
      Decoder().decode(QByteArrayView(bytes)) != text) {
    return false;
  }
  out.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
  return true;
}

AnsiString Ansi(const char* utf8) {
  AnsiString out;
  QStringToAnsi(QString::fromUtf8(utf8), out);
  return out;
}

QChar FirstUnencodable(const QString& text) {
  AnsiString scratch;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
    const QString one = text.mid(i, pair ? 2 : 1);
    if (!QStringToAnsi(one, scratch)) return text[i];
    if (pair) ++i;
  }
  return QChar();
}

}  // namespace tenaxo
