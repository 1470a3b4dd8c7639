#pragma once
#include <QString>
#include <QStringList>

namespace orv {

// Where the shipped starter libraries live: presets/ next to the editor (in the build), or
// share/orv-editor/presets beside the bin folder it is installed in. The first start opens its
// Open dialog there.
class StarterLibrary {
 public:
  // The folders looked in, first the editor's own.
  static QStringList candidates();
  // The first candidate that holds a library file; empty when none does.
  static QString folder();
};

}  // namespace orv
