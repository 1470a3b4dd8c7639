#include "mainwindow/SlotPickerDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "mainwindow/MainWindowTexts.h"
#include "mainwindow/MessageBoxes.h"
#include "patch/Library.h"

namespace orv {

SlotPickerDlg::SlotPickerDlg(const Library& library, IMessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), library_(library), boxes_(boxes) {}

void SlotPickerDlg::Build(const QString& title, const QString& actionText, int promptId,
                          int preselected, QWidget* extra) {
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(texts::text(promptId), this));
  list_ = new QListWidget(this);
  list_->setAccessibleName(QStringLiteral("Library slots"));
  for (const std::string& row : rowTexts(library_))
    list_->addItem(QString::fromLatin1(row.c_str()));
  list_->setMinimumWidth(list_->fontMetrics().horizontalAdvance(QString(70, u'M')) / 2);
  layout->addWidget(list_);
  if (extra) layout->addWidget(extra);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  action_ = new QPushButton(u'&' + actionText, this);
  action_->setDefault(true);
  action_->setEnabled(false);
  auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  buttons->addWidget(action_);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  // A row merely made current (the list taking the focus) is not a choice.
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
    if (SelectedSlot() >= 0) action_->setEnabled(true);
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnAction(); });
  connect(action_, &QPushButton::clicked, this, [this] { OnAction(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  SelectSlot(preselected);
}

int SlotPickerDlg::SelectedSlot() const {
  const QListWidgetItem* item = list_->currentItem();
  return item && item->isSelected() ? list_->row(item) : -1;
}

void SlotPickerDlg::SelectSlot(int slot) {
  if (slot < 0 || slot >= list_->count()) return;
  list_->setCurrentRow(slot);
  list_->scrollToItem(list_->item(slot), QAbstractItemView::PositionAtCenter);
}

void SlotPickerDlg::ShowError(int stringId) {
  IMessageBoxes::Request request;
  request.caption = QStringLiteral("ORV Editor");
  request.text = texts::text(stringId);
  request.icon = IMessageBoxes::Icon::Stop;
  boxes_.ask(request);
}

}  // namespace orv
