#pragma once
#include <QByteArray>
#include <QString>

namespace orv {

// File names as the system stores them: bytes, usually but not always UTF-8. A name that is not
// valid UTF-8 must still open, so each byte that is not part of a valid UTF-8 sequence becomes a
// lone low surrogate U+DC80..U+DCFF in the text and the same byte again on the way back. Names
// that are valid UTF-8 read as usual. (Qt's own decoding turns such bytes into U+FFFD, which no
// longer names the file.)
class LocalFileName {
 public:
  static QString decode(const QByteArray& bytes);
  static QByteArray encode(const QString& name);
};

}  // namespace orv
