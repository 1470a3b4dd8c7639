#include "mainwindow/DifferencesCommand.h"

#include "device/DeviceLink.h"
#include "device/PatchDifferences.h"
#include "mainwindow/DifferencesDlg.h"
#include "mainwindow/SoundCompare.h"
#include "mainwindow/VKREditorDlg.h"

namespace orv {

void DifferencesCommand::run() {
  DeviceLink& link = DeviceLink::instance();
  const PatchData edited = link.mirror();
  const StoredSound stored = SoundCompare::storedSound(dlg_.library());
  QString storedName = QStringLiteral("the sound as last loaded or stored");
  if (stored.slot >= 0)
    storedName = QStringLiteral("slot %1 \"%2\"")
                     .arg(stored.slot + 1, 3, 10, QLatin1Char('0'))
                     .arg(QString::fromLatin1(patchName(stored.data).c_str()));
  // Both sides are read with the model the panel shows, so the names of a slot kept for any
  // model match the panel's.
  const auto model = static_cast<uint8_t>(dlg_.modelCode());
  DifferencesDlg box(storedName, patchDifferences({stored.data, model}, {edited, model}), &dlg_);
  dlg_.messageBoxes().runModal(box);
}

}  // namespace orv
