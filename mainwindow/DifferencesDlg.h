#pragma once
#include <QDialog>
#include <QString>
#include <vector>

#include "device/PatchDifferences.h"

class QDialogButtonBox;
class QLabel;
class QTableWidget;

namespace orv {

// Edit > Show Differences: what differs between the stored sound and the edited one, one row per
// parameter (section, caption, stored value, edited value), or one plain sentence when nothing
// does. Read only; Close, Enter and Escape close it. The table takes the focus, so the arrow
// keys walk the rows and a screen reader reads each cell with its column's title.
class DifferencesDlg : public QDialog {
  Q_OBJECT

 public:
  // `storedName`: what the edited sound is compared with, as a sentence's end ("slot 003
  // \"Clean\"", "the sound as last loaded").
  DifferencesDlg(const QString& storedName, const std::vector<PatchDifference>& rows,
                 QWidget* parent);

  QLabel* Summary() const { return summary_; }
  QTableWidget* Table() const { return table_; }  // null when nothing differs
  QDialogButtonBox* Buttons() const { return buttons_; }

 private:
  void buildTable(const std::vector<PatchDifference>& rows);

  QLabel* summary_ = nullptr;
  QTableWidget* table_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace orv
