// orv-skingen: renders the panel art.
//   orv-skingen [--qrc FILE.qrc] OUTDIR     writes OUTDIR/<id>.png for every image (and the
//                                           resource file listing them)
//                                           (--icons ICONDIR: also the icons, as a hicolor
//                                           theme, listed in the resource file too;
//                                           --pixels BIN CPP: also the ready pixels and the
//                                           source that links them in)
//   orv-skingen --contact-sheet FILE.png    writes one review sheet of all panels and strips
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "ContactSheet.h"
#include "SkinGenerator.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: orv-skingen [--qrc FILE.qrc] [--icons ICONDIR] [--pixels FILE.bin FILE.cpp] "
               "OUTDIR\n"
               "       orv-skingen --contact-sheet FILE.png\n");
  return 2;
}

// Qt's note that no runtime directory is set says nothing about the art; everything else passes.
QtMessageHandler qtHandler = nullptr;

void filterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains("XDG_RUNTIME_DIR")) return;
  if (qtHandler)
    qtHandler(type, context, message);
  else
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

int fail(const QString& message) {
  std::fprintf(stderr, "orv-skingen: %s\n", qPrintable(message));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Fonts need a GUI application; no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qtHandler = qInstallMessageHandler(filterMessages);
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  QString sheet, qrc, icons, pixels, pixelsCpp, outDir;
  while (!args.isEmpty()) {
    const QString a = args.takeFirst();
    if (a == "--pixels" && args.size() >= 2) {
      pixels = args.takeFirst();
      pixelsCpp = args.takeFirst();
    } else if ((a == "--contact-sheet" || a == "--qrc" || a == "--icons") && !args.isEmpty())
      (a == "--qrc" ? qrc : a == "--icons" ? icons : sheet) = args.takeFirst();
    else if (!a.startsWith("--") && outDir.isEmpty())
      outDir = a;
    else
      return usage();
  }
  if (sheet.isEmpty() == outDir.isEmpty() ||
      ((!qrc.isEmpty() || !icons.isEmpty()) && outDir.isEmpty()))
    return usage();

  const orv::SkinGenerator::Images images = orv::SkinGenerator::renderAll();
  if (const QString problem = orv::SkinGenerator::verify(images); !problem.isEmpty())
    return fail(problem);
  QString error;
  if (!sheet.isEmpty()) {
    if (!orv::ContactSheet::compose(images).save(sheet, "PNG"))
      return fail(QString("cannot write %1").arg(sheet));
    return 0;
  }
  if (!orv::SkinGenerator::writePngs(images, outDir, error)) return fail(error);
  if (!icons.isEmpty() && !orv::SkinGenerator::writeIcons(icons, error)) return fail(error);
  if (!pixels.isEmpty() &&
      !orv::SkinGenerator::writePixels(orv::SkinGenerator::withApplicationIcon(images), pixels,
                                       pixelsCpp, error))
    return fail(error);
  if (!qrc.isEmpty() && !orv::SkinGenerator::writeQrc(images, outDir, qrc, error, icons))
    return fail(error);
  return 0;
}
