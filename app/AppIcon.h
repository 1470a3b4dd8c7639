#pragma once
#include <QIcon>

namespace orv {

// The application icon, compiled in with the panel art at every size it is drawn at.
class AppIcon {
 public:
  static QIcon icon();
};

}  // namespace orv
