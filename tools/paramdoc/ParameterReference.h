#pragma once
// The parameter reference of the manual: every knob and selector of every model family, as the
// panel captions it and as its read-out shows its values, gathered from the program's own tables.
#include <string>
#include <vector>

namespace orv::helpdoc {

struct ReferenceRow {
  std::string key;      // description key: "reverb.hall.pre-delay", "amp-type.brit-hi"
  std::string caption;  // as the panel captions the control, or the choice's name
  std::string range;    // "0.0 … 10.0", "1000Hz … Thru"; a list's names for selectors
  std::string step;     // one step of the read-out ("0.1ms"); empty for selectors
  bool operator==(const ReferenceRow&) const = default;
};

struct ReferenceTable {
  enum class Kind { Knobs, Choices };
  Kind kind = Kind::Knobs;
  std::string key;    // description key of the table's introduction: "reverb.hall", "tape-echo"
  std::string title;  // "Reverb: Hall", "Tape Echo", "Mic Type"
  std::vector<ReferenceRow> rows;
  std::vector<char> families;  // the model families ('0'..'4') the table holds for
};

class ParameterReference {
 public:
  // The tables in panel order: amplifier type, amplifier, compressor, effect, delay, reverb and
  // gate, each type of a section a table of its own. A table that reads the same on several model
  // families appears once, naming them all.
  static std::vector<ReferenceTable> build();

  // The tables of one model family, in panel order.
  static std::vector<ReferenceTable> ofFamily(char family);

  // "Pre Delay" -> "pre-delay": lower-case letters and digits, other runs as one '-'.
  static std::string slug(std::string_view text);
};

}  // namespace orv::helpdoc
