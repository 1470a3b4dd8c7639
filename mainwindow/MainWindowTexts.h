#pragma once
#include <QString>

namespace orv::texts {

// The questions and hints the main window and its dialogs ask (1000..1008), beside the shared
// string table.
constexpr int kAskQuit = 1000;
constexpr int kAskNew = 1001;
constexpr int kAskOpen = 1002;
constexpr int kAskSaveBeforeLoad = 1003;
constexpr int kAskSaveBeforeImport = 1004;
constexpr int kPickSaveSlot = 1005;
constexpr int kPickImportSlot = 1006;
constexpr int kPickExportSlot = 1007;
// An amplifier came back while the panel holds a sound it never received.
constexpr int kAskSendOnReconnect = 1008;

// The text of `id` from these or the shared string table; empty when there is none.
QString text(int id);

}  // namespace orv::texts
