#pragma once
// The main window's controls: identifier, kind and place, once in dialog units of the window
// template (530 x 369) and once in pixels of the 800 x 600 client. Plain C++, so the art generator
// and the main window read the same table.
#include <span>
#include <string_view>

namespace orv {

enum class ControlKind {
  Dial,
  Button,
  Picture,
  NumberDisplay,
  PullDown,
  Label,
  ListBox,
  ScrollBar,
  RepeatButton,
  EditBox,
  StaticText,
};

// Left, top, width, height. Right and bottom are exclusive.
struct LayoutRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  constexpr int right() const { return x + width; }
  constexpr int bottom() const { return y + height; }
  constexpr int centerX2() const { return 2 * x + width; }  // twice the centre, exact
  constexpr int centerY2() const { return 2 * y + height; }
  bool operator==(const LayoutRect&) const = default;
};

// Flags the window template gives a control.
enum LayoutFlag : unsigned {
  kLayoutHidden = 1u,    // created invisible
  kLayoutDisabled = 2u,  // created disabled
};

struct ControlLayout {
  int id = 0;
  ControlKind kind = ControlKind::Label;
  LayoutRect units;   // dialog units of the template
  LayoutRect pixels;  // the same rectangle on the 800 x 600 client
  int image = 0;      // the image it is set up with on the default skin (0: none)
  unsigned flags = 0;
  std::string_view text;  // the template text (labels)
};

class LayoutData {
 public:
  static constexpr int kTemplateWidth = 530;
  static constexpr int kTemplateHeight = 369;
  static constexpr int kClientWidth = 800;
  static constexpr int kClientHeight = 600;

  // Dialog units to client pixels: every coordinate and size scaled on its own and truncated.
  static constexpr LayoutRect toPixels(const LayoutRect& units) {
    return {units.x * kClientWidth / kTemplateWidth, units.y * kClientHeight / kTemplateHeight,
            units.width * kClientWidth / kTemplateWidth,
            units.height * kClientHeight / kTemplateHeight};
  }

  // Every control, amplifier section first, then the five sections and the library side.
  static std::span<const ControlLayout> controls();

  // The control with this identifier, or nullptr.
  static const ControlLayout* find(int id);

  // The control with this identifier; throws std::out_of_range for an unknown one.
  static const ControlLayout& at(int id);
};

}  // namespace orv
