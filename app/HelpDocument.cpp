#include "app/HelpDocument.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

#include "patch/GenericException.h"
#include "patch/StringTable.h"

namespace orv {

QString HelpDocument::fileName(QLocale::Language language) {
  return language == QLocale::Japanese ? QStringLiteral("ORV_Editor_jp.pdf")
                                       : QStringLiteral("ORV_Editor_en.pdf");
}

void HelpDocument::open(const QString& directory, QLocale::Language language,
                        const Opener& opener) {
  const QString path = QDir(directory).filePath(fileName(language));
  if (!QFileInfo(path).isFile()) throw CGenericException(strings::HelpNotFound);
  if (!opener(QUrl::fromLocalFile(path))) throw CGenericException(strings::HelpNeedsReader);
}

void HelpDocument::open() {
  open(QCoreApplication::applicationDirPath(), QLocale::system().language(),
       [](const QUrl& url) { return QDesktopServices::openUrl(url); });
}

}  // namespace orv
