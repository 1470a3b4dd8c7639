#pragma once
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

namespace orv {

// The help document: "ORV_Editor_en.pdf", or "ORV_Editor_jp.pdf" for a Japanese user, beside
// the executable (in the build) or in the installed program's data folder, opened with the
// desktop's handler for PDF files.
class HelpDocument {
 public:
  // Opens a URL with the desktop's associated program; false when nothing could open it.
  using Opener = std::function<bool(const QUrl&)>;

  static QString fileName(QLocale::Language language);
  // Throws CGenericException 311 when the file is missing and 310 when no program opens it.
  static void open(const QString& directory, QLocale::Language language, const Opener& opener);
  // The same with the first of `directories` that holds the document.
  static void open(const QStringList& directories, QLocale::Language language,
                   const Opener& opener);
  // The folders looked in: the program's own, then its data folder (share/orv-editor beside
  // the bin folder it is installed in).
  static QStringList directories();
  // Those folders, the user's language and QDesktopServices.
  static void open();
};

}  // namespace orv
