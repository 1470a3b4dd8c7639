#pragma once
#include "patch/Library.h"
#include "tools/cli/PatchJson.h"

namespace orv::cli {

// Patches written by hand: a readable JSON form in which a sound is designed rather than dumped.
// A design names its patch, its model ("0".."4") and, per section, the type by name, whether the
// section is on and the parameters by their knob captions, as to-json shows them ("Gain": 35,
// "Cabinet": "British 2x12"). Values are raw values within each parameter's range; sections and
// parameters left out keep the values of the Init patch and of the chosen type's defaults.
//
//   {"name": "Warm Clean", "model": "1",
//    "amp": {"type": "CLEAN", "Gain": 25, "Master": 60, "Cabinet": "American 2x12"},
//    "reverb": {"type": "Room", "on": true, "Time": 15, "Level": 30}}
//
// A library design is {"patches": [ ... ]} with at most 100 designs, filling the slots from the
// first; the rest stay "Empty". Anything unknown or out of range is refused with CliError naming
// the field.
LibraryEntry patchFromDesign(const Json& design, const std::string& where);
Library libraryFromDesign(const Json& design);

}  // namespace orv::cli
