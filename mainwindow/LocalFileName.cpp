#include "mainwindow/LocalFileName.h"

namespace orv {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool continuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `at`, or 0 when the byte there starts none
// (stray continuation byte, overlong form, surrogate, beyond U+10FFFF, cut short).
qsizetype sequenceLength(const QByteArray& bytes, qsizetype at) {
  const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > bytes.size()) return 0;
  for (qsizetype i = 1; i < length; ++i)
    if (!continuation(byte(i))) return 0;
  const unsigned char second = byte(1);
  if (lead == 0xE0 && second < 0xA0) return 0;   // overlong
  if (lead == 0xED && second >= 0xA0) return 0;  // a surrogate
  if (lead == 0xF0 && second < 0x90) return 0;   // overlong
  if (lead == 0xF4 && second >= 0x90) return 0;  // beyond U+10FFFF
  return length;
}

}  // namespace

QString LocalFileName::decode(const QByteArray& bytes) {
  QString name;
  qsizetype runStart = 0;  // the valid UTF-8 not yet added
  qsizetype i = 0;
  while (i < bytes.size()) {
    if (const qsizetype length = sequenceLength(bytes, i)) {
      i += length;
      continue;
    }
    name += QString::fromUtf8(bytes.constData() + runStart, i - runStart);
    name += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[i])));
    runStart = ++i;
  }
  name += QString::fromUtf8(bytes.constData() + runStart, bytes.size() - runStart);
  return name;
}

QByteArray LocalFileName::encode(const QString& name) {
  QByteArray bytes;
  qsizetype runStart = 0;
  for (qsizetype i = 0; i <= name.size(); ++i) {
    const bool escaped = i < name.size() && name[i].unicode() >= kEscapeBase + 0x80 &&
                         name[i].unicode() <= kEscapeBase + 0xFF &&
                         (i == 0 || !name[i - 1].isHighSurrogate());
    if (!escaped && i < name.size()) continue;
    bytes += name.mid(runStart, i - runStart).toUtf8();
    if (escaped) bytes += char(name[i].unicode() - kEscapeBase);
    runStart = i + 1;
  }
  return bytes;
}

}  // namespace orv
