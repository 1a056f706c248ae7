// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About window: a presentation on top, the usage notes and the interface
// notes side by side below it, "Fermer" at the bottom. Created hidden;
// closing it ("Fermer", Escape, Ctrl+W) only hides it.
#include <QRect>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QSplitter;

namespace tenaxo {

class TFAbout : public QWidget {
  Q_OBJECT
 public:
  explicit TFAbout(QWidget* owner);

  // Makes the window visible and brings it to the front; returns at once.
  // The first time, it goes beside its owner (PlaceBeside), off the card
  // (in screen coordinates); later it stays where it was.
  void ShowModeless(const QRect& card = QRect());

  QPlainTextEdit* Memo1;
  QPlainTextEdit* Memo2;
  QPlainTextEdit* Memo3;
  QSplitter* Splitter1;
  QPushButton* BtFermer;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool placed_ = false;
};

// Where a window of the given size (frame included) goes beside the owner's
// frame, off the card, on the screen's free area: to the owner's right when
// the screen has room, else to its left (narrowed to kNarrowest at least
// where the screen has no more), else below the card, else above it; level
// with the owner's top as far as the screen allows. When none fits, below
// the card and within the screen, over as little of the card as it allows.
constexpr int kNarrowest = 600;
QRect PlaceBeside(const QRect& screen, const QRect& owner, const QRect& card, const QSize& size);

}  // namespace tenaxo
