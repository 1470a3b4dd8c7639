#pragma once
// The application icon (an amplifier head in the panel's classic colours) and the icons of the
// two file types, at any square size.
#include <QImage>
#include <QList>
#include <QString>

namespace orv {

class IconPainter {
 public:
  enum class Kind { Application, Library, Patch };

  // The sizes the desktop asks for, in pixels (the application icon is linked in at these).
  static const QList<int>& sizes();
  // The icon's name as the desktop looks it up (e.g. "application-x-orv-library").
  static QString name(Kind kind);
  // The folder of the hicolor theme the icon belongs to ("apps" or "mimetypes").
  static QString context(Kind kind);

  static QImage paint(Kind kind, int size);
};

}  // namespace orv
