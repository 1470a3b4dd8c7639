// The help documents as a reader gets them: a page per major topic, and every control of every
// model family with the range its read-out shows, read back from the PDF with pdftotext.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "device/ControlRanges.h"
#include "device/ParameterMap.h"
#include "device/PatchSections.h"
#include "patch/NameLists.h"
#include "patch/PatchData.h"
#include "patch/ValueText.h"
#include "skin/ModelSkin.h"

namespace orv {
namespace {

struct Document {
  std::vector<std::string> pages;  // the text of each page
  std::string text;                // all pages, every run of white space as one blank
};

std::string collapsed(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\n' || c == '\t' || c == '\f' || c == '\r';
    if (!blank)
      out += c;
    else if (!out.empty() && out.back() != ' ')
      out += ' ';
  }
  return out;
}

Document readPdf(const std::string& name) {
  const std::string command =
      "pdftotext -raw -enc UTF-8 '" + std::string(ORV_HELP_PDF_DIR) + "/" + name + "' - 2>&1";
  Document doc;
  std::string all;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> chunk{};
    while (std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe))
      all.append(chunk.data(), n);
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << command << ": " << all;
  }
  std::istringstream pages(all);
  for (std::string page; std::getline(pages, page, '\f');) doc.pages.push_back(page);
  doc.text = collapsed(all);
  return doc;
}

// The major topics of a manual: its level-2 headings.
std::vector<std::string> topicsOf(const std::string& name) {
  std::ifstream in(std::string(ORV_HELP_SOURCE_DIR) + "/" + name);
  std::vector<std::string> topics;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("## ", 0) == 0) topics.push_back(line.substr(3));
  return topics;
}

std::string firstLine(const std::string& page) {
  std::istringstream lines(page);
  for (std::string line; std::getline(lines, line);)
    if (line.find_first_not_of(" \t") != std::string::npos) return collapsed(line);
  return {};
}

// Every caption the panel shows on model family `family`, and every range its read-outs span.
std::set<std::string> panelTexts(char family) {
  std::set<std::string> texts;
  for (int type = 0; type <= maxAmpType(family); ++type)
    texts.insert(std::string(ampModelName(family, type)));
  for (uint8_t item = 0; item < 4; ++item) {
    PatchData p;
    p[patch::kCompType] = p[patch::kReverbType] = item;
    p[patch::kEffectType] = effectListToData(item);
    for (const SectionView& s : describePatch(p, uint8_t(family))) {
      if (s.typeName) texts.insert(*s.typeName);
      for (const ParameterView& v : s.parameters) {
        if (v.id == params::kCabinet && !ModelSkin::forModel(family).hasCabinet) continue;
        texts.insert(v.caption);
        if (const auto range = panel::knobRange(v.id); range && v.id != 1014)
          texts.insert(formatValue(v.id, range->min) + " \xE2\x80\xA6 " +
                       formatValue(v.id, range->max));
      }
    }
  }
  if (ModelSkin::forModel(family).hasCabinet)
    for (std::string_view cabinet : pullDownItems(cabinetListKind(family)))
      texts.insert(std::string(cabinet));
  texts.insert(std::string(panel::sectionTitle(panel::Section::Delay, family)));
  texts.insert(std::string(panel::ampSelectorTitle(family)));
  return texts;
}

class HelpDocuments : public ::testing::TestWithParam<const char*> {};

TEST_P(HelpDocuments, GiveEachMajorTopicAPageOfItsOwn) {
  const std::string lang = GetParam();
  const Document doc = readPdf("ORV_Editor_" + lang + ".pdf");
  const std::vector<std::string> topics = topicsOf("ORV_Editor_" + lang + ".md");
  ASSERT_FALSE(topics.empty());
  std::set<std::string> pageStarts;
  for (const std::string& page : doc.pages) pageStarts.insert(firstLine(page));
  for (const std::string& topic : topics)
    EXPECT_TRUE(pageStarts.count(collapsed(topic))) << "no page begins with " << topic;
}

TEST_P(HelpDocuments, CarryEveryControlOfEveryModelFamily) {
  const std::string lang = GetParam();
  const Document doc = readPdf("ORV_Editor_" + lang + ".pdf");
  for (char family = '0'; family <= '4'; ++family)
    for (const std::string& text : panelTexts(family))
      EXPECT_NE(doc.text.find(text), std::string::npos)
          << "ORV_Editor_" << lang << ".pdf lacks \"" << text << "\" of model family " << family;
}

TEST(EnglishManual, CoversTheTopicsAGuitaristLooksFor) {
  const std::vector<std::string> expected{"Getting Started",
                                          "The Panel",
                                          "Sounds and Parameters",
                                          "The Library",
                                          "Undo, Redo and Compare",
                                          "Import, Export and SysEx Files",
                                          "Preferences and Device Settings",
                                          "Keyboard and Shortcuts",
                                          "Accessibility",
                                          "MIDI Set-up",
                                          "Troubleshooting",
                                          "orv-cli",
                                          "orv-ampsim"};
  EXPECT_EQ(topicsOf("ORV_Editor_en.md"), expected);
}

INSTANTIATE_TEST_SUITE_P(Languages, HelpDocuments, ::testing::Values("en", "jp"));

}  // namespace
}  // namespace orv
