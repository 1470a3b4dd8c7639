#include "ReferenceWriter.h"

#include <stdexcept>

namespace orv::helpdoc {

namespace {

constexpr std::size_t kFamilies = 5;

// A cell of a Markdown table: a '|' would end it.
std::string cell(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '|') out += '\\';
    out += c;
  }
  return out;
}

std::string listed(const std::vector<char>& families) {
  std::string text;
  for (char f : families) (text += text.empty() ? "" : ", ") += f;
  return text;
}

std::string trimmedLine(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return std::string(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
}

}  // namespace

std::string ReferenceWriter::text(const std::string& key) const {
  used_.insert(key);
  const std::string* found = texts_.find(key);
  if (!found) {
    missing_.insert(key);
    return {};
  }
  return *found;
}

// A label with "{}" standing for `value`.
std::string ReferenceWriter::label(const std::string& name, const std::string& value) const {
  std::string s = text("label." + name);
  if (const std::size_t at = s.find("{}"); at != std::string::npos) s.replace(at, 2, value);
  return s;
}

std::string ReferenceWriter::familiesLine(const std::vector<char>& families) const {
  if (families.size() == kFamilies) return label("every-family");
  return families.size() == 1 ? label("family", listed(families))
                              : label("families", listed(families));
}

std::string ReferenceWriter::table(const ReferenceTable& t) const {
  std::string md =
      "### " + t.title + "\n\n*" + familiesLine(t.families) + "*\n\n" + text(t.key) + "\n\n";
  const bool knobs = t.kind == ReferenceTable::Kind::Knobs;
  if (knobs)
    md += "| " + label("control") + " | " + label("range") + " | " + label("step") + " | " +
          label("what-it-does") + " |\n|---|---|---|---|\n";
  else
    md += "| " + label("name") + " | " + label("what-it-does") + " |\n|---|---|\n";
  for (const ReferenceRow& row : t.rows) {
    md += "| **" + cell(row.caption) + "** | ";
    if (knobs)
      md += cell(row.range) + " | " + cell(row.step.empty() ? label("choice") : row.step) + " | ";
    md += cell(text(row.key)) + " |\n";
  }
  return md + "\n";
}

std::string ReferenceWriter::markdown(const std::vector<ReferenceTable>& tables) const {
  used_.clear(), missing_.clear();
  // Every label is asked for, whether these tables need it or not.
  for (const char* name : {"control", "range", "step", "what-it-does", "name", "choice", "family",
                           "families", "every-family"})
    label(name);
  std::string md;
  for (const ReferenceTable& t : tables) md += table(t);
  std::string problems;
  for (const std::string& key : missing_) problems += "\n  no description for " + key;
  for (const std::string& key : texts_.keys())
    if (!used_.count(key)) problems += "\n  nothing uses " + key;
  if (!problems.empty())
    throw std::runtime_error("the parameter descriptions are incomplete:" + problems);
  return md;
}

std::string ReferenceWriter::assemble(std::string_view manual,
                                      const std::vector<ReferenceTable>& tables) const {
  std::string out;
  int markers = 0;
  while (!manual.empty()) {
    const std::size_t end = manual.find('\n');
    const std::string_view line = manual.substr(0, end);
    if (trimmedLine(line) == kMarker) {
      ++markers;
      out += markdown(tables);
    } else {
      (out += line) += '\n';
    }
    manual.remove_prefix(end == std::string_view::npos ? manual.size() : end + 1);
  }
  if (markers != 1)
    throw std::runtime_error("the manual must hold the line " + std::string(kMarker) +
                             " exactly once (found " + std::to_string(markers) + ")");
  return out;
}

}  // namespace orv::helpdoc
