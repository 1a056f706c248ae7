// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

class QWidget;

namespace tenaxo {

enum class Answers {
  OkCancel,  // "OK" (the default, Enter) and "Annuler"
  YesNo,     // "Oui" and "Non", "Non" the default
};

// The modal question before a destructive action, in a "Confirmation" box:
// true for "OK" or "Oui"; "Annuler", "Non", Escape or closing the box declines.
bool Confirm(QWidget* parent, const QString& question, Answers answers = Answers::OkCancel);

// A message to read, in an information box with "OK".
void ShowNotice(QWidget* parent, const QString& message);

// A failure, in the error box with the stop icon and "OK". A period ends the
// message when its last character comes after "." in the character table.
void ShowError(QWidget* parent, const QString& message);
QString ErrorText(const QString& message);

// A warning that leaves the window usable: a box with the warning icon and
// "OK", not modal, gone when closed.
void ShowWarningAside(QWidget* parent, const QString& message);

// The failure being handled, in the error box; called inside a catch block.
void ShowCurrentFailure(QWidget* parent);

}  // namespace tenaxo
