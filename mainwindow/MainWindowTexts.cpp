#include "mainwindow/MainWindowTexts.h"

#include "patch/StringTable.h"

namespace orv::texts {

QString text(int id) {
  switch (id) {
    case kAskQuit:
      return QStringLiteral("Library/Patch data has been edited. \nAre you sure you want to quit?");
    case kAskNew:
      return QStringLiteral(
          "Library/Patch data has been edited. \nAre you sure you want to create a new file?");
    case kAskOpen:
      return QStringLiteral(
          "Library/Patch has been edited. \nAre you sure you want to load the Library file?");
    case kAskSaveBeforeLoad:
    case kAskSaveBeforeImport:
      return QStringLiteral("Patch data has been edited. \nDo you want to save?");
    case kPickSaveSlot:
      return QStringLiteral("Select a location from the list to save to.");
    case kPickImportSlot:
      return QStringLiteral("Select a location from the list to import.");
    case kPickExportSlot:
      return QStringLiteral("Select a Patch from the list to export.");
    case kAskSendOnReconnect:
      return QStringLiteral(
          "Patch data has been edited while the amplifier was away. \nDo you want to send it "
          "to the amplifier?");
    default:
      break;
  }
  const std::string_view s = stringText(id);
  return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

}  // namespace orv::texts
