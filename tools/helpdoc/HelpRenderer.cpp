#include "HelpRenderer.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QTextTable>

namespace orv {
namespace {

constexpr int kDpi = 120;           // layout resolution: pictures keep their pixel size
constexpr double kMarginMm = 18.0;  // page margins
constexpr double kBodyPoints = 10.5;
constexpr int kFooterPoints = 8;
constexpr double kCellPadding = 5.0;  // between a table cell's text and its side rules, in pixels

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

// Keeps a cell's text off its side rules. Only the sides: padding above and below a cell's text
// makes the layout misplace the paragraph after a table at a page's end.
void padSides(QTextTableCell cell) {
  QTextTableCellFormat format = cell.format().toTableCellFormat();
  format.setLeftPadding(kCellPadding);
  format.setRightPadding(kCellPadding);
  cell.setFormat(format);
}

// Removes the empty paragraph the Markdown reader can leave at the top of a table cell (after an
// indented code block it opens the header's first cell with one): it doubled the row's height and
// kept the header's bold to itself.
void dropLeadingEmptyParagraph(const QTextTableCell& cell) {
  QTextCursor cursor = cell.firstCursorPosition();
  if (!cursor.block().text().isEmpty()) return;
  if (cursor.block() == cell.lastCursorPosition().block()) return;
  const QTextCharFormat format = cursor.block().charFormat();
  cursor.deleteChar();
  cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
  cursor.mergeCharFormat(format);
}

// Gives every table cell room beside its text, so that text that just fits a column does not touch
// the column's rule, and tidies the cells.
void tidyTables(QTextDocument& doc) {
  for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
    auto* table = qobject_cast<QTextTable*>(frame);
    if (!table) continue;
    for (int row = 0; row < table->rows(); ++row)
      for (int column = 0; column < table->columns(); ++column) {
        padSides(table->cellAt(row, column));
        dropLeadingEmptyParagraph(table->cellAt(row, column));
      }
  }
}

// The lowest text line of `table` that ends above `bottom` (document coordinates); `top` if none.
double lastTableLineAbove(const QTextDocument& doc, QTextTable& table, double top, double bottom) {
  double last = top;
  QTextBlock block = table.firstCursorPosition().block();
  const QTextBlock end = table.lastCursorPosition().block().next();
  for (; block.isValid() && block != end; block = block.next()) {
    const QRectF rect = doc.documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    for (int i = 0; layout && i < layout->lineCount(); ++i) {
      const QRectF line = layout->lineAt(i).rect().translated(rect.topLeft());
      if (line.top() >= top && line.bottom() <= bottom) last = std::max(last, line.bottom());
    }
  }
  return last;
}

// Where page `index` ends. A table row that does not fit at the end of a page moves to the next
// page, but the table's frame still runs to this page's end, as an empty row or an overlong cell.
// The page is cut just below the text of the last row that fits, and the table closed by a rule.
struct PageEnd {
  double height = 0;  // how far down the page is drawn
  QLineF rule;        // the closing rule, when a table is cut
  QBrush ruleBrush;
  double ruleWidth = 0;
};

PageEnd pageEnd(const QTextDocument& doc, int index) {
  PageEnd end;
  end.height = doc.pageSize().height();
  const double top = end.height * index;
  const double bottom = top + end.height;
  for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
    auto* table = qobject_cast<QTextTable*>(frame);
    if (!table) continue;
    const QRectF rect = doc.documentLayout()->frameBoundingRect(table);
    if (rect.top() >= bottom || rect.bottom() <= bottom) continue;
    const QTextTableFormat format = table->format();
    const double last = lastTableLineAbove(doc, *table, std::max(top, rect.top()), bottom);
    const double cut = last - top + format.cellPadding() + format.cellSpacing() + format.border();
    if (last <= top || cut >= end.height) continue;
    end.height = cut;
    const double y = cut - format.border() / 2;
    const double inset = format.leftMargin() + format.border() / 2;
    end.rule = QLineF(rect.left() + inset, y, rect.right() - inset, y);
    end.ruleBrush = format.borderBrush();
    end.ruleWidth = format.border();
  }
  return end;
}

void paintPages(QTextDocument& doc, QPdfWriter& writer, const QFont& footerFont) {
  QPainter painter(&writer);
  const QSizeF page = doc.pageSize();
  const int pages = doc.pageCount();
  for (int i = 0; i < pages; ++i) {
    if (i > 0) writer.newPage();
    painter.save();
    // Nothing spills into the margins: a frame that crosses the page's end is cut there.
    const PageEnd end = pageEnd(doc, i);
    painter.setClipRect(QRectF(0, 0, page.width(), end.height));
    painter.translate(0, -page.height() * i);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, page.height() * i, page.width(), page.height());
    doc.documentLayout()->draw(&painter, context);
    painter.restore();
    if (!end.rule.isNull()) {
      painter.setPen(QPen(end.ruleBrush, end.ruleWidth));
      painter.drawLine(end.rule);
    }
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
  tidyTables(doc);
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
