#pragma once
#include <string_view>
#include <vector>

namespace orv {

// The fixed names the panel shows: pull-down lists, knob captions and amplifier model names.

// Items of pull-down list `list` (0..7), item i standing for value i (the effect list orders its
// items Chorus, Flanger, Phaser, Tremolo). Empty outside 0..7.
std::vector<std::string_view> pullDownItems(int list);

// The sections whose knob captions change with the section's type.
enum class Section { Compressor, Effect, Delay, Reverb, Gate };

// Captions of a section's knobs, first knob first, for a type in data numbering (the effect
// types are 0 Chorus, 1 Flanger, 2 Tremolo, 3 Phaser). Delay and gate captions are the same for
// every type. Empty for an unknown compressor, effect or reverb type.
std::vector<std::string_view> knobCaptions(Section section, int type);

// The name of amplifier position `ampType` on the model family of `modelCode` ('0'..'4'; other
// codes use the names of '0' and '1'). Empty for a position the family does not have.
std::string_view ampModelName(char modelCode, int ampType);

// The marks of the Rack compressor's Ratio scale for the values 0..5 (UTF-8: the last is the
// infinity sign); empty outside.
std::string_view ratioMark(int value);

}  // namespace orv
