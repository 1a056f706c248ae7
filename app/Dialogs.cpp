// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <new>

#include "Errors.h"

namespace tenaxo {

bool Confirm(QWidget* parent, const QString& question, Answers answers) {
  const bool okCancel = answers == Answers::OkCancel;
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmation"), question, QMessageBox::NoButton, parent);
  QPushButton* ok = box.addButton(okCancel ? QStringLiteral("OK") : QStringLiteral("Oui"), QMessageBox::AcceptRole);
  QPushButton* cancel =
      box.addButton(okCancel ? QStringLiteral("Annuler") : QStringLiteral("Non"), QMessageBox::RejectRole);
  box.setDefaultButton(okCancel ? ok : cancel);
  box.exec();
  return box.clickedButton() == ok;
}

QString ErrorText(const QString& message) {
  if (!message.isEmpty() && message.back().unicode() > QChar(u'.').unicode()) return message + QLatin1Char('.');
  return message;
}

void ShowError(QWidget* parent, const QString& message) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), ErrorText(message), QMessageBox::NoButton,
                  parent);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.exec();
}

void ShowNotice(QWidget* parent, const QString& message) {
  QMessageBox box(QMessageBox::Information, QApplication::applicationName(), message, QMessageBox::NoButton, parent);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

void ShowWarningAside(QWidget* parent, const QString& message) {
  auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationName(), message, QMessageBox::Ok, parent);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

void ShowCurrentFailure(QWidget* parent) {
  try {
    throw;
  } catch (const Error& error) {
    ShowError(parent, error.Message());
  } catch (const std::bad_alloc&) {
    ShowError(parent, QStringLiteral("Mémoire insuffisante"));
  } catch (const std::exception& error) {
    // The library's own texts are English and say nothing to the user.
    qWarning("%s", error.what());
    ShowError(parent, QStringLiteral("Erreur inattendue"));
  } catch (...) {
    ShowError(parent, QStringLiteral("Erreur inattendue"));
  }
}

}  // namespace tenaxo
