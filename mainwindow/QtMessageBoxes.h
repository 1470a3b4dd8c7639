#pragma once
#include "mainwindow/MessageBoxes.h"

namespace orv {

// The real message boxes: QMessageBox and QDialog::exec().
class QtMessageBoxes : public IMessageBoxes {
 public:
  int ask(const Request& request) override;
  int runModal(QDialog& dialog) override;
};

}  // namespace orv
