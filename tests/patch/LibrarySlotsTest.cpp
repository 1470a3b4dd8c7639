#include <gtest/gtest.h>

#include <string>

#include "patch/GenericException.h"
#include "patch/LibrarySlots.h"
#include "support/FailureOf.h"

using namespace orv;

namespace {

// Every slot different in data, header and model byte, so that any stray write shows.
Library distinctLibrary() {
  Library library;
  for (int i = 0; i < 100; ++i) {
    LibraryEntry e;
    initPatch("Patch " + std::to_string(i), e.data);
    e.data[patch::kGain] = static_cast<uint8_t>(i);
    e.header = {static_cast<uint8_t>(i % 2), 0, 0, 0, 0};
    e.modelCode = static_cast<uint8_t>(i);
    library.append(e);
  }
  return library;
}

}  // namespace

using orv::test::codeOf;

TEST(LibrarySlots, RenameAndCopyTouchOnlyTheirSlot) {
  const Library before = distinctLibrary();
  Library renamed = before;
  renameSlot(renamed, 7, std::string(70, 'x'));
  Library copied = before;
  copySlot(copied, 3, 90);
  for (std::size_t i = 0; i < 100; ++i) {
    if (i != 7) {
      EXPECT_EQ(renamed.slot(i), before.slot(i)) << i;
    }
    if (i != 90) {
      EXPECT_EQ(copied.slot(i), before.slot(i)) << i;
    }
  }
  EXPECT_EQ(patchName(renamed.slot(7).data), std::string(64, 'x'));
  // Only the name field changed.
  EXPECT_TRUE(std::equal(renamed.slot(7).data.bytes.begin() + 64, renamed.slot(7).data.bytes.end(),
                         before.slot(7).data.bytes.begin() + 64));
  EXPECT_EQ(copied.slot(90), before.slot(3));

  // The name rules of Save To Library; a refused name changes nothing.
  Library refused = before;
  EXPECT_EQ(codeOf([&] { renameSlot(refused, 7, ""); }), 309);
  EXPECT_EQ(codeOf([&] { renameSlot(refused, 7, "Caf\xC3\xA9"); }), 403);
  EXPECT_EQ(refused, before);
}

TEST(LibrarySlots, MoveShiftsTheSlotsBetweenAndFollowsTheCurrentPatch) {
  const Library before = distinctLibrary();
  for (const auto& [from, to] : {std::pair{10, 20}, std::pair{20, 10}, std::pair{0, 99}}) {
    Library moved = before;
    moveSlot(moved, std::size_t(from), std::size_t(to));
    // Every patch is found where slotAfterMove says it went; nothing else changed.
    for (int i = 0; i < 100; ++i)
      EXPECT_EQ(moved.slot(std::size_t(slotAfterMove(i, from, to))), before.slot(std::size_t(i)))
          << from << "->" << to << " slot " << i;
  }
  EXPECT_EQ(slotAfterMove(15, 10, 20), 14);
  EXPECT_EQ(slotAfterMove(15, 20, 10), 16);
  EXPECT_EQ(slotAfterMove(25, 10, 20), 25);
  EXPECT_EQ(slotAfterMove(-1, 10, 20), -1);
  Library unchanged = before;
  EXPECT_THROW(moveSlot(unchanged, 5, 100), std::out_of_range);
  EXPECT_EQ(unchanged, before);
}

TEST(LibrarySlots, ExportFileNamesAreSafeAndNeverTakeAnExistingName) {
  EXPECT_EQ(uniqueFileNames({"Lead", "lead", "A/B:C", "", "Lead"}, {"LEAD.ZBP"}, ".ZBP"),
            (std::vector<std::string>{"Lead (2).ZBP", "lead (3).ZBP", "A_B_C.ZBP", "Patch.ZBP",
                                      "Lead (4).ZBP"}));
}
