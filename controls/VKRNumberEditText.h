#pragma once
// The amber read-out of a parameter's value above its knob.
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "controls/ImageExResource.h"
#include "controls/WheelNotches.h"

namespace orv {

class CVKRNumberEdit;
class IVKREditListener;

// Shows the value as text in its unit over a plate image, and changes it by vertical drag (one
// step per mouse movement up or down; sideways movement changes nothing), by wheel, and by
// typing into an inline entry opened with a double-click. Every gesture tells the listener
// `OnEditChanged(id, value)`, also when the value stayed the same.
//
// The texts come from a formatter and typed text is read by a parser, both keyed by the
// display's format identifier and plugged in by the owner (the value-text functions of the
// patch layer fit both slots as they are); without them the value is shown and read as a plain
// integer. Whatever the parser returns is clamped to the display's range; text it finds no
// number in is refused: the entry closes and the value stays, nothing is reported.
class CVKRNumberEditText : public QWidget {
  Q_OBJECT

 public:
  using Formatter = std::function<std::string(int formatId, int value)>;
  // No value: the text is not a number.
  using Parser = std::function<std::optional<int>(int parseId, std::string_view text)>;
  static constexpr int kMaxTypedLength = 255;

  explicit CVKRNumberEditText(QWidget* parent = nullptr);
  ~CVKRNumberEditText() override;

  // Stores `v` clamped into [min, max]; no notification, no repaint. Assistive tools hear of a
  // change.
  void SetValue(int v);
  int GetValue() const { return m_value; }
  // A reversed range is taken the right way round. The value is not touched.
  void SetRange(int min, int max);
  int GetMin() const { return m_min; }
  int GetMax() const { return m_max; }
  void SetId(int id) { m_id = id; }
  int GetId() const { return m_id; }
  void SetListener(IVKREditListener* listener) { m_listener = listener; }
  void SetRect(const QRect& rect) { m_rect = rect; }
  const QRect& GetRect() const { return m_rect; }
  // Moves the widget to `rect` of its parent and records it as the placement.
  void Place(const QRect& rect);

  void SetFormatId(int id) { m_formatId = id; }
  int GetFormatId() const { return m_formatId; }
  void SetLogScale(bool on) { m_logScale = on; }
  void SetHundredRule(bool on) { m_hundredRule = on; }
  void SetFine(bool on) { m_fine = on; }
  bool IsFine() const { return m_fine; }
  void SetFormatter(Formatter formatter) { m_formatter = std::move(formatter); }
  void SetParser(Parser parser) { m_parser = std::move(parser); }
  void SetTextFont(const QFont& font);
  const QFont& GetTextFont() const { return m_font; }
  CImageExResource& BackImage() { return m_backImage; }

  // The text shown for the current value, and for any other value under the same format.
  QString DisplayText() const;
  QString TextFor(int value) const;
  // The value typed `text` stands for (at most 255 characters are read) under the parse
  // identifier (the format identifier unless given), clamped to the range; none when the text
  // is not a number.
  std::optional<int> ValueFromText(const QString& text) const {
    return ValueFromText(text, m_formatId);
  }
  std::optional<int> ValueFromText(const QString& text, int parseId) const;

  // One step; stores the clamped result and repaints, no notification.
  void Step(bool down);
  // Opens (or shows again) the inline entry with the current text selected.
  void OpenEntry();
  CVKRNumberEdit* Entry() const { return m_entry; }
  bool IsEntryOpen() const;

  // Used by the inline entry: store the value of `text` and repaint; false (nothing stored) when
  // it is not a number. Tell the listener.
  bool StoreText(const QString& text, int parseId);
  void NotifyListener();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  int StepTarget(bool down) const;
  int Clamp(int v) const;

  IVKREditListener* m_listener = nullptr;
  int m_value = 1;
  int m_min = 0;
  int m_max = 10;
  int m_id = 0;
  QRect m_rect;
  QPoint m_lastPoint;
  CVKRNumberEdit* m_entry = nullptr;  // a child widget, created on first use
  bool m_fine = false;
  int m_formatId = 0;
  bool m_logScale = false;
  CImageExResource m_backImage;
  QFont m_font;
  bool m_hundredRule = false;
  bool m_dragging = false;
  Formatter m_formatter;
  Parser m_parser;
  WheelNotches m_wheel;
};

}  // namespace orv
