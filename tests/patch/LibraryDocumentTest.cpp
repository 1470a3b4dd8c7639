#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "patch/GenericException.h"
#include "patch/LibraryDocument.h"
#include "patch/LibraryFile.h"
#include "patch/LibraryHost.h"
#include "support/TempDir.h"

using namespace orv;
using orv::test::TempDir;
using orv::test::writeBytes;

namespace {

// Stands in for the main window: answers questions as told and records what it was asked to do.
struct FakeHost : ILibraryHost {
  bool answer = true;
  std::optional<std::filesystem::path> openChoice, saveChoice, starterChoice;
  std::vector<int> questions, hints, failures;
  int starterDialogs = 0, saveDialogs = 0, setUps = 0, shown = 0, loads = 0;
  bool edited = false, onlyHere = false;
  PatchData patch;

  bool askYesNo(int id) override {
    questions.push_back(id);
    return answer;
  }
  void showHint(int id) override { hints.push_back(id); }
  void reportFailure(const CGenericException& e) override { failures.push_back(e.code()); }
  std::optional<std::filesystem::path> chooseLibraryToOpen() override { return openChoice; }
  std::optional<std::filesystem::path> chooseLibraryToSave() override {
    ++saveDialogs;
    return saveChoice;
  }
  std::optional<std::filesystem::path> chooseStarterLibrary() override {
    ++starterDialogs;
    return starterChoice;
  }
  bool patchEdited() const override { return edited; }
  bool soundOnlyHere() const override { return onlyHere; }
  void setPatchEdited(bool e) override { edited = e; }
  PatchData currentPatch() const override { return patch; }
  void loadCurrentPatch(const PatchData& p) override {
    patch = p;
    ++loads;
  }
  void libraryShown() override { ++shown; }
  void markLibrarySetUp() override { ++setUps; }
};

Library namedLibrary(const std::string& prefix) {
  Library lib;
  for (int i = 0; i < 100; ++i) {
    LibraryEntry e;
    initPatch(prefix + std::to_string(i), e.data);
    lib.append(e);
  }
  return lib;
}

void expectNewLibrary(const LibraryDocument& doc) {
  ASSERT_EQ(doc.library().size(), 100u);
  const Library::Header expected{'V', 'K', 'R', 'B', '0', '1', 100, 0};
  EXPECT_EQ(doc.library().header(), expected);
  const std::vector<std::string> rows = doc.rows();
  ASSERT_EQ(rows.size(), 100u);
  EXPECT_EQ(rows.front(), "001 Empty");
  EXPECT_EQ(rows.back(), "100 Empty");
  for (const LibraryEntry& e : doc.library().entries()) {
    EXPECT_EQ(e.modelCode, 0xFF);
    EXPECT_EQ(e.header, (std::array<uint8_t, 5>{}));
  }
  EXPECT_TRUE(doc.path().empty());
  EXPECT_TRUE(doc.name().empty());
  EXPECT_FALSE(doc.changed());
  EXPECT_FALSE(doc.saveEnabled());
}

}  // namespace

TEST(LibraryDocument, FirstStartWithoutLibraryAsksForPresetAndMakesNewLibrary) {
  FakeHost host;
  host.patch.bytes.fill(0x11);
  LibraryDocument doc(host);
  doc.startUp({}, false);
  EXPECT_EQ(host.hints, std::vector<int>{2000});
  expectNewLibrary(doc);
  EXPECT_EQ(host.setUps, 1);
  // The current patch became the Init patch, was sent, and each slot is a copy of it.
  EXPECT_EQ(host.loads, 1);
  EXPECT_EQ(patchName(host.patch), "Empty");
  EXPECT_EQ(host.patch[100], 0x11);  // bytes the Init patch does not name stay
  EXPECT_EQ(doc.library().slot(42).data, host.patch);
  EXPECT_EQ(doc.currentSlot(), -1);

  FakeHost again;
  LibraryDocument second(again);
  second.startUp({}, true);
  EXPECT_TRUE(again.hints.empty());
}

TEST(LibraryDocument, FirstStartOffersTheStarterLibraryAfterTheHint) {
  TempDir dir;
  writeLibrary(namedLibrary("Starter "), dir / "Starter.ZBL");
  FakeHost host;
  host.starterChoice = dir / "Starter.ZBL";
  LibraryDocument doc(host);
  doc.startUp({}, false);
  EXPECT_EQ(host.hints, std::vector<int>{2000});
  EXPECT_EQ(host.starterDialogs, 1);
  EXPECT_EQ(doc.path(), dir / "Starter.ZBL");
  EXPECT_EQ(doc.rows()[5], "006 Starter 5");
  EXPECT_EQ(host.setUps, 1);

  // A later start does not offer it again.
  FakeHost later;
  LibraryDocument second(later);
  second.startUp({}, true);
  EXPECT_EQ(later.starterDialogs, 0);
}

TEST(LibraryDocument, SaveOfALibraryThatMayNotBeWrittenGoesThroughSaveAs) {
  TempDir dir;
  writeLibrary(namedLibrary("R"), dir / "Shipped.ZBL");
  std::filesystem::permissions(dir / "Shipped.ZBL", std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::group_read |
                                                         std::filesystem::perms::others_read);
  const std::vector<uint8_t> shipped = orv::test::readBytes(dir / "Shipped.ZBL");
  FakeHost host;
  LibraryDocument doc(host);
  doc.startUp(dir / "Shipped.ZBL", true);
  doc.library().slot(0).data[0] = 'Y';
  doc.enableSave();
  host.saveChoice = dir / "Mine.ZBL";
  EXPECT_TRUE(doc.commandSave());
  EXPECT_EQ(host.saveDialogs, 1);
  EXPECT_TRUE(host.failures.empty());
  EXPECT_EQ(doc.path(), dir / "Mine.ZBL");
  EXPECT_EQ(orv::test::readBytes(dir / "Shipped.ZBL"), shipped);
}

TEST(LibraryDocument, StartUpOpensTheSettingsLibraryOrRecovers) {
  TempDir dir;
  writeLibrary(namedLibrary("Lead "), dir / "Stage Set.ZBL");
  FakeHost host;
  LibraryDocument doc(host);
  doc.startUp(dir / "Stage Set.ZBL", true);
  EXPECT_EQ(doc.rows()[0], "001 Lead 0");
  EXPECT_EQ(doc.name(), "Stage Set");
  EXPECT_EQ(doc.path(), dir / "Stage Set.ZBL");
  EXPECT_TRUE(host.failures.empty());

  // A broken settings library at start leaves a new library and an empty path.
  std::vector<uint8_t> bad(26108, 0);
  std::memcpy(bad.data(), "VKRP", 4);
  writeBytes(dir / "Broken.ZBL", bad);
  FakeHost badHost;
  LibraryDocument broken(badHost);
  broken.startUp(dir / "Broken.ZBL", true);
  EXPECT_EQ(badHost.failures, std::vector<int>{302});
  expectNewLibrary(broken);
  EXPECT_EQ(broken.configuredPath(), dir / "Broken.ZBL") << "the settings keep naming it";
}

TEST(LibraryDocument, FailedOpenKeepsTheLibraryExactlyAsItWas) {
  TempDir dir;
  writeLibrary(namedLibrary("Good "), dir / "Good.ZBL");
  std::vector<uint8_t> bad(26109, 0);
  std::memcpy(bad.data(), "VKRB", 4);
  writeBytes(dir / "Bad.ZBL", bad);

  FakeHost host;
  LibraryDocument doc(host);
  doc.startUp(dir / "Good.ZBL", true);
  doc.library().slot(3).data[0] = 'X';  // an unsaved change
  doc.enableSave();
  doc.setCurrentSlot(3);
  const Library before = doc.library();
  const Library savedBefore = doc.savedLibrary();

  host.openChoice = dir / "Bad.ZBL";
  EXPECT_FALSE(doc.commandOpen());
  EXPECT_EQ(host.questions, std::vector<int>{1002});
  EXPECT_EQ(host.failures, std::vector<int>{302});
  EXPECT_EQ(doc.library(), before);
  EXPECT_EQ(doc.savedLibrary(), savedBefore);
  EXPECT_EQ(doc.path(), dir / "Good.ZBL");
  EXPECT_EQ(doc.name(), "Good");
  EXPECT_TRUE(doc.changed());
  EXPECT_TRUE(doc.saveEnabled());
  EXPECT_EQ(doc.currentSlot(), -1);

  // A file that cannot be read at all is reported with its own code.
  EXPECT_FALSE(doc.openFile(dir / "Missing.ZBL"));
  EXPECT_EQ(host.failures.back(), 300);
  EXPECT_EQ(doc.library(), before);
}

TEST(LibraryDocument, OpenAsksOnlyWhenSomethingWouldBeLost) {
  TempDir dir;
  writeLibrary(namedLibrary("A"), dir / "A.ZBL");
  writeLibrary(namedLibrary("B"), dir / "B.ZBL");
  FakeHost host;
  LibraryDocument doc(host);
  doc.startUp(dir / "A.ZBL", true);

  host.openChoice = dir / "B.ZBL";
  EXPECT_TRUE(doc.commandOpen());
  EXPECT_TRUE(host.questions.empty());
  EXPECT_EQ(doc.name(), "B");
  EXPECT_FALSE(doc.saveEnabled());

  host.onlyHere = true;
  host.answer = false;
  EXPECT_FALSE(doc.openFile(dir / "A.ZBL"));
  EXPECT_EQ(host.questions, std::vector<int>{1002});
  EXPECT_EQ(doc.name(), "B");

  host.answer = true;
  host.openChoice.reset();  // the dialog is cancelled
  EXPECT_FALSE(doc.commandOpen());
  EXPECT_EQ(doc.name(), "B");
}

TEST(LibraryDocument, NewAsksWhenChangedAndKeepsTheCurrentPatch) {
  TempDir dir;
  writeLibrary(namedLibrary("S"), dir / "S.ZBL");
  FakeHost host;
  LibraryDocument doc(host);
  doc.startUp(dir / "S.ZBL", true);
  doc.library().slot(0).data[5] = 1;

  host.answer = false;
  EXPECT_FALSE(doc.commandNew());
  EXPECT_EQ(host.questions, std::vector<int>{1001});
  EXPECT_EQ(doc.name(), "S");

  host.answer = true;
  host.edited = true;
  initPatch("Mine", host.patch);
  const PatchData mine = host.patch;
  doc.setCurrentSlot(7);
  EXPECT_TRUE(doc.commandNew());
  expectNewLibrary(doc);
  EXPECT_TRUE(doc.configuredPath().empty());
  EXPECT_EQ(host.loads, 0) << "nothing is sent";
  EXPECT_EQ(host.patch, mine);
  EXPECT_TRUE(host.edited) << "the patch is in no slot of the new library";
  EXPECT_EQ(doc.currentSlot(), -1);
}

TEST(LibraryDocument, ChangedIgnoresSlotHeadersAndModelBytes) {
  FakeHost host;
  LibraryDocument doc(host);
  doc.newLibrary();
  doc.library().slot(10).modelCode = '2';
  doc.library().slot(11).header = {1, 2, 3, 4, 5};
  EXPECT_FALSE(doc.changed());
  EXPECT_FALSE(doc.hasPendingChanges());
  host.edited = true;  // held by the amplifier: nothing to lose
  EXPECT_FALSE(doc.hasPendingChanges());
  host.onlyHere = true;
  EXPECT_TRUE(doc.hasPendingChanges());
  host.onlyHere = false;

  doc.library().slot(99).data[255] = 1;  // every one of the 256 data bytes counts
  EXPECT_TRUE(doc.changed());
  doc.library().slot(99).data[255] = doc.savedLibrary().slot(99).data[255];
  doc.library().setKeptBytes('0', '2');  // and so does the library's own header
  EXPECT_TRUE(doc.changed());
}

TEST(LibraryDocument, SaveWritesInPlaceOrFallsBackToSaveAs) {
  TempDir dir;
  writeLibrary(namedLibrary("S"), dir / "S.ZBL");
  FakeHost host;
  LibraryDocument doc(host);
  doc.startUp(dir / "S.ZBL", true);
  doc.library().slot(0).data[0] = 'Y';
  doc.enableSave();
  EXPECT_TRUE(doc.commandSave());
  EXPECT_EQ(host.saveDialogs, 0);
  EXPECT_FALSE(doc.changed());
  EXPECT_FALSE(doc.saveEnabled());
  Library back;
  readLibrary(back, dir / "S.ZBL");
  EXPECT_EQ(back.slot(0).data[0], 'Y');

  // The file was deleted meanwhile: Save behaves as Save as.
  std::filesystem::remove(dir / "S.ZBL");
  doc.library().slot(0).data[0] = 'Z';
  host.saveChoice = dir / "Elsewhere.ZBL";
  const int setUps = host.setUps;
  EXPECT_TRUE(doc.commandSave());
  EXPECT_EQ(host.saveDialogs, 1);
  EXPECT_EQ(doc.path(), dir / "Elsewhere.ZBL");
  EXPECT_EQ(doc.name(), "Elsewhere");
  EXPECT_EQ(host.setUps, setUps + 1);
  EXPECT_TRUE(std::filesystem::exists(dir / "Elsewhere.ZBL"));

  // A new library has no path: Save asks for one; cancelling changes nothing.
  doc.newLibrary();
  host.saveChoice.reset();
  EXPECT_FALSE(doc.commandSave());
  EXPECT_EQ(host.saveDialogs, 2);
  EXPECT_TRUE(doc.path().empty());
}

TEST(LibraryDocument, FailedSaveKeepsLibraryPathAndSavedCopy) {
  TempDir dir;
  FakeHost host;
  LibraryDocument doc(host);
  doc.newLibrary();
  doc.library().slot(1).data[1] = 'Q';
  doc.enableSave();
  host.saveChoice = dir / "missing folder" / "x.ZBL";
  EXPECT_FALSE(doc.commandSaveAs());
  EXPECT_EQ(host.failures, std::vector<int>{301});
  EXPECT_TRUE(doc.path().empty());
  EXPECT_TRUE(doc.changed());
  EXPECT_TRUE(doc.saveEnabled());
  EXPECT_FALSE(std::filesystem::exists(dir / "missing folder"));
}

TEST(LibraryDocument, RowsShowNumberAndWholeName) {
  FakeHost host;
  LibraryDocument doc(host);
  doc.newLibrary();
  const std::string full(64, 'N');
  initPatch(full, doc.library().slot(8).data);
  doc.library().slot(8).data[64] = 'X';  // right after the name field: not part of the name
  initPatch("Crunch", doc.library().slot(99).data);
  const std::vector<std::string> rows = doc.rows();
  EXPECT_EQ(rows[8], "009 " + full);
  EXPECT_EQ(rows[99], "100 Crunch");
  EXPECT_EQ(rows[9], "010 Empty");
}
