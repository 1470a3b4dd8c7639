#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "patch/PatchData.h"

namespace orv {

// One row of the differences between two patches, captioned as the panel captions it, with the
// values as its read-outs show them. The texts are Latin-1 (patch names may hold bytes above 0x7F).
struct PatchDifference {
  std::string section;    // "Compressor"; "Patch" for the name, the model and unused bytes
  std::string parameter;  // the panel's caption ("Threshold"), "Type", "On/Off", "Name"
  std::string before;     // the value text in the first patch
  std::string after;      // the value text in the second patch
};

// A patch with the model byte that chooses its amp and cabinet names ('0'..'4'; others read
// as '0').
struct DescribedPatch {
  const PatchData& data;
  uint8_t model;
};

// What differs between `before` and `after`, section by section in panel order: the name, each
// section's type and on/off switch, then its parameters. When a section's type differs, the
// parameters the two types share are compared; those of only one type are listed under
// "<type> <caption>" with "(not in use)" on the other side. Stored bytes that no listed row
// covers (settings of types not in use, spare bytes) make one last row counting them in its
// second value. Empty when
// the two are the same.
std::vector<PatchDifference> patchDifferences(const DescribedPatch& before,
                                              const DescribedPatch& after);

// The text a side without the parameter shows.
inline constexpr const char* kNotInUse = "(not in use)";

}  // namespace orv
