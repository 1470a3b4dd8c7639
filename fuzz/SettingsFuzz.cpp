// The settings reader: any file gives a record, and writing that record into the same file and
// reading it again gives the same record.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/IniFile.h"
#include "settings/VKRPrefData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  orv::IniFile ini;
  ini.parse(text);
  orv::CVKRPrefData prefs;
  prefs.read(ini);
  if (prefs.libraryPath().size() > 2047 || prefs.midiIn().size() > 2047) __builtin_trap();

  prefs.write(ini);
  orv::IniFile again;
  again.parse(ini.text());
  orv::CVKRPrefData back;
  back.read(again);
  if (!(back == prefs)) __builtin_trap();
  return 0;
}
