// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// French and English locales for tests and fuzzers, whatever the machine's own settings are.
#include <QLocale>

#include "TextLocale.h"

namespace tenaxo::test {

inline const TextLocale& French() {
  static const TextLocale locale{QLocale(QLocale::French, QLocale::France)};
  return locale;
}
inline const TextLocale& English() {
  static const TextLocale locale{QLocale(QLocale::English, QLocale::UnitedStates)};
  return locale;
}

}  // namespace tenaxo::test
