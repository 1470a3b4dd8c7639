#pragma once
// The inline text entry of a number display.
#include <QLineEdit>

namespace orv {

class CVKRNumberEditText;

// Covers its display while open. Enter stores the typed value and moves the focus back to the
// display; the focus loss stores and reports it, and Enter reports it once more. Escape, and
// text that is not a number, close the entry and report nothing. Any other loss of focus (a
// click elsewhere, another window) stores and reports the typed value, except when the window
// itself is closing or the display is grayed or hidden: then the typed text is dropped.
class CVKRNumberEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CVKRNumberEdit(CVKRNumberEditText* display);
  ~CVKRNumberEdit() override;

  void SetParseId(int id) { m_parseId = id; }
  int GetParseId() const { return m_parseId; }
  bool IsCancelled() const { return m_cancelled; }
  // Closes the entry without storing or reporting the typed text.
  void Discard();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void CommitByEnter();
  void Cancel();
  void FocusLost();

  CVKRNumberEditText* m_display;
  int m_parseId = 0;
  bool m_cancelled = false;
};

}  // namespace orv
