#include "mainwindow/DifferencesDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace orv {

namespace {

constexpr int kColumns = 4;
constexpr int kMostRowsShown = 14;

QTableWidgetItem* cell(const std::string& latin1) {
  auto* item = new QTableWidgetItem(QString::fromLatin1(latin1.c_str()));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

DifferencesDlg::DifferencesDlg(const QString& storedName, const std::vector<PatchDifference>& rows,
                               QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("showDifferences"));
  setWindowTitle(QStringLiteral("Show Differences"));
  auto* layout = new QVBoxLayout(this);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("differencesSummary"));
  summary_->setWordWrap(true);
  summary_->setText(rows.empty()
                        ? QStringLiteral("The edited sound is the same as %1.").arg(storedName)
                        : QStringLiteral("The edited sound differs from %1 in %2 %3:")
                              .arg(storedName)
                              .arg(rows.size())
                              .arg(rows.size() == 1 ? "setting" : "settings"));
  summary_->setAccessibleName(summary_->text());
  layout->addWidget(summary_);
  if (!rows.empty()) buildTable(rows);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* close = buttons_->button(QDialogButtonBox::Close);
  close->setDefault(true);
  close->setAccessibleName(QStringLiteral("Close"));
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons_);
  if (table_)
    table_->setFocus(Qt::OtherFocusReason);
  else
    close->setFocus(Qt::OtherFocusReason);
}

void DifferencesDlg::buildTable(const std::vector<PatchDifference>& rows) {
  table_ = new QTableWidget(static_cast<int>(rows.size()), kColumns, this);
  table_->setObjectName(QStringLiteral("differencesTable"));
  table_->setAccessibleName(QStringLiteral("Differences"));
  table_->setAccessibleDescription(summary_->text());
  table_->setHorizontalHeaderLabels({QStringLiteral("Section"), QStringLiteral("Parameter"),
                                     QStringLiteral("Stored"), QStringLiteral("Edited")});
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setTabKeyNavigation(false);  // Tab goes on to the Close button
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const PatchDifference& d = rows[static_cast<std::size_t>(r)];
    table_->setItem(r, 0, cell(d.section));
    table_->setItem(r, 1, cell(d.parameter));
    table_->setItem(r, 2, cell(d.before));
    table_->setItem(r, 3, cell(d.after));
  }
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setCurrentCell(0, 0);
  // As tall as the rows, up to a screenful; a longer list scrolls.
  const int shown = std::min(static_cast<int>(rows.size()), kMostRowsShown);
  const int height = table_->horizontalHeader()->height() +
                     shown * table_->verticalHeader()->defaultSectionSize() +
                     2 * table_->frameWidth();
  table_->setFixedHeight(height);
  table_->setMinimumWidth(std::max(460, table_->horizontalHeader()->length() +
                                            table_->verticalScrollBar()->sizeHint().width() +
                                            2 * table_->frameWidth()));
  layout()->addWidget(table_);
}

}  // namespace orv
