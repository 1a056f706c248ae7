#include "TFTenaxo.h"

#include <QAccessible>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCollator>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

#include "Dialogs.h"
#include "Errors.h"
#include "EspeakVoice.h"
#include "ExportList.h"
#include "Fonts.h"
#include "ListCommands.h"
#include "ListFiles.h"
#include "ListModel.h"
#include "QuestionCycle.h"
#include "Settings.h"
#include "SgListe.h"
#include "TFAbout.h"
#include "Widgets.h"

namespace tenaxo {

namespace {
constexpr int kCardHeight = 148;
constexpr int kListHeight = 300;
constexpr int kClientWidth = 642;
const QColor kSkyBlue(166, 202, 240);
const QColor kWhite(255, 255, 255);
const QColor kSilver(192, 192, 192);

QPushButton* Button(QWidget* parent, const QString& caption, int x, int y, int w, int h) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(x, y, w, h);
  button->setAutoDefault(false);
  return button;
}

QCheckBox* CheckBox(QWidget* parent, const QString& caption, int x, int y, int w, int h) {
  auto* box = new QCheckBox(caption, parent);
  box->setGeometry(x, y, w, h);
  return box;
}

StaticLabel* Label(QWidget* parent, const QString& caption, int x, int y, int w, int h, const QFont& font) {
  auto* label = new StaticLabel(caption, parent);
  label->setGeometry(x, y, w, h);
  label->setFont(font);
  return label;
}

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

// A voice that keeps the text it is given until the window has been painted
// for the first time: the window comes up at once and the first word is
// heard with the card on screen. From then on it speaks at once.
class TFTenaxo::HeldVoice : public Voice {
 public:
  HeldVoice(std::unique_ptr<Voice> voice, std::shared_ptr<SpeechHold> hold)
      : voice_(std::move(voice)), hold_(std::move(hold)) {
    hold_->voice = this;
  }
  ~HeldVoice() override {
    if (hold_->voice == this) hold_->voice = nullptr;
  }
  bool Speak(const std::string& text, const std::string& language) override {
    if (!hold_->holding) return voice_->Speak(text, language);
    hold_->pending = true;
    hold_->text = text;
    hold_->language = language;
    return true;
  }
  bool SpeakNow(const std::string& text, const std::string& language) { return voice_->Speak(text, language); }

 private:
  std::unique_ptr<Voice> voice_;
  std::shared_ptr<SpeechHold> hold_;
};

// A failure stops here, in the error box: it never unwinds through the
// toolkit's frames that called the handler, which would skip their cleanup.
template <typename F>
bool TFTenaxo::Run(F&& handler) {
  try {
    handler();
  } catch (...) {
    Mirror();
    ShowCurrentFailure(this);
    return false;
  }
  Mirror();
  return true;
}

TFTenaxo::TFTenaxo(VoiceFactory voices, VoiceLanguages languages)
    : QWidget(nullptr), languages_(languages ? std::move(languages) : EspeakLanguages) {
  setWindowTitle(QStringLiteral("Tenaxo"));
  setFont(UiFont(11));
  CreateControls();
  resize(kClientWidth, 476);

  VoiceFactory made = voices ? std::move(voices) : EspeakVoices();
  VoiceFactory held = [made = std::move(made), hold = hold_]() -> std::unique_ptr<Voice> {
    std::unique_ptr<Voice> voice = made();
    if (!voice) return nullptr;
    return std::make_unique<HeldVoice>(std::move(voice), hold);
  };
  cycle_ = std::make_unique<QuestionCycle>(session_, std::move(held));
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

  BindEvents();
  try {
    FormCreate();
  } catch (...) {
    // The rest of the creation is skipped; the window still comes up.
    ShowCurrentFailure(nullptr);
  }
  Mirror();
  if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

TFTenaxo::~TFTenaxo() {
  // The grid and its model look at the session, which goes before the
  // widget's own children do.
  delete SgListe;
  delete model_;
}

void TFTenaxo::CreateControls() {
  model_ = new ListModel(session_.table, this);
  SgListe = new ListGrid(model_, this);

  PnFiche = new Panel(this, Bevel::Raised, Bevel::None, 1);
  PnFiche->setGeometry(0, 0, kClientWidth, kCardHeight);

  const QFont panelFont = UiFont(13, true);
  PnQR = new Panel(PnFiche, Bevel::Raised, Bevel::Lowered, 2);
  PnQR->setGeometry(321, 29, 320, 38);
  PnQR->setFont(panelFont);
  PnQL = new Panel(PnFiche, Bevel::Raised, Bevel::Lowered, 2);
  PnQL->setGeometry(1, 29, 320, 38);
  PnQL->setFont(panelFont);

  PnReponse = new Panel(PnFiche, Bevel::Raised, Bevel::None, 1);
  PnReponse->setGeometry(224, 70, 192, 45);
  PnReponse->SetColor(kSkyBlue);
  Label1 = Label(PnReponse, QStringLiteral("Réponse trouvée ?"), 5, 2, 120, 13, font());
  BtOui = Button(PnReponse, QStringLiteral("&Oui"), 19, 17, 75, 25);
  BtNon = Button(PnReponse, QStringLiteral("&Non"), 100, 17, 75, 25);

  const QFont italic = UiFont(13, false, true);
  Label10 = Label(PnFiche, QStringLiteral("&Liste"), 4, 6, 36, 16, italic);
  LbNbMots = Label(PnFiche, QString(), 272, 6, 127, 16, italic);

  Button3 = Button(PnFiche, QStringLiteral("Nouvelle série de &question"), 8, 72, 211, 36);
  CbVisuListe = CheckBox(PnFiche, QStringLiteral("&Voir la liste"), 474, 7, 97, 17);

  CbListes = new QComboBox(PnFiche);
  CbListes->setGeometry(48, 3, 218, 24);
  CbListes->setEditable(true);
  CbListes->setInsertPolicy(QComboBox::NoInsert);
  CbListes->setMaxVisibleItems(8);
  CbListes->setFont(italic);
  CbListes->completer()->setCompletionMode(QCompleter::InlineCompletion);
  CbListes->completer()->setCaseSensitivity(Qt::CaseInsensitive);
  CbListes->setEditText(QStringLiteral("CbListes"));

  BtDelListe = Button(PnFiche, QStringLiteral("Su&pprimer"), 147, 117, 64, 25);
  BtSauver = Button(PnFiche, QStringLiteral("&Sauver"), 77, 117, 64, 25);
  Button5 = Button(PnFiche, QStringLiteral("&Charger"), 7, 117, 64, 25);
  BtVider = Button(PnFiche, QStringLiteral("Vi&der liste"), 224, 117, 64, 25);
  Button4 = Button(PnFiche, QStringLiteral("&RAZ Statistiques"), 291, 117, 87, 25);
  CbFirstLeft = CheckBox(PnFiche, QStringLiteral("&Montrer à gauche en premier"), 473, 73, 161, 17);
  Button1 = Button(PnFiche, QStringLiteral("&A propos"), 574, 5, 60, 20);
  CbVocal = CheckBox(PnFiche, QStringLiteral("Synthèse vocale à &gauche"), 474, 96, 161, 17);
  CbVocal->setChecked(true);  // as designed; the stored setting decides at start
  CbVocal->setContextMenuPolicy(Qt::CustomContextMenu);
  AcImporter = new QAction(QStringLiteral("Importer des listes…"), this);
  AcImporter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  AcExporter = new QAction(QStringLiteral("Exporter la liste…"), this);
  AcExporter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  addActions({AcImporter, AcExporter});
  setAcceptDrops(true);
  fileFolder_ = QDir::homePath();

  // The keyboard: the card takes the focus at start, Space or Enter on it
  // (or on one of its answer panels) reveals, as a click does; Tab goes
  // through the controls in reading order, the list last.
  for (Panel* panel : {PnFiche, PnQL, PnQR}) panel->setFocusPolicy(Qt::StrongFocus);
  Label10->setBuddy(CbListes);
  QWidget* order[] = {PnFiche,     CbListes, CbVisuListe, Button1,  PnQL,       PnQR,    Button3, BtOui,  BtNon,
                      CbFirstLeft, CbVocal,  Button5,     BtSauver, BtDelListe, BtVider, Button4, SgListe};
  for (size_t k = 1; k < sizeof(order) / sizeof(order[0]); ++k) setTabOrder(order[k - 1], order[k]);
  PnFiche->setFocus();

  // What a screen reader says; the card's name is its question (Mirror).
  PnQL->setAccessibleName(QStringLiteral("Gauche"));
  PnQR->setAccessibleName(QStringLiteral("Droite"));
  PnReponse->setAccessibleName(QStringLiteral("Réponse trouvée ?"));
  // On Linux Qt names a list box by its text and reads the label's name
  // through the buddy relation; other platforms take this name.
  CbListes->setAccessibleName(QStringLiteral("Liste"));
  SgListe->setAccessibleName(QStringLiteral("Liste des associations"));
}

void TFTenaxo::BindEvents() {
  QuestionCycle& cycle = *cycle_;
  connect(PnFiche, &Panel::clicked, this, [this, &cycle] { Run([&] { cycle.RevealBoth(true); }); });
  connect(PnQL, &Panel::clicked, this, [this, &cycle] { Run([&] { cycle.RevealLeft(true); }); });
  connect(PnQR, &Panel::clicked, this, [this, &cycle] { Run([&] { cycle.RevealRight(true); }); });
  connect(BtOui, &QPushButton::clicked, this, [this, &cycle] { Run([&] { cycle.AnswerFound(); }); });
  connect(BtNon, &QPushButton::clicked, this, [this, &cycle] { Run([&] { cycle.AnswerNotFound(); }); });
  connect(Button3, &QPushButton::clicked, this, [this, &cycle] { Run([&] { cycle.NewSeries(); }); });
  connect(Button4, &QPushButton::clicked, this, [this, &cycle] {
    Run([&] {
      if (Confirm(this, QStringLiteral("Remise à zéro des statistiques ?"))) cycle.ResetStats();
    });
  });
  // A check box runs its handler whenever its state changes, and only then.
  connect(CbVocal, &QCheckBox::toggled, this,
          [this, &cycle](bool checked) { Run([&] { cycle.SetSpeechOn(checked); }); });
  connect(CbFirstLeft, &QCheckBox::toggled, this, [&cycle](bool checked) { cycle.SetLeftFirst(checked); });
  connect(CbVisuListe, &QCheckBox::toggled, this, [this] { CbVisuListeClick(); });
  connect(CbVocal, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { CbVocalMenu()->popup(CbVocal->mapToGlobal(at)); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, Button1, &QPushButton::click);
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this), &QShortcut::activated, BtSauver,
          &QPushButton::click);

  connect(AcImporter, &QAction::triggered, this, [this] { AcImporterClick(); });
  connect(AcExporter, &QAction::triggered, this, [this] { AcExporterClick(); });

  ListCommands& lists = *lists_;
  connect(Button5, &QPushButton::clicked, this, [this, &lists] { Run([&] { lists.LoadList(); }); });
  connect(BtSauver, &QPushButton::clicked, this, [this, &lists] { Run([&] { lists.SaveList(); }); });
  connect(BtDelListe, &QPushButton::clicked, this, [this, &lists] { Run([&] { lists.DeleteList(); }); });
  connect(BtVider, &QPushButton::clicked, this, [this, &lists] { Run([&] { lists.ClearList(); }); });

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
  SetChecked(CbFirstLeft, cycle.LeftFirst());
  BtSauver->setFont(session_.unsaved ? MarkFont(font()) : font());
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
  QWidget::keyPressEvent(event);
}

void TFTenaxo::FormCreate() {
  std::string value;
  ReadSetting(SettingsFile::CurrentUser(), "Tenaxo\\Liste", value);
  CbListes->setEditText(ToQString(value));
  ReadSetting(SettingsFile::CurrentUser(), "Tenaxo\\Vocal", value);
  cycle_->SetSpeechOn(TextToBool(value));
  Mirror();
  ReadSetting(SettingsFile::CurrentUser(), "Tenaxo\\Gauche", value);
  SetChecked(CbFirstLeft, TextToBool(value));
  cycle_->SetLeftFirst(CbFirstLeft->isChecked());
  ReadSetting(SettingsFile::CurrentUser(), "Tenaxo\\Voix", value);
  cycle_->SetSpokenLanguage(value);
  lists_->FillListNames();
  session_.listName.clear();
  session_.ResetSeries();
  session_.editedRow = 0;
  session_.sortColumn = 0;  // so the first click on Gauche sorts descending
  session_.questionRow = 0;
  CbVisuListeClick();
}

void TFTenaxo::FormShow() {
  if (lists_->ListFileExists()) {
    lists_->LoadList();
    cycle_->ComputeRatios();
    cycle_->NextQuestion();
  } else if (FAbout) {
    FAbout->ShowModeless();
  }
  const QStringList headers = QStringLiteral("Gauche,Droite,Demandé,Juste,Ratio").split(QLatin1Char(','));
  for (int col = 0; col < headers.size(); ++col) {
    session_.table.SetCell(col, 0, ToUtf8(headers[col]));
  }
}

bool TFTenaxo::FormClose() {
  // The list matters more than the settings: a setting that cannot be
  // stored is told once and never keeps the window open.
  try {
    WriteSetting(SettingsFile::CurrentUser(), "Tenaxo\\Liste", ListNameText());
    WriteSetting(SettingsFile::CurrentUser(), "Tenaxo\\Vocal", BoolToText(CbVocal->isChecked()));
    WriteSetting(SettingsFile::CurrentUser(), "Tenaxo\\Gauche", BoolToText(CbFirstLeft->isChecked()));
    WriteSetting(SettingsFile::CurrentUser(), "Tenaxo\\Voix", cycle_->SpokenLanguage());
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
  resize(width(), PnFiche->height() + (shown ? kListHeight : 0));
  SgListe->setVisible(shown);
}

void TFTenaxo::Button1Click() {
  if (FAbout) FAbout->ShowModeless();
}

bool TFTenaxo::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    // Taken here and left unaccepted, the key goes to the window's command.
    if (pressed == AcExporter->shortcut() || pressed == AcImporter->shortcut()) return true;
  }
  if (watched == PnFiche && event->type() == QEvent::Paint && hold_->holding) {
    // The picture is on screen once this paint has been flushed, after the
    // events now under way.
    PnFiche->removeEventFilter(this);
    QMetaObject::invokeMethod(
        this, [this] { SpeakHeld(); }, Qt::QueuedConnection);
  }
  return QWidget::eventFilter(watched, event);
}

void TFTenaxo::SpeakHeld() {
  hold_->holding = false;
  if (!hold_->pending) return;
  hold_->pending = false;
  bool spoken = false;
  try {
    spoken = hold_->voice->SpeakNow(hold_->text, hold_->language);
  } catch (...) {
    spoken = false;
  }
  // As for every text: a failure is never shown, speech switches itself off.
  if (!spoken) {
    cycle_->SetSpeechOn(false);
    Mirror();
  }
}

QMenu* TFTenaxo::CbVocalMenu() {
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  auto* group = new QActionGroup(menu);
  const auto add = [&](const QString& name, const std::string& code) {
    QAction* action = menu->addAction(name);
    action->setCheckable(true);
    action->setChecked(code == cycle_->SpokenLanguage());
    action->setActionGroup(group);
    connect(action, &QAction::triggered, this, [this, code] { cycle_->SetSpokenLanguage(code); });
  };
  add(QStringLiteral("Anglais (voix par défaut)"), std::string());
  menu->addSeparator();
  std::vector<VoiceLanguage> languages;
  try {
    languages = languages_();
  } catch (...) {
    // No engine: the default voice alone.
  }
  QCollator collator(QLocale::system());
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(languages.begin(), languages.end(), [&](const VoiceLanguage& a, const VoiceLanguage& b) {
    return collator.compare(ToQString(a.Name), ToQString(b.Name)) < 0;
  });
  for (const VoiceLanguage& language : languages) add(ToQString(language.Name), language.Code);
  // A language no longer installed is spoken by the default voice.
  if (!group->checkedAction()) group->actions().front()->setChecked(true);
  return menu;
}

void TFTenaxo::AcImporterClick() {
  QFileDialog dialog(this, QStringLiteral("Importer des listes"), fileFolder_);
  // The same dialog on every desktop, driven from the keyboard alike.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters({QStringLiteral("Listes d'autres programmes (*.txt *.tsv *.csv *.kvtml)"),
                         QStringLiteral("Tous les fichiers (*)")});
  if (dialog.exec() != QDialog::Accepted) return;
  fileFolder_ = dialog.directory().absolutePath();
  ImportFiles(dialog.selectedFiles());
}

void TFTenaxo::ImportFiles(const QStringList& files) {
  if (files.isEmpty()) return;
  std::vector<ImportReport> reports;
  bool made = false;
  const bool done = Run([&] {
    reports = lists_->ImportFiles(files);
    made = std::any_of(reports.begin(), reports.end(),
                       [](const ImportReport& report) { return !report.listName.isEmpty(); });
    // The list loaded is ranked and asked, as the one loaded at start.
    if (made) {
      cycle_->ComputeRatios();
      cycle_->NextQuestion();
    }
  });
  if (!done) return;
  QMessageBox box(made ? QMessageBox::Information : QMessageBox::Warning, QStringLiteral("Importer des listes"),
                  ListCommands::ImportSummary(reports), QMessageBox::NoButton, this);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

void TFTenaxo::AcExporterClick() {
  QString name = CbListes->currentText();
  name.replace(u'\\', u'_').replace(u'/', u'_');
  if (name.isEmpty()) name = QStringLiteral("Liste");
  QFileDialog dialog(this, QStringLiteral("Exporter la liste"),
                     QDir(fileFolder_).filePath(name + QStringLiteral(".txt")));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QString kvtml = QStringLiteral("KVTML 2.0, Parley et KWordQuiz (*.kvtml)");
  dialog.setNameFilters({QStringLiteral("Texte séparé par des tabulations, UTF-8 (*.txt *.tsv)"), kvtml});
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, kvtml](const QString& filter) {
    dialog.setDefaultSuffix(filter == kvtml ? QStringLiteral("kvtml") : QStringLiteral("txt"));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  fileFolder_ = dialog.directory().absolutePath();
  const QString path = dialog.selectedFiles().front();
  Run([&] { ExportList(session_.table, path); });
}

void TFTenaxo::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
    event->acceptProposedAction();
  }
}

void TFTenaxo::dropEvent(QDropEvent* event) {
  QStringList files;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  // The boxes come once the drop is over: the program the files came from
  // is not kept waiting for them.
  QMetaObject::invokeMethod(
      this, [this, files] { ImportFiles(files); }, Qt::QueuedConnection);
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
  if (close) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TFTenaxo::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

void TFTenaxo::LayOut() {
  PnFiche->setGeometry(0, 0, width(), kCardHeight);
  SgListe->setGeometry(0, kCardHeight, width(), std::max(0, height() - kCardHeight));
}

}  // namespace tenaxo
