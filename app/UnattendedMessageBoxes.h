#pragma once
#include <QString>

#include "mainwindow/MessageBoxes.h"

namespace orv {

// Message boxes for runs nobody watches (--screenshot): each box is written to standard error
// and answered at once with its first offered button among Yes, Ok and No (No, Ok and Yes while
// a picture is pending); modal dialogs are cancelled, the next one after pictureNextDialog() once
// it has been shown and written as a PNG.
class UnattendedMessageBoxes : public IMessageBoxes {
 public:
  int ask(const Request& request) override;
  int runModal(QDialog& dialog) override;

  void pictureNextDialog(const QString& file) { pictureFile_ = file, pictured_ = false; }
  // Whether that dialog came and its picture was written.
  bool pictured() const { return pictured_; }

 private:
  QString pictureFile_;
  bool pictured_ = false;
};

}  // namespace orv
