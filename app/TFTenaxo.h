#pragma once
// The main window: the card with its answer panels and buttons on top, the
// study list below it while "Voir la liste" is checked. It owns the whole
// state of a run and mirrors it into its controls after every handler.
#include <QWidget>

#include "Session.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace tenaxo {

class ListGrid;
class ListModel;
class Panel;
class StaticLabel;
class TFAbout;

class TFTenaxo : public QWidget {
  Q_OBJECT
 public:
  TFTenaxo();
  ~TFTenaxo() override;

  void SetAbout(TFAbout* about) { FAbout = about; }
  Session& State() { return session_; }

  // Controls, as designed.
  ListGrid* SgListe;
  Panel* PnFiche;
  Panel* PnQR;
  Panel* PnQL;
  Panel* PnReponse;
  StaticLabel* Label1;
  QPushButton* BtOui;
  QPushButton* BtNon;
  QPushButton* Button3;
  QCheckBox* CbVisuListe;
  QComboBox* CbListes;
  StaticLabel* Label10;
  QPushButton* BtDelListe;
  QPushButton* BtSauver;
  QPushButton* Button5;
  QPushButton* BtVider;
  QPushButton* Button4;
  QCheckBox* CbFirstLeft;
  QPushButton* Button1;
  StaticLabel* LbNbMots;
  QCheckBox* CbVocal;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateControls();
  void LayOut();

  Session session_;
  ListModel* model_;
  TFAbout* FAbout = nullptr;
};

}  // namespace tenaxo
