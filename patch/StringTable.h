#pragma once
#include <string_view>

namespace orv {

// Every user-visible text is looked up here by its number. Unknown numbers give an empty text.
std::string_view stringText(int id);

namespace strings {
constexpr int UsbInputError = 200;
constexpr int UsbOutputError = 201;
constexpr int UsbSendError = 202;
constexpr int InvalidParameter = 203;
constexpr int LibraryLoadFailed = 300;
constexpr int LibraryWriteFailed = 301;
constexpr int LibraryFormatError = 302;
constexpr int PatchImportFailed = 303;
constexpr int PatchExportFailed = 304;
constexpr int PatchFormatError = 305;
constexpr int NoPatchSelected = 307;
constexpr int NoPatchName = 309;
constexpr int HelpNeedsReader = 310;
constexpr int HelpNotFound = 311;
constexpr int AlreadyStarted = 402;
constexpr int UnsupportedCharacters = 403;
constexpr int InvalidModel = 404;
constexpr int UnsupportedFile = 405;
constexpr int ImportPresetLibrary = 2000;
}  // namespace strings

}  // namespace orv
