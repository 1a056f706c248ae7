// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About window: a presentation on top, the usage notes and the interface
// notes side by side below it. Created hidden; closing it only hides it.
#include <QWidget>

class QPlainTextEdit;
class QSplitter;

namespace tenaxo {

class TFAbout : public QWidget {
  Q_OBJECT
 public:
  explicit TFAbout(QWidget* owner);

  // Makes the window visible and brings it to the front; returns at once.
  void ShowModeless();

  QPlainTextEdit* Memo1;
  QPlainTextEdit* Memo2;
  QPlainTextEdit* Memo3;
  QSplitter* Splitter1;
};

}  // namespace tenaxo
