#pragma once
#include <QDialog>

namespace orv {

// The about box: the application icon, "ORV Editor, Version 1.1.0", one more line and OK.
class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  static QString versionLine();
  static QString descriptionLine();
};

}  // namespace orv
