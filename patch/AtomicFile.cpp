#include "patch/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "patch/RegularFile.h"

namespace orv {

namespace fs = std::filesystem;

namespace {

std::error_code lastError() {
  return {errno, std::generic_category()};
}

std::error_code errorOf(std::errc e) {
  return std::make_error_code(e);
}

// An open file descriptor, closed with its owner.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Closes now; a failing close is a failed write (delayed write errors show up here).
  std::error_code close() {
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) != 0 ? lastError() : std::error_code{};
  }

 private:
  int fd_;
};

// The longest file name the folder of `file` takes (255 on most file systems).
std::size_t nameLimitNextTo(const fs::path& file) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

// A name for the temporary file next to `target` that no other writer uses at the same time:
// "." + the target's name + ".xxxxxxxx~", the target's name cut so that the whole stays within
// the folder's limit (a target of 250 bytes must still be savable).
fs::path temporaryNameFor(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  const unsigned n = seed ^ (counter.fetch_add(1) * 2654435761u);
  char suffix[16];
  const int suffixLength = std::snprintf(suffix, sizeof suffix, ".%08x~", n);
  const std::size_t room = nameLimitNextTo(target) - 1 - static_cast<std::size_t>(suffixLength);
  std::string name = ".";
  name += target.filename().string().substr(0, room);
  name += suffix;
  fs::path temp = target;
  temp.replace_filename(name);
  return temp;
}

std::error_code writeAll(int fd, std::span<const uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return lastError();
    if (n == 0) return errorOf(std::errc::io_error);
    done += static_cast<std::size_t>(n);
  }
  return {};
}

// Flushes a file to disk; files that cannot be flushed (devices) are taken as they are.
std::error_code syncFile(int fd) {
  if (::fsync(fd) == 0 || errno == EINVAL || errno == EROFS) return {};
  return lastError();
}

void syncFolderOf(const fs::path& file) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) (void)::fsync(dir.get());  // the rename is done; a folder that cannot sync is no failure
}

// Gives a new file the mode, owner and group of the file it replaces. Fails (EPERM) when the
// owner or group cannot be kept: the file is then to be written in place instead.
std::error_code takeOverAttributes(int fd, const struct stat& old) {
  struct stat now {};
  if (::fstat(fd, &now) != 0) return lastError();
  if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
      ::fchown(fd, old.st_uid, old.st_gid) != 0)
    return lastError();
  // After the owner: a change of owner clears the set-id bits.
  return ::fchmod(fd, old.st_mode & 07777) == 0 ? std::error_code{} : lastError();
}

// Creates `temp` (never reusing an existing file) with all bytes, flushed to disk. `created`
// tells whether a file was made that must be removed on failure.
std::error_code writeTemporary(const fs::path& temp, std::span<const uint8_t> bytes,
                               const struct stat* old, bool& created) {
  Descriptor f(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, old ? 0600 : 0666));
  created = static_cast<bool>(f);
  if (!f) return lastError();
  std::error_code ec = writeAll(f.get(), bytes);
  if (!ec && old) ec = takeOverAttributes(f.get(), *old);
  if (!ec) ec = syncFile(f.get());
  const std::error_code closed = f.close();
  return ec ? ec : closed;
}

std::error_code replaceThroughTemporary(const fs::path& target, std::span<const uint8_t> bytes,
                                        const struct stat* old) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    const fs::path temp = temporaryNameFor(target);
    bool created = false;
    std::error_code ec = writeTemporary(temp, bytes, old, created);
    if (ec == std::errc::file_exists) continue;
    if (!ec && ::rename(temp.c_str(), target.c_str()) != 0) ec = lastError();
    if (ec) {
      if (created) ::unlink(temp.c_str());
      return ec;
    }
    syncFolderOf(target);
    return {};
  }
  return errorOf(std::errc::file_exists);
}

std::vector<uint8_t> readWhole(int fd) {
  std::vector<uint8_t> content;
  uint8_t buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return content;
    content.insert(content.end(), buffer, buffer + n);
  }
}

// Writes a regular file's content from the start and cuts it to that length.
std::error_code overwrite(int fd, std::span<const uint8_t> bytes) {
  if (::lseek(fd, 0, SEEK_SET) != 0) return lastError();
  if (std::error_code ec = writeAll(fd, bytes)) return ec;
  if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) return lastError();
  return syncFile(fd);
}

// Writes the existing file itself. Its previous content is kept in memory and written back
// when the new content cannot be written whole.
std::error_code writeInPlace(const fs::path& target, std::span<const uint8_t> bytes) {
  // Non-blocking, so that a pipe put in the file's place meanwhile is refused, not waited on.
  int fd = ::open(target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  const bool readable = fd >= 0;
  if (!readable) fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  Descriptor f(fd);
  if (!f) return lastError();
  struct stat st {};
  if (::fstat(f.get(), &st) != 0) return lastError();
  if (!S_ISREG(st.st_mode)) return notARegularFile();
  const std::vector<uint8_t> previous = readable ? readWhole(f.get()) : std::vector<uint8_t>{};
  std::error_code ec = overwrite(f.get(), bytes);
  if (ec && readable) (void)overwrite(f.get(), previous);
  const std::error_code closed = f.close();
  return ec ? ec : closed;
}

// Follows symbolic links to the file they name, also one that does not exist yet (a link made
// before its file); a relative link is taken from the link's own folder.
std::error_code resolveLinks(fs::path& file) {
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(file, ec)) return {};
    const fs::path next = fs::read_symlink(file, ec);
    if (ec) return ec;
    file = next.is_absolute() ? next : file.parent_path() / next;
  }
  return errorOf(std::errc::too_many_symbolic_link_levels);
}

// Whether the user may write the file; one that nobody may write counts as read-only.
std::error_code mayWrite(const fs::path& file, const struct stat& st) {
  if ((st.st_mode & 0222) == 0) return errorOf(std::errc::permission_denied);
  if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0) return lastError();
  return {};
}

bool mayCreateNextTo(const fs::path& file) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace

std::error_code writeFileSafely(const fs::path& target, std::span<const uint8_t> bytes) {
  if (target.empty() || !target.has_filename()) return errorOf(std::errc::invalid_argument);
  fs::path destination = target;
  if (std::error_code ec = resolveLinks(destination)) return ec;
  if (!destination.has_filename()) return errorOf(std::errc::is_a_directory);
  struct stat old {};
  if (::stat(destination.c_str(), &old) != 0) {
    if (errno != ENOENT) return lastError();
    return replaceThroughTemporary(destination, bytes, nullptr);
  }
  if (S_ISDIR(old.st_mode)) return errorOf(std::errc::is_a_directory);
  if (!S_ISREG(old.st_mode)) return notARegularFile();
  if (std::error_code refused = mayWrite(destination, old)) return refused;
  if (old.st_nlink > 1 || !mayCreateNextTo(destination)) return writeInPlace(destination, bytes);
  const std::error_code ec = replaceThroughTemporary(destination, bytes, &old);
  // Where the file cannot be replaced but may be written, it is written in place: a folder that
  // lets the user write the file but not replace it (a sticky folder, another user's file), an
  // owner or group the new file could not keep, a file mounted over (EBUSY) or a rename across
  // file systems (EXDEV).
  if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
      ec == std::errc::device_or_resource_busy || ec == std::errc::cross_device_link)
    return writeInPlace(destination, bytes);
  return ec;
}

}  // namespace orv
