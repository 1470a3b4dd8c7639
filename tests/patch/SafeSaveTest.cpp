// Saving over an existing file: permissions, owner, links and folders the user cannot write.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <string>

#include "patch/AtomicFile.h"
#include "patch/GenericException.h"
#include "patch/LibraryFile.h"
#include "support/AsUser.h"
#include "support/FailureOf.h"
#include "support/TempDir.h"

using namespace orv;
using orv::test::failureOf;
using orv::test::readBytes;
using orv::test::TempDir;

namespace {

namespace fs = std::filesystem;

Library libraryNamed(char first) {
  Library lib = makeNewLibrary(PatchData{});
  lib.slot(0).data[0] = static_cast<uint8_t>(first);
  return lib;
}

struct stat statOf(const fs::path& p) {
  struct stat st {};
  EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
  return st;
}

// Lets files grow to `bytes` at most while it lives: writes beyond fail part way (EFBIG).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit small = saved_;
    small.rlim_cur = bytes;
    applied_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  bool applied() const { return applied_; }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = SIG_DFL;
  bool applied_ = false;
};

// Runs `check` in a child process that is stopped after five seconds: an operation that would
// wait forever fails the test instead of hanging it.
bool finishesWithin5s(const std::function<bool()>& check) {
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(5);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

}  // namespace

// A file nobody may write is read-only on purpose: it is refused, even to the superuser.
TEST(SafeSave, ReadOnlyFilesAreRefusedAndKept) {
  TempDir dir;
  const fs::path lib = dir / "Presets.ZBL", patch = dir / "Lead.ZBP";
  writeLibrary(libraryNamed('A'), lib);
  writePatchFile(libraryNamed('A').slot(0), patch);
  ASSERT_EQ(chmod(lib.c_str(), 0444), 0);
  ASSERT_EQ(chmod(patch.c_str(), 0444), 0);
  const auto before = readBytes(lib);

  const CGenericException refused = failureOf([&] { writeLibrary(libraryNamed('B'), lib); });
  EXPECT_EQ(refused.code(), 301);
  EXPECT_EQ(refused.detail(), lib.string() + ": Permission denied");
  EXPECT_EQ(failureOf([&] { writePatchFile(LibraryEntry{}, patch); }).code(), 304);
  EXPECT_EQ(readBytes(lib), before);
  EXPECT_EQ(statOf(lib).st_mode & 07777, 0444u);
  EXPECT_EQ(dir.entries().size(), 2u);
}

TEST(SafeSave, ReplacedFilesKeepTheirModeOwnerAndGroup) {
  TempDir dir;
  const fs::path lib = dir / "Private.ZBL";
  writeLibrary(libraryNamed('A'), lib);
  // A mode no new file gets by itself: neither the 0600 of a replacement nor one from the umask.
  ASSERT_EQ(chmod(lib.c_str(), 0604), 0);
  test::giveToTestUser(lib);
  const struct stat before = statOf(lib);

  writeLibrary(libraryNamed('B'), lib);
  const struct stat after = statOf(lib);
  EXPECT_NE(after.st_ino, before.st_ino) << "replaced through a new file";
  EXPECT_EQ(after.st_mode & 07777, 0604u);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  Library back;
  readLibrary(back, lib);
  EXPECT_EQ(back.slot(0).data[0], 'B');
}

TEST(SafeSave, HardLinkedFilesStayOneFile) {
  TempDir dir;
  const fs::path lib = dir / "Live.ZBL", other = dir / "Backup.ZBL";
  writeLibrary(libraryNamed('A'), lib);
  fs::create_hard_link(lib, other);
  writeLibrary(libraryNamed('B'), lib);
  EXPECT_EQ(fs::hard_link_count(lib), 2u);
  EXPECT_EQ(statOf(lib).st_ino, statOf(other).st_ino);
  EXPECT_EQ(readBytes(other), encodeLibrary(libraryNamed('B')));
  EXPECT_EQ(dir.entries().size(), 2u);
}

// The user may write the file but not its folder: the file is written in place; a new file
// there is refused and nothing is created.
TEST(SafeSave, WritableFileInAFolderTheUserCannotWrite) {
  TempDir dir;
  const fs::path folder = dir / "shared";
  fs::create_directory(folder);
  const fs::path lib = folder / "Mine.ZBL";
  writeLibrary(libraryNamed('A'), lib);
  test::giveToTestUser(lib);
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);

  EXPECT_TRUE(test::asOrdinaryUser([&] {
    writeLibrary(libraryNamed('B'), lib);
    const CGenericException e =
        failureOf([&] { writePatchFile(LibraryEntry{}, folder / "New.ZBP"); });
    return e.code() == 304 && e.reason() == std::errc::permission_denied;
  }));
  EXPECT_EQ(readBytes(lib), encodeLibrary(libraryNamed('B')));
  EXPECT_EQ(statOf(lib).st_uid, test::testUser());
  chmod(folder.c_str(), 0755);
  EXPECT_EQ(fs::directory_iterator(folder)->path(), lib);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(SafeSave, FailuresTellTheSystemsReason) {
  TempDir dir;
  Library lib;
  LibraryEntry entry;
  const CGenericException missing = failureOf([&] { readLibrary(lib, dir / "none.ZBL"); });
  EXPECT_EQ(missing.code(), 300);
  EXPECT_EQ(missing.value(), 1);
  EXPECT_EQ(missing.detail(), (dir / "none.ZBL").string() + ": No such file or directory");
  EXPECT_EQ(failureOf([&] { readPatchFile(entry, dir.path()); }).reason(),
            std::errc::is_a_directory);
  fs::create_directory(dir / "folder.ZBP");
  EXPECT_EQ(failureOf([&] { writePatchFile(entry, dir / "folder.ZBP"); }).reason(),
            std::errc::is_a_directory);
  EXPECT_EQ(failureOf([&] { writeLibrary(lib, dir / "no" / "lib.ZBL"); }).reason(),
            std::errc::no_such_file_or_directory);
}

// A write that fails part way (the disk full, a size limit) leaves the old bytes, whether the
// file was being replaced or written in place, and no temporary file.
TEST(SafeSave, AFailedWriteLeavesTheOldContentAndNoTemporaryFile) {
  TempDir dir;
  const fs::path plain = dir / "Plain.ZBL", linked = dir / "Linked.ZBL", link = dir / "Link.ZBL";
  const std::vector<uint8_t> old(100, 'o'), longer(1000, 'n');
  test::writeBytes(plain, old);
  test::writeBytes(linked, old);
  fs::create_hard_link(linked, link);  // written in place
  std::error_code replaced, inPlace;
  {
    FileSizeLimit limit(300);
    ASSERT_TRUE(limit.applied());
    replaced = writeFileSafely(plain, longer);
    inPlace = writeFileSafely(linked, longer);
  }
  EXPECT_EQ(replaced, std::errc::file_too_large);
  EXPECT_EQ(inPlace, std::errc::file_too_large);
  EXPECT_EQ(readBytes(plain), old);
  EXPECT_EQ(readBytes(linked), old) << "the old content is written back";
  EXPECT_EQ(fs::hard_link_count(link), 2u);
  auto names = dir.entries();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Link.ZBL", "Linked.ZBL", "Plain.ZBL"}));
}

// The check that runs as another user ends in its child process whatever it does: an
// exception is a failed check and never reaches the test that asked.
TEST(SafeSave, AnExceptionInAnOrdinaryUsersCheckIsAFailedCheck) {
  bool passed = true;
  try {
    passed = test::asOrdinaryUser([]() -> bool { throw std::runtime_error("check broke"); });
  } catch (...) {
    _exit(0);  // only the child gets here: it must not run the rest of the suite
  }
  EXPECT_FALSE(passed);
}

// A named pipe (also behind a link) is no library or patch file: reading and writing it is refused
// at once with the reason, where opening it would wait for a writer or reader forever.
TEST(SafeSave, PipesAreRefusedWithoutWaiting) {
  TempDir dir;
  const fs::path pipe = dir / "pipe.ZBL", link = dir / "link.ZBP";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  fs::create_symlink("pipe.ZBL", link);
  EXPECT_TRUE(finishesWithin5s([&] {
    Library lib;
    LibraryEntry entry;
    const CGenericException read = failureOf([&] { readLibrary(lib, pipe); });
    return read.code() == 300 && read.detail() == pipe.string() + ": Not a regular file" &&
           failureOf([&] { writeLibrary(libraryNamed('A'), pipe); }).code() == 301 &&
           failureOf([&] { readPatchFile(entry, link); }).code() == 303 &&
           failureOf([&] { writePatchFile(entry, link); }).code() == 304;
  }));
  EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(dir.entries().size(), 2u);
}

// A link made before its file (as dotfile managers make them) is written through: the file is
// created where the link points, taken from the link's own folder, and the link stays.
TEST(SafeSave, ALinkToAFileNotYetThereCreatesThatFile) {
  TempDir dir;
  fs::create_directories(dir / "links");
  fs::create_directories(dir / "store");
  const fs::path link = dir / "links" / "Live.ZBL";
  fs::create_symlink("../store/Live.ZBL", link);
  writeLibrary(libraryNamed('A'), link);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readBytes(dir / "store" / "Live.ZBL"), encodeLibrary(libraryNamed('A')));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "links"), fs::directory_iterator()), 1);
}

// A name as long as the folder takes can be saved, new and over an existing file.
TEST(SafeSave, NamesUpToTheFoldersLimitCanBeSaved) {
  TempDir dir;
  const long limit = pathconf(dir.path().c_str(), _PC_NAME_MAX);
  ASSERT_GT(limit, 20);
  for (const long length : {limit - 9, limit}) {
    const fs::path lib = dir / (std::string(static_cast<std::size_t>(length) - 4, 'n') + ".ZBL");
    writeLibrary(libraryNamed('A'), lib);
    writeLibrary(libraryNamed('B'), lib);
    EXPECT_EQ(readBytes(lib), encodeLibrary(libraryNamed('B'))) << length;
  }
  EXPECT_EQ(dir.entries().size(), 2u);
}

// Someone else's file that the user may write in a folder the user may write: the new file could
// not keep the owner, so the file is written in place and stays the other user's.
TEST(SafeSave, AnotherUsersWritableFileKeepsItsOwner) {
  if (!test::runningAsSuperuser()) GTEST_SKIP() << "needs a file of another user (run as root)";
  TempDir dir;
  const fs::path folder = dir / "shared", lib = folder / "Band.ZBL";
  fs::create_directory(folder);
  ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
  writeLibrary(libraryNamed('A'), lib);
  ASSERT_EQ(chown(lib.c_str(), 0, test::kNobody), 0);
  ASSERT_EQ(chmod(lib.c_str(), 0664), 0);
  const struct stat before = statOf(lib);

  EXPECT_TRUE(test::asOrdinaryUser([&] {
    writeLibrary(libraryNamed('B'), lib);
    return true;
  }));
  const struct stat after = statOf(lib);
  EXPECT_EQ(after.st_uid, 0u);
  EXPECT_EQ(after.st_gid, test::kNobody);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(readBytes(lib), encodeLibrary(libraryNamed('B')));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// A file mounted over another (a container's bind mount) cannot be renamed over (EBUSY): it is
// written in place.
TEST(SafeSave, AMountedFileIsWrittenInPlace) {
  TempDir dir;
  const fs::path source = dir / "Host.ZBL", lib = dir / "Mounted.ZBL";
  writeLibrary(libraryNamed('A'), source);
  writeLibrary(libraryNamed('A'), lib);
  if (mount(source.c_str(), lib.c_str(), nullptr, MS_BIND, nullptr) != 0)
    GTEST_SKIP() << "cannot bind-mount here: " << std::strerror(errno);
  struct Unmount {
    fs::path at;
    ~Unmount() { umount(at.c_str()); }
  } unmount{lib};
  writeLibrary(libraryNamed('B'), lib);
  EXPECT_EQ(readBytes(source), encodeLibrary(libraryNamed('B')));
  EXPECT_EQ(dir.entries().size(), 2u);
}
