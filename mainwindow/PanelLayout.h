#pragma once
#include <memory>
#include <vector>

class QObject;
class QWidget;

namespace orv {

class IVKRControlListener;
class IVKREditListener;
class PanelControls;

// Creates every control of the panel from the layout table on `surface` (the 800 x 600 client
// area) and configures it: images, sprite cells, ranges and flags, placement, listener, label
// texts, value texts. Pull-downs and the list's scroll buttons post their messages to
// `messageTarget` (the main window). The model-dependent skin is applied afterwards.
class PanelLayout {
 public:
  static constexpr int kBackground = 216;

  // Every image the layout and the default skin use, the background first.
  static std::vector<int> images();

  static std::unique_ptr<PanelControls> create(QWidget* surface, IVKRControlListener& controls,
                                               IVKREditListener& edits, QObject* messageTarget);
};

}  // namespace orv
