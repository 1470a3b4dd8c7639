// orv-helpdoc: renders a help document from its Markdown source to PDF.
//   orv-helpdoc [--font FAMILY] [--title TITLE] [--images DIR] IN.md OUT.pdf
// Pictures named in the source are looked up in the folder of IN.md first, then in DIR (where
// the build puts the screenshots it takes).
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStringList>
#include <cstdio>

#include "HelpRenderer.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: orv-helpdoc [--font FAMILY] [--title TITLE] [--images DIR] IN.md OUT.pdf\n");
  return 2;
}

int fail(const QString& message) {
  std::fprintf(stderr, "orv-helpdoc: %s\n", qPrintable(message));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Fonts need a GUI application; no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  orv::HelpRenderer::Options options;
  QStringList files;
  QString images;
  while (!args.isEmpty()) {
    const QString a = args.takeFirst();
    if ((a == "--font" || a == "--title" || a == "--images") && !args.isEmpty())
      (a == "--font"    ? options.fontFamily
       : a == "--title" ? options.title
                        : images) = args.takeFirst();
    else if (a.startsWith("--"))
      return usage();
    else
      files << a;
  }
  if (files.size() != 2) return usage();

  QFile in(files[0]);
  if (!in.open(QIODevice::ReadOnly)) return fail(QString("cannot read %1").arg(files[0]));
  options.searchPaths = {QFileInfo(files[0]).absolutePath()};
  if (!images.isEmpty()) options.searchPaths << images;
  const QByteArray pdf = orv::HelpRenderer::render(QString::fromUtf8(in.readAll()), options);
  QSaveFile out(files[1]);
  if (!out.open(QIODevice::WriteOnly) || out.write(pdf) != pdf.size() || !out.commit())
    return fail(QString("cannot write %1").arg(files[1]));
  return 0;
}
