#include "patch/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace orv {

namespace {

class FileErrorCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "orv-file"; }
  std::string message(int) const override { return "Not a regular file"; }
};

std::error_code lastError() {
  return {errno, std::generic_category()};
}

// Reads until `limit` bytes or the end of the file.
std::error_code readUpTo(int fd, std::size_t limit, std::vector<uint8_t>& bytes) {
  bytes.clear();
  uint8_t buffer[65536];
  while (bytes.size() < limit) {
    const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return lastError();
    if (n == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  return {};
}

}  // namespace

std::error_code notARegularFile() {
  static const FileErrorCategory category;
  return {1, category};
}

std::error_code readRegularFile(const std::filesystem::path& path, std::size_t limit,
                                std::vector<uint8_t>& bytes, uint64_t& size) {
  bytes.clear();
  size = 0;
  // Non-blocking, so that opening a pipe returns at once; the check below then refuses it. On a
  // regular file the flag changes nothing.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return lastError();
  struct stat st {};
  std::error_code ec;
  if (::fstat(fd, &st) != 0)
    ec = lastError();
  else if (S_ISDIR(st.st_mode))
    ec = std::make_error_code(std::errc::is_a_directory);
  else if (!S_ISREG(st.st_mode))
    ec = notARegularFile();
  if (!ec) {
    size = static_cast<uint64_t>(st.st_size);
    ec = readUpTo(fd, limit, bytes);
  }
  ::close(fd);
  return ec;
}

}  // namespace orv
