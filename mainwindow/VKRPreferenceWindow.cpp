#include "mainwindow/VKRPreferenceWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "controls/WindowEvents.h"
#include "device/DeviceLink.h"
#include "device/MidiPort.h"
#include "settings/VKRPrefData.h"

namespace orv {

CVKRPreferenceWindow::CVKRPreferenceWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("preferences"));
  setWindowTitle(QStringLiteral("Preferences"));
  setModal(true);
  buildLayout();
}

CVKRPreferenceWindow::~CVKRPreferenceWindow() {
  removeListener();
}

void CVKRPreferenceWindow::buildLayout() {
  auto* grid = new QGridLayout(this);
  dataIn_ = new QComboBox(this);
  dataIn_->setObjectName(QStringLiteral("dataIn"));
  dataOut_ = new QComboBox(this);
  dataOut_->setObjectName(QStringLiteral("dataOut"));
  addLabel(0, QStringLiteral("DATA &IN : "), dataIn_);
  grid->addWidget(dataIn_, 0, 1);
  addLabel(1, QStringLiteral("DATA &OUT : "), dataOut_);
  grid->addWidget(dataOut_, 1, 1);
  knobMode_ = addPair(2, QStringLiteral("&Knob Mode : "), kLinear, QStringLiteral("Linear"),
                      QStringLiteral("Circular"));
  const QString on = QStringLiteral("ON"), off = QStringLiteral("OFF");
  stereoPair_ = addPair(3, QStringLiteral("Extended &Stereo : "), kStereoOn, on, off);
  lampPair_ = addPair(4, QStringLiteral("Power &Lamp : "), kLampOn, on, off);
  for (QButtonGroup* pair : {stereoPair_, lampPair_})
    for (QAbstractButton* b : pair->buttons()) b->setEnabled(false);  // until reported

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CVKRPreferenceWindow::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CVKRPreferenceWindow::reject);
  grid->addWidget(buttons, 5, 0, 1, 2);
  grid->setSizeConstraint(QLayout::SetFixedSize);
}

QButtonGroup* CVKRPreferenceWindow::addPair(int row, const QString& label, int firstId,
                                            const QString& first, const QString& second) {
  auto* group = new QButtonGroup(this);
  auto* box = new QHBoxLayout;
  for (int i = 0; i < 2; ++i) {
    auto* radio = new QRadioButton(i == 0 ? first : second, this);
    radio->setObjectName(QString::number(firstId + i));
    group->addButton(radio, firstId + i);
    box->addWidget(radio);
  }
  addLabel(row, label, group->button(firstId));
  static_cast<QGridLayout*>(layout())->addLayout(box, row, 1);
  return group;
}

// The label of a row: its mnemonic moves the focus to `field`, which a screen reader names after
// the label (without the mnemonic mark and the colon).
void CVKRPreferenceWindow::addLabel(int row, const QString& text, QWidget* field) {
  auto* label = new QLabel(text, this);
  label->setBuddy(field);
  if (qobject_cast<QComboBox*>(field))
    field->setAccessibleName(QString(text).remove(u'&').remove(u':').trimmed());
  static_cast<QGridLayout*>(layout())->addWidget(label, row, 0);
}

QAbstractButton* CVKRPreferenceWindow::button(int id) const {
  for (QButtonGroup* pair : {knobMode_, stereoPair_, lampPair_})
    if (QAbstractButton* b = pair->button(id)) return b;
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Opening

void CVKRPreferenceWindow::OnInitDialog() {
  DeviceLink& link = DeviceLink::instance();
  const CVKRPrefData& settings = CVKRPrefData::instance();
  fillList(dataIn_, link.port().listInputs(), settings.midiIn());
  fillList(dataOut_, link.port().listOutputs(), settings.midiOut());
  showIndex(knobMode_, settings.dialType());

  link.addListener(&CVKRPreferenceWindow::Listener, this);
  listening_ = true;
  if (link.isConnected()) link.requestSettings();
}

std::vector<std::string> CVKRPreferenceWindow::sortedNames(std::vector<std::string> names) {
  std::erase_if(names, [](const std::string& n) { return n.empty(); });
  // Alphabetical regardless of case; names equal but for case keep a fixed order.
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int c = QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  return names;
}

int CVKRPreferenceWindow::selectString(const QComboBox& list, const QString& name) {
  for (int i = 0; i < list.count(); ++i)
    if (list.itemText(i).startsWith(name, Qt::CaseInsensitive)) return i;
  return -1;
}

void CVKRPreferenceWindow::fillList(QComboBox* list, std::vector<std::string> names,
                                    const std::string& configured) {
  for (const std::string& name : sortedNames(std::move(names)))
    list->addItem(QString::fromStdString(name));
  list->setCurrentIndex(selectString(*list, QString::fromStdString(configured)));
}

void CVKRPreferenceWindow::showIndex(QButtonGroup* pair, int index) {
  const QList<QAbstractButton*> buttons = pair->buttons();
  if (index == 0 || index == 1) {
    buttons[index]->setChecked(true);
    return;
  }
  // A value the pair has no button for: neither is checked.
  pair->setExclusive(false);
  for (QAbstractButton* b : buttons) b->setChecked(false);
  pair->setExclusive(true);
}

// ---------------------------------------------------------------------------------------------
// Reports

void CVKRPreferenceWindow::Listener(void* context, int32_t code, int32_t value, int32_t) {
  if (code != EVENT_SETTING_REPORTED) return;
  PostWindowMessage(static_cast<QObject*>(static_cast<CVKRPreferenceWindow*>(context)),
                    WM_DEVICE_EVENT, code, value);
}

bool CVKRPreferenceWindow::event(QEvent* e) {
  if (e->type() != WM_DEVICE_EVENT) return QDialog::event(e);
  const auto* m = static_cast<const WindowMessage*>(e);
  if (m->WParam() == EVENT_SETTING_REPORTED) settingReported(static_cast<int>(m->LParam()));
  return true;
}

void CVKRPreferenceWindow::settingReported(int value) {
  QButtonGroup* pair = nullptr;
  if (value <= 255) {
    stereoReported_ = true;
    stereo_ = value & 0xFF;
    pair = stereoPair_;
  } else if (value / 256 == 1) {
    lampReported_ = true;
    lamp_ = value & 0xFF;
    pair = lampPair_;
  } else {
    return;  // the USB volume is the main window's
  }
  for (QAbstractButton* b : pair->buttons()) b->setEnabled(true);
  showIndex(pair, pair == stereoPair_ ? stereo_ : lamp_);
}

// ---------------------------------------------------------------------------------------------
// Closing

void CVKRPreferenceWindow::accept() {
  // A pair with neither button checked keeps the value it had.
  if (stereoPair_->checkedId() >= 0) stereo_ = stereoPair_->checkedId() - kStereoOn;
  if (lampPair_->checkedId() >= 0) lamp_ = lampPair_->checkedId() - kLampOn;
  CVKRPrefData settings = CVKRPrefData::instance();
  if (dataIn_->currentIndex() >= 0) settings.setMidiIn(dataIn_->currentText().toStdString());
  if (dataOut_->currentIndex() >= 0) settings.setMidiOut(dataOut_->currentText().toStdString());
  if (knobMode_->checkedId() >= 0) settings.setDialType(knobMode_->checkedId() - kLinear);
  CVKRPrefData::instance() = settings;
  QDialog::accept();
}

void CVKRPreferenceWindow::done(int result) {
  removeListener();
  QDialog::done(result);
}

void CVKRPreferenceWindow::removeListener() {
  if (!listening_) return;
  listening_ = false;
  DeviceLink::instance().removeListener(&CVKRPreferenceWindow::Listener);
}

}  // namespace orv
