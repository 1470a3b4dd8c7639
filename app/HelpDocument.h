#pragma once
#include <QLocale>
#include <QString>
#include <QUrl>
#include <functional>

namespace orv {

// The help document: "ORV_Editor_en.pdf", or "ORV_Editor_jp.pdf" for a Japanese user, beside
// the executable, opened with the desktop's handler for PDF files.
class HelpDocument {
 public:
  // Opens a URL with the desktop's associated program; false when nothing could open it.
  using Opener = std::function<bool(const QUrl&)>;

  static QString fileName(QLocale::Language language);
  // Throws CGenericException 311 when the file is missing and 310 when no program opens it.
  static void open(const QString& directory, QLocale::Language language, const Opener& opener);
  // The program's folder, the user's language and QDesktopServices.
  static void open();
};

}  // namespace orv
