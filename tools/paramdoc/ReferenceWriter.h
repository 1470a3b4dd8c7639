#pragma once
// Writes the parameter reference as Markdown tables, in the language of its description file,
// and puts it into a manual in place of the marker line.
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "DescriptionFile.h"
#include "ParameterReference.h"

namespace orv::helpdoc {

class ReferenceWriter {
 public:
  // The line of a manual that the reference replaces.
  static constexpr std::string_view kMarker = "<!-- parameters -->";

  explicit ReferenceWriter(const DescriptionFile& texts) : texts_(texts) {}

  // The tables as Markdown. Throws std::runtime_error listing every key the file lacks and every
  // key of the file that nothing uses (a misspelt key would otherwise go unnoticed).
  std::string markdown(const std::vector<ReferenceTable>& tables) const;

  // `manual` with the tables in place of its marker line. Throws std::runtime_error when the
  // marker line is missing or appears more than once, or as markdown() does.
  std::string assemble(std::string_view manual, const std::vector<ReferenceTable>& tables) const;

 private:
  // The text of `key`, noting it as used, or as missing.
  std::string text(const std::string& key) const;
  std::string label(const std::string& name, const std::string& value = {}) const;
  std::string familiesLine(const std::vector<char>& families) const;
  std::string table(const ReferenceTable& t) const;

  const DescriptionFile& texts_;
  mutable std::set<std::string> used_, missing_;
};

}  // namespace orv::helpdoc
