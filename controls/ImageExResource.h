#pragma once
// A picture of the program's art, loaded by its number.
#include <QString>

#include "controls/ImageEx.h"

namespace orv {

// Loads and decodes one PNG of the program's resources (`:/png/<id>.png`) once per load.
// A failed load leaves the holder empty (the previous image is gone) and returns false.
class CImageExResource : public CImageEx {
 public:
  CImageExResource() = default;
  ~CImageExResource() override;

  bool LoadFromResource(int id);
  // The same from any readable path (a file or a resource path).
  bool LoadFromFile(const QString& path);

  // Number of the resource last loaded successfully, 0 when empty or loaded otherwise.
  int ResourceId() const { return m_resourceId; }

  static QString ResourcePath(int id);

 private:
  int m_resourceId = 0;
};

}  // namespace orv
