// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the card with its answer panels and buttons on top, the
// study list below it while "Voir la liste" is checked. It owns the whole
// state of a run (the session, the quiz, the list commands) and mirrors that
// state into its controls after every handler.
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "HeldSpeech.h"
#include "Session.h"
#include "Voice.h"

class QAction;
class QCheckBox;
class QComboBox;
class QMenu;
class QPushButton;

namespace tenaxo {

class ListCommands;
class ListGrid;
class ListModel;
class Panel;
class QuestionCycle;
class StaticLabel;
class TFAbout;

class TFTenaxo : public QWidget {
  Q_OBJECT
 public:
  // voices makes the speech voice, languages lists the languages it can
  // speak (the real engine's by default).
  explicit TFTenaxo(VoiceFactory voices = {}, VoiceLanguages languages = {});
  ~TFTenaxo() override;

  void SetAbout(TFAbout* about) { FAbout = about; }
  TFAbout* About() const { return FAbout; }
  Session& State() { return session_; }
  QuestionCycle& Cycle() { return *cycle_; }

  // The controls.
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
  // Commands reached by their keys alone: Ctrl+I, Ctrl+E.
  QAction* AcImporter;
  QAction* AcExporter;

  // Life of the window.
  void FormCreate();
  void FormShow();
  // True when the window may close.
  bool FormClose();
  void CbVisuListeClick();
  void Button1Click();
  // The card and the quiz's buttons: reveal, answer, "Nouvelle série de
  // question", "RAZ Statistiques" (asks first).
  void PnFicheClick();
  void PnQLClick();
  void PnQRClick();
  void BtOuiClick();
  void BtNonClick();
  void Button3Click();
  void Button4Click();
  // The list's buttons: "Charger", "Sauver", "Supprimer", "Vider liste".
  void Button5Click();
  void BtSauverClick();
  void BtDelListeClick();
  void BtViderClick();
  // The menu of a right click on "Synthèse vocale à gauche": the engine's
  // languages by name, the one the left text is spoken in checked.
  QMenu* CbVocalMenu();

  // "Importer des listes...": the files chosen (or dropped) become new
  // lists, the last one loaded; one box sums it up.
  void AcImporterClick();
  void ImportFiles(const QStringList& files);
  // The files of the command line, or of a later start: each list file of
  // the list folder is named in the drop-down and loaded as "Charger" does,
  // in turn; then every other file is imported, as by ImportFiles.
  void OpenFiles(const QStringList& files);
  // "Exporter la liste...": the study list written to the file chosen.
  void AcExporterClick();

  // The list editor.
  void SgListeSetEditText(int col, int row, const std::string& text);
  void SgListeClick();
  void SgListeKeyDown(int& key, Qt::KeyboardModifiers shift);
  void SgListeMouseUp(Qt::MouseButton button, int x, int y);

  // Copies the state of the run into the controls.
  void Mirror();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The card's height, the list's below it while shown, the window's width.
  static constexpr int kCardHeight = 148;
  static constexpr int kListHeight = 300;
  static constexpr int kClientWidth = 642;

  // How a control of the card follows the window beyond its designed size.
  enum Anchor { kLeft = 0, kRight = 1, kCentre = 2, kDown = 4 };
  struct Placed {
    QWidget* control;
    QRect designed;
    int anchor;
  };

  void CreateControls();
  void BindEvents();
  // The top of the designed area (the card, then the list) in the window.
  int AreaTop() const { return 0; }
  void LayOut();
  // The keyboard goes back to the card, for the next question.
  void FocusCard();
  // Opens the About window; the first time beside this one, off the card.
  void ShowAbout();
  void MirrorCard();
  std::string ListNameText() const;
  // Runs a handler, then mirrors the state, whether it ends or fails; a
  // failure is shown in the error box. True when the handler ended.
  bool Run(const std::function<void()>& handler);
  // Ends the hold on speech once the card is on screen; speech switches
  // itself off when the text held cannot be spoken.
  void SpeakHeld();

  std::shared_ptr<HeldSpeech> hold_ = std::make_shared<HeldSpeech>();
  Session session_;
  ListModel* model_ = nullptr;
  std::unique_ptr<QuestionCycle> cycle_;
  std::unique_ptr<ListCommands> lists_;
  TFAbout* FAbout = nullptr;
  VoiceLanguages languages_;
  bool shown_ = false;
  QString fileFolder_;          // where the file dialogs open
  Panel* question_ = nullptr;   // the side the pending question shows
  std::vector<Placed> placed_;  // the card's controls LayOut moves
};

}  // namespace tenaxo
