#include "HelpRenderer.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

namespace orv {
namespace {

constexpr int kDpi = 120;           // layout resolution: pictures keep their pixel size
constexpr double kMarginMm = 18.0;  // page margins
constexpr double kBodyPoints = 10.5;
constexpr int kFooterPoints = 8;

// Adds every picture the document names, from the first search folder that holds it. Pictures
// wider than the text are shown at the text's width.
void loadPictures(QTextDocument& doc, const QStringList& searchPaths, double textWidth) {
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      QTextCharFormat format = it.fragment().charFormat();
      if (!format.isImageFormat()) continue;
      QTextImageFormat image = format.toImageFormat();
      for (const QString& dir : searchPaths) {
        const QImage picture(QDir(dir).filePath(image.name()));
        if (picture.isNull()) continue;
        doc.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
        const double width = std::min<double>(picture.width(), textWidth);
        image.setWidth(width);
        image.setHeight(picture.height() * width / picture.width());
        QTextCursor cursor(&doc);
        cursor.setPosition(it.fragment().position());
        cursor.setPosition(it.fragment().position() + it.fragment().length(),
                           QTextCursor::KeepAnchor);
        cursor.setCharFormat(image);
        break;
      }
    }
  }
}

bool holdsPicture(const QTextBlock& block) {
  for (auto it = block.begin(); !it.atEnd(); ++it)
    if (it.fragment().charFormat().isImageFormat()) return true;
  return false;
}

// Every major topic (a level-2 heading) starts a page of its own; the title page keeps the
// document's introduction. A sub-heading followed by a picture starts a page too, so that the
// two are never parted at a page's end.
void breakPages(QTextDocument& doc) {
  QTextCursor cursor(&doc);
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level != 2 && !(level == 3 && holdsPicture(block.next()))) continue;
    QTextBlockFormat format = block.blockFormat();
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.setPosition(block.position());
    cursor.setBlockFormat(format);
  }
}

void paintPages(QTextDocument& doc, QPdfWriter& writer, const QFont& footerFont) {
  QPainter painter(&writer);
  const QSizeF page = doc.pageSize();
  const int pages = doc.pageCount();
  for (int i = 0; i < pages; ++i) {
    if (i > 0) writer.newPage();
    painter.save();
    painter.translate(0, -page.height() * i);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, page.height() * i, page.width(), page.height());
    doc.documentLayout()->draw(&painter, context);
    painter.restore();
    painter.setFont(footerFont);
    painter.setPen(Qt::darkGray);
    const QRectF footer(0, page.height(), page.width(), writer.resolution() * kMarginMm / 25.4);
    painter.drawText(footer, Qt::AlignCenter, QString("%1 / %2").arg(i + 1).arg(pages));
  }
}

}  // namespace

QByteArray HelpRenderer::render(const QString& markdown, const Options& options) {
  QByteArray pdf;
  QBuffer buffer(&pdf);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(kDpi);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                        QPageLayout::Millimeter);
  writer.setTitle(options.title);
  writer.setCreator(QStringLiteral("ORV Editor"));

  QTextDocument doc;
  QFont body(options.fontFamily);
  body.setPointSizeF(kBodyPoints);
  doc.setDefaultFont(body);
  doc.setMarkdown(markdown);
  breakPages(doc);
  const QRect text = writer.pageLayout().paintRectPixels(kDpi);
  doc.setPageSize(text.size());
  loadPictures(doc, options.searchPaths, doc.textWidth() - 2 * doc.documentMargin());

  QFont footer(options.fontFamily);
  footer.setPointSize(kFooterPoints);
  paintPages(doc, writer, footer);
  buffer.close();
  return pdf;
}

}  // namespace orv
