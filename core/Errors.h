// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A failure the user is told about: its message is shown in an error box and
// the program goes on.
#include <QString>
#include <exception>

namespace tenaxo {

class Error : public std::exception {
 public:
  explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
  const QString& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
};

}  // namespace tenaxo
