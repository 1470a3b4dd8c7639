#include "app/CommandLineOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace orv {

namespace {

const QString kSimulate = QStringLiteral("simulate");
const QString kMidiApi = QStringLiteral("midi-api");
const QString kScreenshot = QStringLiteral("screenshot");
const QString kListPorts = QStringLiteral("list-ports");
const QString kScreenshotDialog = QStringLiteral("dialog");

// Every option, once: the parser, the help text and the manual page come from this list.
const QList<QCommandLineOption>& declaredOptions() {
  static const QList<QCommandLineOption> options{
      {kSimulate,
       QStringLiteral("play against the built-in amplifier simulator, model 0..4 (default 1)"),
       QStringLiteral("0..4")},
      {kMidiApi, QStringLiteral("the MIDI service to use (default: ALSA, then JACK)"),
       QStringLiteral("alsa|jack")},
      {kScreenshot, QStringLiteral("write the window as a PNG once the panel is up, then quit"),
       QStringLiteral("FILE")},
      {kScreenshotDialog,
       QStringLiteral("with --screenshot: picture this dialog instead of the window (%1)")
           .arg(CommandLineOptions::screenshotDialogs().join(QStringLiteral(", "))),
       QStringLiteral("NAME")},
      {kListPorts,
       QStringLiteral("print the MIDI input and output devices (\"in NAME\", \"out NAME\")")},
      {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("show this text")},
      {QStringLiteral("version"), QStringLiteral("show the version")},
  };
  return options;
}

// "--simulate" alone picks the default model; the parser wants every value spelled out.
QStringList withDefaultModel(const QStringList& arguments) {
  QStringList out;
  bool optionsEnded = false;
  for (const QString& arg : arguments) {
    optionsEnded = optionsEnded || arg == u"--";
    out << (!optionsEnded && arg == u"--simulate" ? QStringLiteral("--simulate=1") : arg);
  }
  return out;
}

// The values the parser accepted, checked against what each option allows.
void readValues(const QCommandLineParser& parser, CommandLineOptions& o) {
  if (parser.isSet(kSimulate)) {
    const QString value = parser.value(kSimulate);
    if (value.size() == 1 && value[0] >= u'0' && value[0] <= u'4')
      o.simulateModel = char(value[0].unicode());
    else
      o.error = QStringLiteral("--simulate takes a model from 0 to 4, not '%1'").arg(value);
  }
  if (parser.isSet(kMidiApi)) {
    o.midiApi = parser.value(kMidiApi);
    if (o.midiApi != u"alsa" && o.midiApi != u"jack")
      o.error = QStringLiteral("--midi-api takes alsa or jack, not '%1'").arg(o.midiApi);
  }
  if (parser.isSet(kScreenshot)) {
    o.screenshot = parser.value(kScreenshot);
    if (o.screenshot.isEmpty()) o.error = QStringLiteral("--screenshot needs a file name");
  }
  if (parser.isSet(kScreenshotDialog)) {
    o.screenshotDialog = parser.value(kScreenshotDialog);
    if (!CommandLineOptions::screenshotDialogs().contains(o.screenshotDialog))
      o.error = QStringLiteral("--dialog takes one of %1, not '%2'")
                    .arg(CommandLineOptions::screenshotDialogs().join(QStringLiteral(", ")),
                         o.screenshotDialog);
    else if (!parser.isSet(kScreenshot))
      o.error = QStringLiteral("--dialog needs --screenshot FILE");
  }
}

// One option's names as the help shows them: "-h, --help", "--midi-api <alsa|jack>",
// "--simulate[=0..4]".
QString optionSynopsis(const QCommandLineOption& option) {
  QStringList names;
  for (const QString& name : option.names())
    names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
  QString text = names.join(QStringLiteral(", "));
  // --simulate's model may be left out, so it can only follow an '='.
  if (option.names().contains(kSimulate))
    text += QStringLiteral("[=%1]").arg(option.valueName());
  else if (!option.valueName().isEmpty())
    text += QStringLiteral(" <%1>").arg(option.valueName());
  return text;
}

}  // namespace

CommandLineOptions CommandLineOptions::parse(const QStringList& arguments) {
  CommandLineOptions o;
  QCommandLineParser parser;
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
  parser.addOptions(declaredOptions());
  if (!parser.parse(withDefaultModel(arguments))) {
    o.error = parser.errorText();
    return o;
  }
  o.help = parser.isSet(QStringLiteral("help"));
  o.version = parser.isSet(QStringLiteral("version"));
  o.listPorts = parser.isSet(kListPorts);
  readValues(parser, o);
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1)
    o.error = QStringLiteral("one file at a time: '%1' is one too many").arg(files[1]);
  else if (!files.isEmpty())
    o.file = files.first();
  return o;
}

const QStringList& CommandLineOptions::screenshotDialogs() {
  static const QStringList names{
      QStringLiteral("save-to-library"), QStringLiteral("import"), QStringLiteral("export"),
      QStringLiteral("preferences"),     QStringLiteral("find"),   QStringLiteral("differences")};
  return names;
}

QString CommandLineOptions::usage() {
  QString text = QStringLiteral(
      "Usage: orv-editor [options] [FILE]\n"
      "Edits the sound of an ORV amplifier and keeps a library of 100 patches.\n"
      "\n"
      "Options:\n");
  constexpr qsizetype kColumn = 28;
  for (const QCommandLineOption& option : declaredOptions())
    text += QStringLiteral("  %1  %2\n")
                .arg(optionSynopsis(option).leftJustified(kColumn - 4), option.description());
  text += QStringLiteral(
      "\n"
      "Arguments:\n"
      "  FILE                      a library (.ZBL) or patch (.ZBP) file to open\n");
  return text;
}

}  // namespace orv
