#include "patch/NameLists.h"

#include <array>

namespace orv {

namespace {

using Names = std::vector<std::string_view>;

const std::array<Names, 8>& lists() {
  static const std::array<Names, 8> kLists{{
      {"Stomp", "Rack"},
      {"Chorus", "Flanger", "Phaser", "Tremolo"},
      {"Delay"},
      {"Hall", "Room", "Plate", "Spring"},
      {"American 4x12", "American 2x12", "British 4x12", "British 2x12", "1x12", "4x10"},
      {"Soft", "Medium", "Hard"},
      {"Fuel 4x12", "Brown 4x12", "Vintage 4x12", "Juicy 4x12", "Mods 4x12"},
      {"Brit Blues 2x12", "Boutique 2x12", "California 1x12", "American 1x12", "Boutique 1x12",
       "Tavolin 2x12"},
  }};
  return kLists;
}

Names compressorCaptions(int type) {
  if (type == 0) return {"Sustain", "Output"};
  if (type == 1) return {"Threshold", "Attack", "Release", "Ratio", "Knee", "Output"};
  return {};
}

Names effectCaptions(int type) {
  switch (type) {
    case 0:
      return {"Speed", "Depth", "Mix"};
    case 1:
      return {"Speed", "Manual", "Depth", "Feedback", "Spread"};
    case 2:
      return {"Freq", "Depth"};
    case 3:
      return {"Speed", "Manual", "Depth", "Feedback"};
    default:
      return {};
  }
}

Names reverbCaptions(int type) {
  if (type >= 0 && type <= 2)
    return {"Time", "Pre Delay", "Low Cut", "High Cut", "High Ratio", "Low Ratio", "Level"};
  if (type == 3) return {"Reverb", "Filter"};
  return {};
}

// Columns of the model name table: codes '0'/'1', '2', '3', '4'.
constexpr std::array<std::array<std::string_view, 8>, 4> kAmpNames{{
    {"CLEAN", "CRUNCH", "LEAD", "BRIT HI", "MODERN", "BASS", "ACO", "FLAT"},
    {"POWER I", "POWER II", "BROWN I", "BROWN II", "SOUTHERN HI", "CLEAN", "BASS", "FLAT"},
    {"DELUXE", "CLASS A", "US BLUES", "BRIT BLUES", "MINI", "BASS", "ACO", "FLAT"},
    {"EG CLN", "NYLON", "TUBE", "DYNAMIC", "CONDENSER", "", "", ""},
}};

}  // namespace

std::vector<std::string_view> pullDownItems(int list) {
  if (list < 0 || list >= static_cast<int>(lists().size())) return {};
  return lists()[static_cast<std::size_t>(list)];
}

std::vector<std::string_view> knobCaptions(Section section, int type) {
  // Delay and gate captions do not depend on the type.
  switch (section) {
    case Section::Compressor:
      return compressorCaptions(type);
    case Section::Effect:
      return effectCaptions(type);
    case Section::Delay:
      return {"Time", "Feedback", "High Cut", "Low Cut", "Level"};
    case Section::Reverb:
      return reverbCaptions(type);
    case Section::Gate:
      return {"Threshold", "Release"};
  }
  return {};
}

std::string_view ampModelName(char modelCode, int ampType) {
  if (ampType < 0 || ampType > 7) return {};
  const std::size_t column = modelCode == '2' ? 1 : modelCode == '3' ? 2 : modelCode == '4' ? 3 : 0;
  return kAmpNames[column][static_cast<std::size_t>(ampType)];
}

std::string_view ratioMark(int value) {
  static constexpr std::array<std::string_view, 6> kMarks{"1:1",  "1:4",  "1:8",
                                                          "1:12", "1:20", "\xE2\x88\x9E"};
  return value >= 0 && value < 6 ? kMarks[static_cast<std::size_t>(value)] : std::string_view{};
}

}  // namespace orv
