#include "mainwindow/StarterLibrary.h"

#include <QCoreApplication>
#include <QDir>

#ifndef ORV_DATA_DIR_FROM_BIN
#define ORV_DATA_DIR_FROM_BIN "../share/orv-editor"
#endif

namespace orv {

QStringList StarterLibrary::candidates() {
  const QDir own(QCoreApplication::applicationDirPath());
  return {own.filePath(QStringLiteral("presets")),
          QDir::cleanPath(own.filePath(QStringLiteral(ORV_DATA_DIR_FROM_BIN "/presets")))};
}

QString StarterLibrary::folder() {
  for (const QString& candidate : candidates()) {
    const QDir dir(candidate);
    if (!dir.entryList({QStringLiteral("*.ZBL"), QStringLiteral("*.zbl")}, QDir::Files).isEmpty())
      return candidate;
  }
  return {};
}

}  // namespace orv
