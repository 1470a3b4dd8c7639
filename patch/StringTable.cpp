#include "patch/StringTable.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orv {

namespace {
// Texts 1000..1007 (questions and hints) are added by the code that asks them.
constexpr std::array<std::pair<int, std::string_view>, 19> kTexts{{
    {200, "USB communication error."},
    {201, "USB communication error."},
    {202, "USB communication error."},
    {203, "Invalid Parameter."},
    {300, "Failed to load Library file."},
    {301, "Failed to write Library file."},
    {302, "Cannot use the selected Library file. (Format error)"},
    {303, "Failed to import Patch file."},
    {304, "Failed to export Patch file."},
    {305, "Cannot use the selected Patch file. (Format error)"},
    {307, "No Patch selected."},
    {309, "No Patch name entered."},
    {310,
     "Cannot open the Help file. The Help file requires a PDF reader. Please install a PDF "
     "reader."},
    {311, "Cannot find the Help file."},
    {402, "Has already started."},
    {403, "Unsupported Characters."},
    {404, "Invalid Model."},
    {405, "Unsupported File"},
    {2000, "Please import preset library."},
}};
}  // namespace

std::string_view stringText(int id) {
  auto it =
      std::find_if(kTexts.begin(), kTexts.end(), [id](const auto& e) { return e.first == id; });
  return it == kTexts.end() ? std::string_view{} : it->second;
}

}  // namespace orv
