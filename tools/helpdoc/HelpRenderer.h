#pragma once
// Lays out a Markdown document on A4 pages and writes it as PDF, with page numbers.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orv {

class HelpRenderer {
 public:
  struct Options {
    QString fontFamily = QStringLiteral("Liberation Sans");
    QString title;
    QStringList searchPaths;  // folders the pictures are looked up in, in order
  };

  static QByteArray render(const QString& markdown, const Options& options);
};

}  // namespace orv
