#include "app/HelpDocument.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

#include "patch/GenericException.h"
#include "patch/StringTable.h"

#ifndef ORV_DATA_DIR_FROM_BIN
#define ORV_DATA_DIR_FROM_BIN "../share/orv-editor"
#endif

namespace orv {

QString HelpDocument::fileName(QLocale::Language language) {
  return language == QLocale::Japanese ? QStringLiteral("ORV_Editor_jp.pdf")
                                       : QStringLiteral("ORV_Editor_en.pdf");
}

void HelpDocument::open(const QString& directory, QLocale::Language language,
                        const Opener& opener) {
  open(QStringList{directory}, language, opener);
}

void HelpDocument::open(const QStringList& directories, QLocale::Language language,
                        const Opener& opener) {
  for (const QString& directory : directories) {
    const QString path = QDir(directory).filePath(fileName(language));
    if (!QFileInfo(path).isFile()) continue;
    if (!opener(QUrl::fromLocalFile(path))) throw CGenericException(strings::HelpNeedsReader);
    return;
  }
  throw CGenericException(strings::HelpNotFound);
}

QStringList HelpDocument::directories() {
  const QString own = QCoreApplication::applicationDirPath();
  return {own, QDir::cleanPath(QDir(own).filePath(QStringLiteral(ORV_DATA_DIR_FROM_BIN)))};
}

void HelpDocument::open() {
  open(directories(), QLocale::system().language(),
       [](const QUrl& url) { return QDesktopServices::openUrl(url); });
}

}  // namespace orv
