#include "app/AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppIcon.h"

namespace orv {

namespace {
constexpr int kIconSize = 48;
}  // namespace

QString CAboutDlg::versionLine() {
  return QStringLiteral("ORV Editor, Version 1.1.0");
}

QString CAboutDlg::descriptionLine() {
  return QStringLiteral("Sound editor and patch librarian for ORV amplifiers.");
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ORV Editor"));
  setObjectName(QStringLiteral("aboutBox"));
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("icon"));
  icon->setPixmap(AppIcon::icon().pixmap(kIconSize, kIconSize));
  auto* version = new QLabel(versionLine(), this);
  version->setObjectName(QStringLiteral("version"));
  auto* description = new QLabel(descriptionLine(), this);
  description->setObjectName(QStringLiteral("description"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addWidget(version);
  texts->addWidget(description);
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addLayout(texts, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace orv
