#pragma once
// The texts of the parameter reference in one language, read from a file of `key = text` lines
// (docs/help/parameters_<lang>.txt; the format is described at the top of those files).
#include <istream>
#include <map>
#include <string>
#include <vector>

namespace orv::helpdoc {

class DescriptionFile {
 public:
  // Reads the file. Throws std::runtime_error naming the file and line for a line that is not
  // `key = text`, a key given twice, an empty text or a continuation line with nothing before it.
  static DescriptionFile read(std::istream& in, const std::string& name);
  static DescriptionFile load(const std::string& path);

  // The text of `key`, or nullptr.
  const std::string* find(const std::string& key) const;
  std::vector<std::string> keys() const;

 private:
  std::map<std::string, std::string> texts_;
};

}  // namespace orv::helpdoc
