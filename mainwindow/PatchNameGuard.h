#pragma once
#include <QObject>
#include <QString>

class QLineEdit;

namespace orv {

// Keeps a patch name field to what a patch name can hold: printable ASCII, at most 64
// characters. Characters outside that set are taken out as they are typed, pasted or dropped,
// and a refused character or a name grown too long gives a short beep and a tool tip that says
// what a patch name holds. Text set by the program (a name read from the amplifier or a file) is
// left as it is.
class PatchNameGuard : public QObject {
  Q_OBJECT

 public:
  // Guards `edit` for as long as it lives; connect this before anything else reads its edits.
  static void guard(QLineEdit* edit);

  static bool holds(QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; }
  static const QString& rule();

 private:
  explicit PatchNameGuard(QLineEdit* edit);
  void edited(const QString& text);
  void refused();

  QLineEdit* edit_;
};

}  // namespace orv
