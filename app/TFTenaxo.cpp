#include "TFTenaxo.h"

#include <QCheckBox>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCollator>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "Dialogs.h"
#include "EspeakVoice.h"
#include "Fonts.h"
#include "ListCommands.h"
#include "ListFiles.h"
#include "ListModel.h"
#include "Outils.h"
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

void MirrorPanel(Panel* panel, const AnswerPanel& state) {
  panel->SetCaption(AnsiToQString(state.Caption));
  panel->SetColor(state.Color == PanelColor::White ? kWhite : kSilver);
}

void SetChecked(QCheckBox* box, bool checked) {
  if (box->isChecked() != checked) box->setChecked(checked);
}
}  // namespace

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

  cycle_ = std::make_unique<QuestionCycle>(session_, voices ? std::move(voices) : EspeakVoices(),
                                           [this](const QString& question) { return Confirm(this, question); });
  cycle_->SetBeforeSpeak([this] {
    Mirror();
    PnFiche->repaint();
  });
  ListWindow window;
  window.ListName = [this] { return ListNameText(); };
  window.Confirm = [this](const QString& question) { return Confirm(this, question); };
  window.SetListNames = [this](const QStringList& names) {
    const QString text = CbListes->currentText();
    CbListes->clear();
    CbListes->addItems(names);
    CbListes->setEditText(text);
  };
  window.ClearListName = [this] { CbListes->setEditText(QString()); };
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
  model_ = new ListModel(session_.SgListe, this);
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
  BtOui = Button(PnReponse, QStringLiteral("Oui"), 19, 17, 75, 25);
  BtNon = Button(PnReponse, QStringLiteral("Non"), 100, 17, 75, 25);

  const QFont italic = UiFont(13, false, true);
  Label10 = Label(PnFiche, QStringLiteral("Liste"), 4, 6, 36, 16, italic);
  LbNbMots = Label(PnFiche, QString(), 272, 6, 127, 16, italic);

  Button3 = Button(PnFiche, QStringLiteral("Nouvelle série de question"), 8, 72, 211, 36);
  CbVisuListe = CheckBox(PnFiche, QStringLiteral("Voir la liste"), 474, 7, 97, 17);

  CbListes = new QComboBox(PnFiche);
  CbListes->setGeometry(48, 3, 218, 24);
  CbListes->setEditable(true);
  CbListes->setInsertPolicy(QComboBox::NoInsert);
  CbListes->setMaxVisibleItems(8);
  CbListes->setFont(italic);
  CbListes->completer()->setCompletionMode(QCompleter::InlineCompletion);
  CbListes->completer()->setCaseSensitivity(Qt::CaseInsensitive);
  CbListes->setEditText(QStringLiteral("CbListes"));

  BtDelListe = Button(PnFiche, QStringLiteral("Supprimer"), 147, 117, 64, 25);
  BtSauver = Button(PnFiche, QStringLiteral("Sauver"), 77, 117, 64, 25);
  Button5 = Button(PnFiche, QStringLiteral("Charger"), 7, 117, 64, 25);
  BtVider = Button(PnFiche, QStringLiteral("Vider liste"), 224, 117, 64, 25);
  Button4 = Button(PnFiche, QStringLiteral("RAZ Statistiques"), 291, 117, 87, 25);
  CbFirstLeft = CheckBox(PnFiche, QStringLiteral("Montrer à gauche en premier"), 473, 73, 161, 17);
  Button1 = Button(PnFiche, QStringLiteral("A propos"), 574, 5, 60, 20);
  CbVocal = CheckBox(PnFiche, QStringLiteral("Synthèse vocale à gauche"), 474, 96, 161, 17);
  CbVocal->setChecked(true);  // as designed; the stored setting decides at start
  CbVocal->setContextMenuPolicy(Qt::CustomContextMenu);

  // Keyboard order: the grid first, then the card's controls.
  QWidget* order[] = {SgListe, BtOui,   BtNon,   Button3, CbVisuListe, CbListes, BtDelListe,
                      BtSauver, Button5, BtVider, Button4, CbFirstLeft, Button1,  CbVocal};
  for (size_t k = 1; k < sizeof(order) / sizeof(order[0]); ++k) setTabOrder(order[k - 1], order[k]);
}

void TFTenaxo::BindEvents() {
  QuestionCycle& cycle = *cycle_;
  connect(PnFiche, &Panel::clicked, this, [this, &cycle] { Run([&] { cycle.PnFicheClick(true); }); });
  connect(PnQL, &Panel::clicked, this, [this, &cycle] { Run([&] { cycle.PnQLClick(true); }); });
  connect(PnQR, &Panel::clicked, this, [this, &cycle] { Run([&] { cycle.PnQRClick(true); }); });
  connect(BtOui, &QPushButton::clicked, this, [this, &cycle] { Run([&] { cycle.BtOuiClick(); }); });
  connect(BtNon, &QPushButton::clicked, this, [this, &cycle] { Run([&] { cycle.BtNonClick(); }); });
  connect(Button3, &QPushButton::clicked, this, [this, &cycle] { Run([&] { cycle.Button3Click(); }); });
  connect(Button4, &QPushButton::clicked, this, [this, &cycle] { Run([&] { cycle.Button4Click(); }); });
  // A check box runs its handler whenever its state changes, and only then.
  connect(CbVocal, &QCheckBox::toggled, this, [this, &cycle](bool checked) { Run([&] { cycle.SetCbVocal(checked); }); });
  connect(CbFirstLeft, &QCheckBox::toggled, this, [&cycle](bool checked) { cycle.SetCbFirstLeft(checked); });
  connect(CbVisuListe, &QCheckBox::toggled, this, [this] { CbVisuListeClick(); });
  connect(CbVocal, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { CbVocalMenu()->popup(CbVocal->mapToGlobal(at)); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

  ListCommands& lists = *lists_;
  connect(Button5, &QPushButton::clicked, this, [this, &lists] { Run([&] { lists.Button5Click(); }); });
  connect(BtSauver, &QPushButton::clicked, this, [this, &lists] { Run([&] { lists.BtSauverClick(); }); });
  connect(BtDelListe, &QPushButton::clicked, this, [this, &lists] { Run([&] { lists.BtDelListeClick(); }); });
  connect(BtVider, &QPushButton::clicked, this, [this, &lists] { Run([&] { lists.BtViderClick(); }); });

  SgListe->OnSetEditText = [this](int col, int row, const AnsiString& text) { SgListeSetEditText(col, row, text); };
  SgListe->OnClick = [this] { Run([&] { SgListeClick(); }); };
  SgListe->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) { SgListeKeyDown(key, shift); };
  SgListe->OnMouseUp = [this](Qt::MouseButton button, int x, int y) {
    Run([&] { SgListeMouseUp(button, x, y); });
  };
}

AnsiString TFTenaxo::ListNameText() const { return Utf8(CbListes->currentText()); }

void TFTenaxo::Mirror() {
  const QuestionCycle& cycle = *cycle_;
  MirrorPanel(PnQL, cycle.PnQL());
  MirrorPanel(PnQR, cycle.PnQR());
  PnReponse->setVisible(cycle.PnReponseVisible());
  setWindowTitle(cycle.Title());
  SetChecked(CbVocal, cycle.CbVocal());
  SetChecked(CbFirstLeft, cycle.CbFirstLeft());
  QFont bold = BtSauver->font();
  bold.setBold(session_.Unsaved);
  BtSauver->setFont(bold);
  LbNbMots->setText(AnsiToQString(session_.LbNbMots));
}

void TFTenaxo::FormCreate() {
  AnsiString value;
  ReadRegString(RegRoot::CurrentUser(), "Tenaxo\\Liste", value);
  CbListes->setEditText(AnsiToQString(value));
  ReadRegString(RegRoot::CurrentUser(), "Tenaxo\\Vocal", value);
  cycle_->SetCbVocal(TextToBool(value));
  Mirror();
  ReadRegString(RegRoot::CurrentUser(), "Tenaxo\\Gauche", value);
  SetChecked(CbFirstLeft, TextToBool(value));
  cycle_->SetCbFirstLeft(CbFirstLeft->isChecked());
  ReadRegString(RegRoot::CurrentUser(), "Tenaxo\\Voix", value);
  cycle_->SetSpokenLanguage(value);
  lists_->FillListNames();
  session_.FListName.clear();
  session_.FAskedCount = 0;
  session_.FFoundCount = 0;
  session_.FEditedRow = 0;
  session_.FSortCol = 0;  // so the first click on Gauche sorts descending
  session_.FQuestionRow = 0;
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
    session_.SgListe.SetCell(col, 0, Utf8(headers[col]));
  }
}

void TFTenaxo::FormClose() {
  WriteRegString(RegRoot::CurrentUser(), "Tenaxo\\Liste", ListNameText());
  WriteRegString(RegRoot::CurrentUser(), "Tenaxo\\Vocal", BoolToText(CbVocal->isChecked()));
  WriteRegString(RegRoot::CurrentUser(), "Tenaxo\\Gauche", BoolToText(CbFirstLeft->isChecked()));
  WriteRegString(RegRoot::CurrentUser(), "Tenaxo\\Voix", cycle_->SpokenLanguage());
  if (session_.Unsaved) lists_->BtSauverClick();
}

void TFTenaxo::CbVisuListeClick() {
  const bool shown = CbVisuListe->isChecked();
  resize(width(), PnFiche->height() + (shown ? kListHeight : 0));
  SgListe->setVisible(shown);
}

void TFTenaxo::Button1Click() {
  if (FAbout) FAbout->ShowModeless();
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
    return collator.compare(AnsiToQString(a.Name), AnsiToQString(b.Name)) < 0;
  });
  for (const VoiceLanguage& language : languages) add(AnsiToQString(language.Name), language.Code);
  // A language no longer installed is spoken by the default voice.
  if (!group->checkedAction()) group->actions().front()->setChecked(true);
  return menu;
}

void TFTenaxo::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  Run([&] { FormShow(); });
}

void TFTenaxo::closeEvent(QCloseEvent* event) {
  // After a failure the list is not lost: the window stays open with its
  // changes.
  if (Run([&] { FormClose(); })) {
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
