// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One running copy per user and settings file. The first copy listens on a
// local socket; a later one finds it there, asks it to come to the front and
// to open the later one's files, and ends. A socket or lock that a crashed
// copy left behind never stops a start.
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QLocalServer;

namespace tenaxo {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // The name is made from the user and the settings file, so copies with
  // settings of their own (tests) never meet.
  explicit SingleInstance(const QString& settingsFile, QObject* parent = nullptr);
  ~SingleInstance() override;

  // True for the first copy, which then listens for later ones. Otherwise
  // the running copy has been asked to come to the front and open the files
  // (absolute paths), and false.
  bool Claim(const QStringList& files = {});

  // The socket's path.
  QString Name() const { return name_; }

 signals:
  // A later copy was started, with these files to open (none when it sent
  // no list of them).
  void Activated(const QStringList& files);

 private:
  QString name_;
  QLockFile lock_;
  QLocalServer* server_ = nullptr;
};

// Removes what saves killed half-way left beside the lists and the rescue
// copies before the program started; for the one running copy only.
void RemoveLeftovers(qint64 startedSecs);

// Brings the window to the front, also from minimised.
void BringToFront(class QWidget* window);

}  // namespace tenaxo
