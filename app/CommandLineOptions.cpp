#include "app/CommandLineOptions.h"

namespace orv {

namespace {

// Splits "--name=value" into name and value; value stays null without '='.
void splitOption(const QString& arg, QString& name, QString& value) {
  const qsizetype eq = arg.indexOf(u'=');
  name = eq < 0 ? arg : arg.left(eq);
  value = eq < 0 ? QString() : arg.mid(eq + 1);
}

}  // namespace

CommandLineOptions CommandLineOptions::parse(const QStringList& arguments) {
  CommandLineOptions o;
  bool optionsEnded = false;
  bool haveFile = false;
  for (qsizetype i = 1; i < arguments.size() && o.error.isEmpty(); ++i) {
    const QString& arg = arguments[i];
    if (optionsEnded || !arg.startsWith(u'-') || arg == u"-") {
      if (!haveFile) o.file = arg;
      haveFile = true;
      continue;
    }
    if (arg == u"--") {
      optionsEnded = true;
      continue;
    }
    QString name, value;
    splitOption(arg, name, value);
    // Options that take a value accept it after '=' or as the next argument.
    auto takeValue = [&]() -> bool {
      if (!value.isNull()) return true;
      if (i + 1 >= arguments.size()) {
        o.error = QStringLiteral("%1 needs a value").arg(name);
        return false;
      }
      value = arguments[++i];
      return true;
    };
    if (name == u"--help" || name == u"-h") {
      o.help = true;
    } else if (name == u"--version") {
      o.version = true;
    } else if (name == u"--list-ports") {
      o.listPorts = true;
    } else if (name == u"--simulate") {
      if (value.isNull()) {
        o.simulateModel = '1';
      } else if (value.size() == 1 && value[0] >= u'0' && value[0] <= u'4') {
        o.simulateModel = char(value[0].unicode());
      } else {
        o.error = QStringLiteral("--simulate takes a model from 0 to 4, not '%1'").arg(value);
      }
    } else if (name == u"--midi-api") {
      if (!takeValue()) break;
      if (value != u"alsa" && value != u"jack")
        o.error = QStringLiteral("--midi-api takes alsa or jack, not '%1'").arg(value);
      else
        o.midiApi = value;
    } else if (name == u"--screenshot") {
      if (!takeValue()) break;
      if (value.isEmpty())
        o.error = QStringLiteral("--screenshot needs a file name");
      else
        o.screenshot = value;
    } else {
      o.error = QStringLiteral("unknown option %1").arg(arg);
    }
  }
  return o;
}

QString CommandLineOptions::usage() {
  return QStringLiteral(
      "Usage: orv-editor [options] [FILE]\n"
      "Edits the sound of an ORV amplifier and keeps a library of 100 patches.\n"
      "FILE is a library (.ZBL) or patch (.ZBP) file to open.\n"
      "\n"
      "Options:\n"
      "  --simulate[=0..4]     use the built-in amplifier simulator, model 0 to 4 (default 1)\n"
      "  --midi-api alsa|jack  MIDI service to use (default: ALSA, then JACK)\n"
      "  --screenshot FILE     write the window as a PNG once the panel is up, then quit\n"
      "  --list-ports          print the MIDI input and output devices (\"in NAME\", \"out "
      "NAME\")\n"
      "  --help                show this text\n"
      "  --version             show the version\n");
}

}  // namespace orv
