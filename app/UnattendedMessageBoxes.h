#pragma once
#include "mainwindow/MessageBoxes.h"

namespace orv {

// Message boxes for runs nobody watches (--screenshot): each box is written to standard error
// and answered at once with its first offered button among Yes, Ok and No; modal dialogs are
// cancelled.
class UnattendedMessageBoxes : public IMessageBoxes {
 public:
  int ask(const Request& request) override;
  int runModal(QDialog& dialog) override;
};

}  // namespace orv
