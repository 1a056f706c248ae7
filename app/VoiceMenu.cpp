// SPDX-License-Identifier: GPL-3.0-or-later
// The menu of a right click on "Synthèse vocale à gauche".
#include <QActionGroup>
#include <QCollator>
#include <QMenu>
#include <algorithm>

#include "QuestionCycle.h"
#include "TFTenaxo.h"

namespace tenaxo {

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

}  // namespace tenaxo
