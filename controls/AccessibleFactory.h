#pragma once
// Gives the skinned controls their faces in the desktop's accessibility layer.
class QAccessibleInterface;
class QObject;
class QString;

namespace orv {

// Installed once per process. The interfaces are made only when an assistive client (or a
// test) asks for one, and the accessibility layer keeps them until their control goes; a
// program that nobody inspects pays nothing.
class AccessibleFactory {
 public:
  static void Install();
  // The interface for `object`, or nullptr for objects that are not skinned controls.
  static QAccessibleInterface* Create(const QString& key, QObject* object);
};

}  // namespace orv
