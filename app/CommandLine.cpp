// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <cstdio>

#include "Version.h"

namespace tenaxo {

namespace {
// The toolkit's options (Qt's, its X11 plugin's and its widgets'), as
// QApplication reads them from the same arguments.
const char* const kToolkitValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry", "geometry", "qwindowicon",
    "icon",     "qwindowtitle",       "title",         "session", "display",         "name",     "visual",
    "style",    "stylesheet",         "qmljsdebugger",
};
const char* const kToolkitFlags[] = {"reverse", "testability", "sync", "nograb", "dograb", "widgetcount"};

CommandLine Fault(const QString& what) {
  CommandLine line;
  line.answer = QStringLiteral("tenaxo : %1. Voir « tenaxo --help ».\n").arg(what);
  line.status = 2;
  return line;
}

// The option as typed, up to its "=": the first argument that names it.
QString Typed(const QStringList& arguments, const QString& name) {
  for (const QString& argument : arguments.mid(1)) {
    if (argument == QLatin1String("--")) break;
    const QString bare = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    if (argument.startsWith(u'-') && bare.section(u'=', 0, 0) == name) return argument.section(u'=', 0, 0);
  }
  return name;
}
}  // namespace

CommandLine ReadCommandLine(const QStringList& arguments, const QString& workingFolder) {
  QCommandLineParser parser;
  // "-reverse" is one of the toolkit's options, not -r -e -v...
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
  parser.addOption(help);
  parser.addOption(version);
  for (const char* name : kToolkitValueOptions) {
    parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("valeur")));
  }
  for (const char* name : kToolkitFlags) parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
  if (!parser.parse(arguments)) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) return Fault(QStringLiteral("option inconnue « %1 »").arg(Typed(arguments, unknown[0])));
    // The only other fault: the last argument, an option without its value.
    return Fault(QStringLiteral("il manque la valeur de l'option « %1 »").arg(arguments.back()));
  }
  CommandLine line;
  if (parser.isSet(help)) {
    line.answer = QStringLiteral(
        "Utilisation : tenaxo [option]\n"
        "  ou :  tenaxo [fichier…]\n"
        "Entraînement par fiches : les associations les moins bien connues reviennent le plus souvent.\n"
        "\n"
        "Options :\n"
        "  -h, --help       affiche cette aide\n"
        "  -v, --version    affiche la version\n"
        "\n"
        "Sans argument, la fenêtre s'ouvre. Chaque fichier donné est ouvert : une liste du dossier\n"
        "des listes (« nom.tnx ») est chargée comme par « Charger », tout autre fichier (texte,\n"
        "CSV, KVTML) est importé comme par Ctrl+I. Si Tenaxo tourne déjà, c'est lui qui les ouvre.\n"
        "Voir aussi « man tenaxo ».\n");
  } else if (parser.isSet(version)) {
    line.answer = QStringLiteral("tenaxo " TENAXO_VERSION "\n");
  }
  const QDir folder(workingFolder);
  for (const QString& file : parser.positionalArguments()) line.files << QDir::cleanPath(folder.absoluteFilePath(file));
  return line;
}

std::optional<QString> CommandLineAnswer(const QStringList& arguments) {
  return ReadCommandLine(arguments, QDir::currentPath()).answer;
}

CommandLine ReadCommandLine(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return ReadCommandLine(arguments, QDir::currentPath());
}

int PrintAnswer(const CommandLine& line) {
  std::FILE* out = line.status == 0 ? stdout : stderr;
  std::fputs(line.answer.value_or(QString()).toLocal8Bit().constData(), out);
  return std::fflush(out) == 0 ? line.status : 1;
}

}  // namespace tenaxo
