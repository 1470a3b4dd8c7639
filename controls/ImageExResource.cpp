#include "controls/ImageExResource.h"

#include <QImageReader>

namespace orv {

CImageExResource::~CImageExResource() = default;

QString CImageExResource::ResourcePath(int id) {
  return QStringLiteral(":/png/%1.png").arg(id);
}

bool CImageExResource::LoadFromResource(int id) {
  const bool ok = LoadFromFile(ResourcePath(id));
  m_resourceId = ok ? id : 0;
  return ok;
}

bool CImageExResource::LoadFromFile(const QString& path) {
  Clear();
  m_resourceId = 0;
  QImageReader reader(path, "png");
  const QImage image = reader.read();
  if (image.isNull()) return false;
  SetImage(image);
  return true;
}

}  // namespace orv
