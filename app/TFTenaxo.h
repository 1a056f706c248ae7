// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the card with its answer panels and buttons on top, the
// study list below it while "Voir la liste" is checked. It owns the whole
// state of a run (the session, the quiz, the list commands) and mirrors that
// state into its controls after every handler.
#include <QPointer>
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
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;

namespace tenaxo {

class AnswerJournal;
class ListCommands;
class ListGrid;
class ListHistory;
class ListSearch;
class ListModel;
class Panel;
class QuestionCycle;
class StaticLabel;
class StatisticsWindow;
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
  // The menu bar above the card, and the commands of its menus that no
  // button has (WindowMenus.cpp).
  QMenuBar* MainMenu;
  QAction* AcSauver;
  QAction* AcQuitter;
  QAction* AcAnnuler;
  QAction* AcRetablir;
  QAction* AcRechercher;
  QAction* AcInsererLigne;
  QAction* AcSupprimerLigne;
  QAction* AcVoirListe;
  QAction* AcModeEmploi;
  // The search field over the list, the matches it found (SearchBar.cpp).
  QWidget* PnRecherche;
  QLineEdit* EdRecherche;
  StaticLabel* LbRecherche;

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

  // "Annuler", "Rétablir": the last change to the study list undone, made
  // again.
  void AcAnnulerClick();
  void AcRetablirClick();
  // A header click and Ctrl+1...Ctrl+5: the list sorted by that column, in
  // reverse on the column it was last sorted by.
  void SortColumn(int col);
  // "Insérer une ligne" (Inser in the grid), "Supprimer la ligne": at the
  // grid's current row.
  void InsertRow();
  void DeleteRow();

  // "Rechercher": the search field over the list (shown with it); each text
  // typed goes to the first pair below the search's start holding it, F3 and
  // Maj+F3 to the next and the previous, Escape closes it.
  void AcRechercherClick();
  void EdRechercheChange();
  void SearchNext(bool forward);
  void CloseSearch();

  // The list editor.
  void SgListeSetEditText(int col, int row, const std::string& text);
  void SgListeClick();
  void SgListeKeyDown(int& key, Qt::KeyboardModifiers shift);
  void SgListeMouseUp(Qt::MouseButton button, int x, int y);

  // Copies the state of the run into the controls.
  void Mirror();

  AnswerJournal& Journal() { return *journal_; }
  StatisticsWindow* Statistics() const { return statistics_; }

 public slots:
  // "Statistiques" (F9): the journal of answers and the study list in charts.
  void ShowStatistics();

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
  void CreateMenus();
  void CreateSearch();
  void BindEvents();
  void LayOut();
  // The keyboard goes back to the card, for the next question.
  void FocusCard();
  // Opens the About window; the first time beside this one, off the card.
  void ShowAbout();
  void PlaceSearch();
  // The menu bar's height: the top of the designed area (the card, then the list).
  int MenuHeight() const;
  // Goes to a pair found (an index into the search's hits): its cell
  // current, its row selected, in view.
  void ShowHit(int hit);
  void MirrorCard();
  std::string ListNameText() const;
  // Runs a handler, then mirrors the state, whether it ends or fails; a
  // failure is shown in the error box. True when the handler ended.
  // A handler that changes the study list is one step of its history, named
  // step ("Annuler la réponse"); quiz: undoing it asks the question again.
  bool Run(const std::function<void()>& handler, const QString& step = {}, bool quiz = false);
  // Ends the hold on speech once the card is on screen; speech switches
  // itself off when the text held cannot be spoken.
  void SpeakHeld();

  std::shared_ptr<HeldSpeech> hold_ = std::make_shared<HeldSpeech>();
  Session session_;
  ListModel* model_ = nullptr;
  std::unique_ptr<QuestionCycle> cycle_;
  std::unique_ptr<ListCommands> lists_;
  std::unique_ptr<AnswerJournal> journal_;
  StatisticsWindow* statistics_ = nullptr;
  std::unique_ptr<ListHistory> history_;
  std::unique_ptr<ListSearch> search_;
  QWidget* area_ = nullptr;  // the card and the list, below the menu bar
  int searchFrom_ = 1;       // the row the text typed is looked for from
  QPointer<QWidget> focusBeforeSearch_;
  TFAbout* FAbout = nullptr;
  VoiceLanguages languages_;
  bool shown_ = false;
  QString fileFolder_;          // where the file dialogs open
  Panel* question_ = nullptr;   // the side the pending question shows
  std::vector<Placed> placed_;  // the card's controls LayOut moves
};

}  // namespace tenaxo
