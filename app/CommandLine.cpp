// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>
#include <cstdio>

#include "Version.h"

namespace tenaxo {

std::optional<QString> CommandLineAnswer(const QStringList& arguments) {
  QCommandLineParser parser;
  // "-reverse" is one of the toolkit's options, not -r -e -v...
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
  parser.addOption(help);
  parser.addOption(version);
  parser.parse(arguments);  // unknown options are the toolkit's
  if (parser.isSet(help)) {
    return QStringLiteral(
        "Utilisation : tenaxo [option]\n"
        "Entraînement par fiches : les associations les moins bien connues reviennent le plus souvent.\n"
        "\n"
        "Options :\n"
        "  -h, --help       affiche cette aide\n"
        "  -v, --version    affiche la version\n"
        "\n"
        "Sans option, la fenêtre s'ouvre. Voir aussi « man tenaxo ».\n");
  }
  if (parser.isSet(version)) return QStringLiteral("tenaxo " TENAXO_VERSION "\n");
  return std::nullopt;
}

std::optional<int> RunCommandLine(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const std::optional<QString> answer = CommandLineAnswer(arguments);
  if (!answer) return std::nullopt;
  std::fputs(answer->toLocal8Bit().constData(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tenaxo
