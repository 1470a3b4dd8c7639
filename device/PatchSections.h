#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "patch/PatchData.h"

namespace orv {

// One parameter of a patch as a person reads it.
struct ParameterView {
  int id = 0;
  std::string caption;
  int value = 0;          // raw value (14-bit number for two-byte parameters)
  std::string text;       // the value text; for selectors the item's name ("?" when unknown)
  bool selector = false;  // cabinet and knee: chosen from a list of names
  bool known = true;      // false when a selector's value lies outside its list
};

// One section of a patch: the amplifier, compressor, effect, delay, reverb or gate.
struct SectionView {
  std::string title;                    // "Compressor"
  std::string key;                      // "compressor"
  int type = 0;                         // the type byte (amp type for the amplifier)
  std::optional<std::string> typeName;  // when the type has a name
  std::optional<int> onOff;             // the on/off byte (0 on, 127 off); none for the amp
  std::vector<ParameterView> parameters;
};

// The sections of a patch with the parameters of their present types. The model byte chooses
// the amplifier and cabinet names ('0'..'4'; other bytes read as '0').
std::vector<SectionView> describePatch(const PatchData& patch, uint8_t modelByte);

}  // namespace orv
