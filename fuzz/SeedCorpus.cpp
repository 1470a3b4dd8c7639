// Writes a small starting corpus for each fuzz target into FOLDER/<target>/: valid files and
// messages for the fuzzer to mutate from. Usage: fuzz_seeds FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "device/SysexCodec.h"
#include "patch/LibraryFile.h"

namespace fs = std::filesystem;

namespace {

void put(const fs::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
  fs::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void put(const fs::path& folder, const std::string& name, const std::string& text) {
  put(folder, name, std::vector<uint8_t>(text.begin(), text.end()));
}

orv::LibraryEntry richEntry() {
  orv::LibraryEntry e;
  orv::initPatch("Seed", e.data);
  e.data[orv::patch::kCompType] = orv::patch::Rack;
  e.data[orv::patch::kEffectType] = orv::patch::Phaser;
  e.modelCode = '2';
  return e;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
    return 2;
  }
  const fs::path root = argv[1];
  orv::PatchData init;
  orv::initPatch(std::nullopt, init);
  orv::Library library = orv::makeNewLibrary(init);
  put(root / "library", "new", orv::encodeLibrary(library));
  library.slot(7) = richEntry();
  put(root / "library", "rich", orv::encodeLibrary(library));

  put(root / "patchfile", "rich", orv::encodePatchFile(richEntry()));
  put(root / "patchfile", "short", std::string("VKRP\1\2\3"));

  put(root / "settings", "full",
      std::string("[Window]\r\nPosX=120\r\nPosY=-4\r\n[Library]\r\nPath=/home/a/b.ZBL\r\n"
                  "Saved=1\r\n[MIDI]\r\nIn=ORV10\r\nOut=ORV10\r\n[Dial]\r\nType=0\r\n"));
  put(root / "settings", "odd", std::string("; note\n[ library ]\npath = x\n[Other]\nk=v\n"));

  // First byte picks the parse identifier.
  const char* texts[] = {"\x03-12.5",
                         "\x06Thru",
                         "\x08 21",
                         "\x0a"
                         "15",
                         "\x0e"
                         "2.5e1",
                         "\x0f"
                         "inf"};
  for (int i = 0; i < 6; ++i) put(root / "parse", "t" + std::to_string(i), std::string(texts[i]));

  put(root / "sysex", "dump", orv::sysex::encodeBulkDump(richEntry().data));
  put(root / "sysex", "param", orv::sysex::encodeParameterChange(177, 2, 44));
  put(root / "sysex", "setting", orv::sysex::encodeSettingChange(2, 3));
  put(root / "sysex", "identity",
      std::vector<uint8_t>{0xF0, 0x43, 0x7D, 0x60, 'V', 'K', 'R', '2', 0xF7});
  put(root / "sysex", "request", orv::sysex::encodeDumpRequest());
  return 0;
}
