#include "mainwindow/LibraryExchange.h"

#include <algorithm>

#include "device/SyxFile.h"
#include "mainwindow/FileDialogs.h"
#include "mainwindow/LibraryFlows.h"
#include "mainwindow/MessageBoxes.h"
#include "mainwindow/VKREditorDlg.h"
#include "patch/GenericException.h"
#include "patch/LibraryFile.h"
#include "patch/LibrarySlots.h"
#include "patch/StringTable.h"

namespace orv {

namespace fs = std::filesystem;

namespace {

int askBox(IMessageBoxes& boxes, QWidget* owner, const QString& text, int buttons) {
  IMessageBoxes::Request request;
  request.owner = owner;
  request.text = text;
  request.icon = IMessageBoxes::Icon::Question;
  request.buttons = buttons;
  return boxes.ask(request);
}

}  // namespace

uint8_t LibraryExchange::modelForSyx() const {
  return dlg_.connectedIndicator() && dlg_.modelKnown() ? static_cast<uint8_t>(dlg_.modelCode())
                                                        : patch::kAnyModel;
}

std::vector<LibraryEntry> LibraryExchange::readAll(const std::vector<fs::path>& paths) const {
  std::vector<LibraryEntry> entries;
  for (const fs::path& path : paths) {
    if (isSyxFile(path)) {
      for (const PatchData& patch : readSyxFile(path).patches)
        entries.push_back(entryFromSyx(patch, modelForSyx()));
      continue;
    }
    if (fileKindOf(path) != FileKind::Patch)
      throw CGenericException(strings::UnsupportedFile, 1, path.string());
    LibraryEntry entry;
    readPatchFile(entry, path);
    entries.push_back(entry);
  }
  return entries;
}

bool LibraryExchange::replaceConfirmed(int first, std::size_t count) {
  const Library& library = dlg_.library().library();
  bool occupied = false;
  for (std::size_t i = 0; i < count; ++i)
    occupied = occupied || !isEmptySlot(library.slot(std::size_t(first) + i));
  if (!occupied) return true;
  const QString text = QStringLiteral(
                           "Slots %1 to %2 already hold patches that are not \"Empty\".\n"
                           "Replace them?")
                           .arg(first + 1, 3, 10, QChar(u'0'))
                           .arg(first + int(count), 3, 10, QChar(u'0'));
  return askBox(dlg_.messageBoxes(), &dlg_, text, IMessageBoxes::Yes | IMessageBoxes::No) ==
         IMessageBoxes::Yes;
}

bool LibraryExchange::ImportFiles(const std::vector<fs::path>& paths, int first) {
  LibraryDocument& doc = dlg_.library();
  if (first < 0 || first >= static_cast<int>(doc.library().size())) return false;
  const std::vector<LibraryEntry> entries = readAll(paths);
  if (entries.empty()) return false;
  for (const LibraryEntry& entry : entries)
    if (!acceptForModel(entry, dlg_.connectedIndicator(), dlg_.modelCode(), dlg_)) return false;
  const std::size_t room = doc.library().size() - std::size_t(first);
  if (entries.size() > room) {
    askBox(dlg_.messageBoxes(), &dlg_,
           QStringLiteral("%1 patches do not fit into the chosen from %2 on.")
               .arg(entries.size())
               .arg(first + 1, 3, 10, QChar(u'0')),
           IMessageBoxes::Ok);
    return false;
  }
  if (!replaceConfirmed(first, entries.size())) return false;
  for (std::size_t i = 0; i < entries.size(); ++i)
    doc.library().slot(std::size_t(first) + i) = entries[i];
  doc.enableSave();
  dlg_.libraryShown();
  return true;
}

void LibraryExchange::ExportSlots(const std::vector<int>& chosen) {
  if (chosen.empty()) return;
  const int how = askBox(dlg_.messageBoxes(), &dlg_,
                         QStringLiteral("Export %1 patches as one SysEx file (.syx)?\n"
                                        "No: one patch file (.ZBP) each, into a folder.")
                             .arg(chosen.size()),
                         IMessageBoxes::Yes | IMessageBoxes::No | IMessageBoxes::Cancel);
  const FileDialogs dialogs(dlg_.messageBoxes(), &dlg_);
  if (how == IMessageBoxes::Yes) {
    const auto path = dialogs.saveSyx(QString::fromStdString(dlg_.library().name()));
    if (!path) return;
    std::vector<PatchData> patches;
    for (int slot : chosen) patches.push_back(dlg_.library().library().slot(std::size_t(slot)).data);
    writeSyxFile(patches, *path);
  } else if (how == IMessageBoxes::No) {
    if (const auto folder = dialogs.chooseFolder()) writeFolder(chosen, *folder);
  }
}

void LibraryExchange::writeFolder(const std::vector<int>& chosen, const fs::path& folder) const {
  std::vector<std::string> names, taken;
  for (int slot : chosen)
    names.push_back(patchName(dlg_.library().library().slot(std::size_t(slot)).data));
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec))
    taken.push_back(e.path().filename().string());
  const std::vector<std::string> files = uniqueFileNames(names, taken, ".ZBP");
  for (std::size_t i = 0; i < chosen.size(); ++i)
    writePatchFile(dlg_.library().library().slot(std::size_t(chosen[i])), folder / files[i]);
}

void LibraryExchange::OpenSyxAsCurrent(const fs::path& path) {
  const SyxContents syx = readSyxFile(path);
  if (syx.patches.size() != 1) throw CGenericException(strings::PatchFormatError, 1, path.string());
  dlg_.flows().OpenPatchEntry(entryFromSyx(syx.patches.front(), modelForSyx()));
}

}  // namespace orv
