#include "Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "Errors.h"

namespace tenaxo {

bool Confirm(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmation"), question, QMessageBox::NoButton, parent);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == ok;
}

QString ErrorText(const QString& message) {
  if (!message.isEmpty() && message.back().unicode() > QChar('.').unicode()) return message + QLatin1Char('.');
  return message;
}

void ShowError(QWidget* parent, const QString& message) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), ErrorText(message), QMessageBox::NoButton,
                  parent);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

void ShowCurrentFailure(QWidget* parent) {
  try {
    throw;
  } catch (const Error& error) {
    ShowError(parent, error.Message());
  } catch (const std::exception& error) {
    ShowError(parent, QString::fromLocal8Bit(error.what()));
  } catch (...) {
    ShowError(parent, QStringLiteral("Erreur inattendue"));
  }
}

}  // namespace tenaxo
