#include "patch/AtomicFile.h"

#include <atomic>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

namespace orv {

namespace fs = std::filesystem;

namespace {

// A name for the temporary file next to `target` that no other writer uses at the same time.
fs::path temporaryNameFor(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  const unsigned n = seed ^ (counter.fetch_add(1) * 2654435761u);
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%08x~", n);
  std::string name = ".";
  name += target.filename().string();
  name += suffix;
  fs::path temp = target;
  temp.replace_filename(name);
  return temp;
}

// Creates `temp` (never reusing an existing file), writes all bytes and closes it.
bool writeNewFile(const fs::path& temp, std::span<const uint8_t> bytes) {
  std::FILE* f = std::fopen(temp.c_str(), "wbx");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

fs::path resolveLink(const fs::path& target) {
  std::error_code ec;
  if (!fs::is_symlink(target, ec)) return target;
  fs::path resolved = fs::weakly_canonical(target, ec);
  return ec ? target : resolved;
}

}  // namespace

bool replaceFileAtomically(const fs::path& target, std::span<const uint8_t> bytes) {
  if (target.empty() || !target.has_filename()) return false;
  const fs::path destination = resolveLink(target);
  std::error_code ec;
  for (int attempt = 0; attempt < 8; ++attempt) {
    const fs::path temp = temporaryNameFor(destination);
    if (fs::exists(temp, ec)) continue;
    if (!writeNewFile(temp, bytes)) {
      fs::remove(temp, ec);
      return false;
    }
    fs::rename(temp, destination, ec);
    if (!ec) return true;
    fs::remove(temp, ec);
    return false;
  }
  return false;
}

}  // namespace orv
