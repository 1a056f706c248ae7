// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFTenaxo.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

#include "AnswerJournal.h"
#include "Dialogs.h"
#include "Errors.h"
#include "EspeakVoice.h"
#include "Fonts.h"
#include "ListCommands.h"
#include "ListGrid.h"
#include "ListHistory.h"
#include "ListModel.h"
#include "ListSearch.h"
#include "QuestionCycle.h"
#include "Settings.h"
#include "StatisticsWindow.h"
#include "TFAbout.h"
#include "Widgets.h"

namespace tenaxo {

namespace {
const QColor kWhite(255, 255, 255);
const QColor kSilver(192, 192, 192);

// A hidden side reads "?" on silver, a revealed one its text on white; a side
// that never held a text shows the panel's name.
void MirrorPanel(Panel* panel, const CardSide& side, const QString& name) {
  panel->SetCaption(side.hidden ? QStringLiteral("?") : side.text ? ToQString(*side.text) : name);
  panel->SetColor(side.hidden ? kSilver : kWhite);
}

void SetChecked(QCheckBox* box, bool checked) {
  if (box->isChecked() != checked) box->setChecked(checked);
}
}  // namespace

// A failure stops here, in the error box: it never unwinds through the
// toolkit's frames that called the handler, which would skip their cleanup.
bool TFTenaxo::Run(const std::function<void()>& handler, const QString& step, bool quiz) {
  history_->Begin();
  if (!step.isEmpty()) history_->Name(step, quiz);
  try {
    handler();
  } catch (...) {
    history_->End();
    Mirror();
    ShowCurrentFailure(this);
    return false;
  }
  history_->End();
  Mirror();
  return true;
}

TFTenaxo::TFTenaxo(VoiceFactory voices, VoiceLanguages languages)
    : QWidget(nullptr), languages_(languages ? std::move(languages) : EspeakLanguages) {
  setFont(UiFont(11));
  CreateControls();
  // Never smaller than the card as designed: no control is cut.
  setMinimumSize(kClientWidth, MenuHeight() + kCardHeight);
  resize(kClientWidth, 476);

  VoiceFactory made = voices ? std::move(voices) : EspeakVoices();
  VoiceFactory held = [made = std::move(made), hold = hold_]() -> std::unique_ptr<Voice> {
    std::unique_ptr<Voice> voice = made();
    if (!voice) return nullptr;
    return std::make_unique<HeldVoice>(std::move(voice), hold);
  };
  cycle_ = std::make_unique<QuestionCycle>(session_, std::move(held));
  history_ = std::make_unique<ListHistory>(session_, *cycle_);
  search_ = std::make_unique<ListSearch>();
  PnFiche->installEventFilter(this);
  // Ctrl+E moves to the end of the line in a text box on X11; here it exports,
  // wherever the focus is.
  CbListes->installEventFilter(this);
  CbListes->lineEdit()->installEventFilter(this);
  SgListe->Editor()->installEventFilter(this);
  cycle_->SetBeforeSpeak([this] {
    Mirror();
    PnFiche->repaint();
  });
  ListWindow window;
  window.ListName = [this] { return ListNameText(); };
  window.Confirm = [this](const QString& question) { return Confirm(this, question); };
  window.ConfirmYesNo = [this](const QString& question) { return Confirm(this, question, Answers::YesNo); };
  window.SetListNames = [this](const QStringList& names) {
    const QString text = CbListes->currentText();
    CbListes->clear();
    CbListes->addItems(names);
    CbListes->setEditText(text);
  };
  window.ClearListName = [this] { CbListes->setEditText(QString()); };
  window.SetListName = [this](const QString& name) { CbListes->setEditText(name); };
  lists_ = std::make_unique<ListCommands>(session_, std::move(window));
  journal_ = std::make_unique<AnswerJournal>();
  cycle_->SetOnAnswer([this](const BookedAnswer& answer) {
    if (const std::optional<QString> message = journal_->Record(answer)) ShowWarningAside(this, *message);
  });
  lists_->OnSaved = [this] { history_->Saved(); };
  lists_->OnReplaced = [this] { history_->Restart(); };

  BindEvents();
  try {
    FormCreate();
  } catch (...) {
    // The rest of the creation is skipped; the window still comes up.
    ShowCurrentFailure(nullptr);
  }
  if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

TFTenaxo::~TFTenaxo() {
  // The grid and its model look at the session, the statistics at the journal
  // too, which go before the widget's own children do.
  delete SgListe;
  delete model_;
  delete statistics_;
}

void TFTenaxo::ShowStatistics() {
  if (const std::optional<QString> message = journal_->Open()) ShowWarningAside(this, *message);
  if (!statistics_) statistics_ = new StatisticsWindow(*journal_, session_, this);
  statistics_->Reload();
  statistics_->show();
  statistics_->raise();
  statistics_->activateWindow();
}

// After a reveal, an answer, a new series or a list loaded, the keyboard is on
// the card: Space, Enter, O and N act on the question, never on the control
// that was clicked (the list-name box would take the Space as its text).
void TFTenaxo::FocusCard() { PnFiche->setFocus(); }

void TFTenaxo::PnFicheClick() {
  Run([&] { cycle_->RevealBoth(true); });
  FocusCard();
}
void TFTenaxo::PnQLClick() {
  Run([&] { cycle_->RevealLeft(true); });
  FocusCard();
}
void TFTenaxo::PnQRClick() {
  Run([&] { cycle_->RevealRight(true); });
  FocusCard();
}
void TFTenaxo::BtOuiClick() {
  Run([&] { cycle_->AnswerFound(); }, QStringLiteral("la réponse"), true);
  FocusCard();
}
void TFTenaxo::BtNonClick() {
  Run([&] { cycle_->AnswerNotFound(); }, QStringLiteral("la réponse"), true);
  FocusCard();
}
void TFTenaxo::Button3Click() {
  Run([&] { cycle_->NewSeries(); }, QStringLiteral("la nouvelle série"), true);
  FocusCard();
}
void TFTenaxo::Button4Click() {
  Run(
      [&] {
        if (Confirm(this, QStringLiteral("Remise à zéro des statistiques ?"))) cycle_->ResetStats();
      },
      QStringLiteral("la remise à zéro des statistiques"));
}
void TFTenaxo::Button5Click() {
  // A name refused or a file that cannot be read leaves the keyboard in the
  // name, to correct it.
  QString notice;
  if (Run([&] { notice = lists_->LoadList(); })) {
    FocusCard();
    if (!notice.isEmpty()) ShowNotice(this, notice);
  }
}
void TFTenaxo::BtSauverClick() {
  Run([&] { lists_->SaveList(); });
}
void TFTenaxo::BtDelListeClick() {
  Run([&] { lists_->DeleteList(); });
}
void TFTenaxo::BtViderClick() {
  Run([&] { lists_->ClearList(); }, QStringLiteral("le vidage de la liste"));
}

void TFTenaxo::BindEvents() {
  QuestionCycle& cycle = *cycle_;
  connect(PnFiche, &Panel::clicked, this, &TFTenaxo::PnFicheClick);
  connect(PnQL, &Panel::clicked, this, &TFTenaxo::PnQLClick);
  connect(PnQR, &Panel::clicked, this, &TFTenaxo::PnQRClick);
  connect(BtOui, &QPushButton::clicked, this, &TFTenaxo::BtOuiClick);
  connect(BtNon, &QPushButton::clicked, this, &TFTenaxo::BtNonClick);
  connect(Button3, &QPushButton::clicked, this, &TFTenaxo::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TFTenaxo::Button4Click);
  // A check box runs its handler whenever its state changes, and only then.
  connect(CbVocal, &QCheckBox::toggled, this,
          [this, &cycle](bool checked) { Run([&] { cycle.SetSpeechOn(checked); }); });
  connect(CbFirstLeft, &QCheckBox::toggled, this, [&cycle](bool checked) { cycle.SetLeftFirst(checked); });
  connect(CbVisuListe, &QCheckBox::toggled, this, [this] { CbVisuListeClick(); });
  connect(CbVocal, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { CbVocalMenu()->popup(CbVocal->mapToGlobal(at)); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

  connect(AcImporter, &QAction::triggered, this, [this] { AcImporterClick(); });
  connect(AcExporter, &QAction::triggered, this, [this] { AcExporterClick(); });

  connect(Button5, &QPushButton::clicked, this, &TFTenaxo::Button5Click);
  connect(BtSauver, &QPushButton::clicked, this, &TFTenaxo::BtSauverClick);
  connect(BtDelListe, &QPushButton::clicked, this, &TFTenaxo::BtDelListeClick);
  connect(BtVider, &QPushButton::clicked, this, &TFTenaxo::BtViderClick);

  SgListe->OnSetEditText = [this](int col, int row, const std::string& text) { SgListeSetEditText(col, row, text); };
  SgListe->OnClick = [this] { Run([&] { SgListeClick(); }); };
  SgListe->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) { SgListeKeyDown(key, shift); };
  SgListe->OnMouseUp = [this](Qt::MouseButton button, int x, int y) { Run([&] { SgListeMouseUp(button, x, y); }); };
}

std::string TFTenaxo::ListNameText() const { return ToUtf8(CbListes->currentText()); }

void TFTenaxo::Mirror() {
  const QuestionCycle& cycle = *cycle_;
  MirrorPanel(PnQL, cycle.LeftSide(), QStringLiteral("PnQL"));
  MirrorPanel(PnQR, cycle.RightSide(), QStringLiteral("PnQR"));
  MirrorCard();
  // An answer hides "Oui" and "Non": the keyboard goes back to the card
  // rather than to whatever control follows them.
  if (!cycle.AwaitingAnswer() && PnReponse->isAncestorOf(QApplication::focusWidget())) PnFiche->setFocus();
  PnReponse->setVisible(cycle.AwaitingAnswer());
  // The score at the draw of the pending question; the program's name alone before the first.
  const std::optional<SeriesScore>& score = cycle.ScoreAtDraw();
  setWindowTitle(
      score ? QStringLiteral("Tenaxo - %1 - Réponses justes : %2/%3")
                  .arg(ToQString(score->listName), QString::number(score->found), QString::number(score->asked))
            : QStringLiteral("Tenaxo"));
  SetChecked(CbVocal, cycle.SpeechOn());
  BtSauver->setFont(session_.unsaved ? MarkFont(font()) : font());
  AcAnnuler->setEnabled(history_->CanUndo());
  AcAnnuler->setText(QStringLiteral("&Annuler %1").arg(history_->UndoText()).trimmed());
  AcRetablir->setEnabled(history_->CanRedo());
  AcRetablir->setText(QStringLiteral("&Rétablir %1").arg(history_->RedoText()).trimmed());
  LbNbMots->setText(session_.lineCount < 0 ? QString() : QStringLiteral("%1 Lignes").arg(session_.lineCount));
}

void TFTenaxo::MirrorCard() {
  // While the "Réponse trouvée ?" panel is hidden, the side shown is the
  // question; a reveal leaves the question as it was.
  const QuestionCycle& cycle = *cycle_;
  if (!cycle.AwaitingAnswer() && cycle.LeftSide().hidden != cycle.RightSide().hidden) {
    question_ = cycle.LeftSide().hidden ? PnQR : PnQL;
  }
  QString name = question_ ? question_->Caption() : QString();
  if (name.isEmpty()) name = QStringLiteral("Fiche");
  if (PnFiche->accessibleName() != name) PnFiche->setAccessibleName(name);
  // What the card shows, read out as it changes.
  const QString shown = QStringLiteral("Gauche : %1, Droite : %2").arg(PnQL->Caption(), PnQR->Caption());
  if (PnFiche->accessibleDescription() != shown) PnFiche->setAccessibleDescription(shown);
}

void TFTenaxo::keyPressEvent(QKeyEvent* event) {
  // O and N answer while the card or one of its answer panels has the focus,
  // when "Oui" and "Non" can be clicked.
  QWidget* focus = focusWidget();
  const bool onCard = focus == PnFiche || focus == PnQL || focus == PnQR;
  const bool plain = !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
  QPushButton* answer = event->key() == Qt::Key_O ? BtOui : event->key() == Qt::Key_N ? BtNon : nullptr;
  if (onCard && plain && answer && answer->isVisible()) {
    if (!event->isAutoRepeat()) answer->click();
    return;
  }
  // Enter on a button presses it, as Space does.
  auto* button = qobject_cast<QPushButton*>(focus);
  if (button && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    if (!event->isAutoRepeat()) button->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TFTenaxo::FormCreate() {
  const Settings settings;
  CbListes->setEditText(ToQString(settings.ListName()));
  cycle_->SetSpeechOn(settings.Speech());
  Mirror();
  SetChecked(CbFirstLeft, settings.LeftFirst());  // its handler tells the quiz
  cycle_->SetSpokenLanguage(settings.VoiceLanguage());
  lists_->FillListNames();
  CbVisuListeClick();
}

void TFTenaxo::FormShow() {
  if (lists_->ListFileExists()) {
    QString notice;
    {
      // The grid takes the list once, loaded and ranked: a load starts a new
      // series, whose first question ranks the list.
      const ListModel::Reset reset(*model_);
      notice = lists_->LoadList();
      cycle_->NextQuestion();
    }
    if (!notice.isEmpty()) ShowNotice(this, notice);
  } else if (FAbout) {
    // The first start: this window moves left by half the About window's
    // width, so that the two stand side by side, centred together.
    const QRect screen = this->screen()->availableGeometry();
    move(std::max(screen.left(), x() - FAbout->width() / 2), y());
    ShowAbout();
  }
  const QStringList headers = QStringLiteral("Gauche,Droite,Demandé,Juste,Ratio").split(QLatin1Char(','));
  for (int col = 0; col < headers.size(); ++col) {
    session_.table.SetCell(col, 0, ToUtf8(headers[col]));
  }
  history_->Restart();  // the list as the window shows it first
}

bool TFTenaxo::FormClose() {
  // The list matters more than the settings: a setting that cannot be
  // stored is told once and never keeps the window open.
  try {
    Settings settings;
    settings.SetListName(ListNameText());
    settings.SetSpeech(CbVocal->isChecked());
    settings.SetLeftFirst(CbFirstLeft->isChecked());
    settings.SetVoiceLanguage(cycle_->SpokenLanguage());
  } catch (...) {
    ShowCurrentFailure(this);
  }
  if (!session_.unsaved) return true;
  // Not writing over another list ("Annuler") leaves the answers unsaved as
  // much as a failed save does: both lead to the rescue copy.
  bool saved = false;
  Run([&] { saved = lists_->SaveList() == SaveResult::Saved; });
  if (saved) return true;

  // The list could not be saved: closing anyway keeps a copy.
  const QString folder = QDir::toNativeSeparators(QDir::cleanPath(ListCommands::RescueFolder()));
  if (!Confirm(this,
               QStringLiteral("La liste n'a pas pu être sauvegardée. Quitter quand même ? Une copie sera gardée "
                              "dans « %1 ».")
                   .arg(folder),
               Answers::YesNo)) {
    return false;
  }
  return Run([&] { lists_->SaveRescueCopy(); });
}

void TFTenaxo::CbVisuListeClick() {
  const bool shown = CbVisuListe->isChecked();
  if (!shown && PnRecherche->isVisible()) CloseSearch();
  // A maximized window keeps its size: the card or the list takes the room.
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
    resize(width(), MenuHeight() + kCardHeight + (shown ? kListHeight : 0));
  }
  SgListe->setVisible(shown);
  AcVoirListe->setChecked(shown);
  AcInsererLigne->setEnabled(shown);
  AcSupprimerLigne->setEnabled(shown);
  LayOut();
}

void TFTenaxo::Button1Click() { ShowAbout(); }

void TFTenaxo::ShowAbout() {
  if (FAbout) FAbout->ShowModeless(QRect(PnFiche->mapToGlobal(QPoint(0, 0)), PnFiche->size()));
}

bool TFTenaxo::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    // Taken here and left unaccepted, the key goes to the window's command.
    if (pressed == AcExporter->shortcut() || pressed == AcImporter->shortcut()) return true;
    // In the grid, Ctrl+Z and Ctrl+Maj+Z undo and redo changes to the list,
    // typing included, rather than the line editor's.
    if (watched == SgListe->Editor() && (pressed == AcAnnuler->shortcut() || pressed == AcRetablir->shortcut())) {
      return true;
    }
  }
  if (watched == PnFiche && event->type() == QEvent::Paint && hold_->Holding()) {
    // The picture is on screen once this paint has been flushed, after the
    // events now under way.
    PnFiche->removeEventFilter(this);
    QMetaObject::invokeMethod(
        this, [this] { SpeakHeld(); }, Qt::QueuedConnection);
  }
  return QWidget::eventFilter(watched, event);
}

void TFTenaxo::SpeakHeld() {
  // As for every text: a failure is never shown, speech switches itself off.
  if (hold_->Release()) return;
  cycle_->SetSpeechOn(false);
  Mirror();
}

void TFTenaxo::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  Run([&] { FormShow(); });
}

void TFTenaxo::closeEvent(QCloseEvent* event) {
  // The window stays open, with its changes, until the list is safe: saved,
  // kept in a rescue copy, or without unsaved changes.
  bool close = false;
  Run([&] { close = FormClose(); });
  if (!close) event->ignore();
}

}  // namespace tenaxo
