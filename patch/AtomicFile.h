#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

namespace orv {

// Writes `bytes` as the whole content of the file at `target`, never leaving a half-written
// file there, and returns the system's reason when it fails (an empty code on success).
//
// - A symbolic link at `target` is written through: the file it points to is written (or
//   created, when the link was made before its file), the link stays. A relative link counts
//   from the link's own folder.
// - An existing file the user may not write is refused (permission denied, nothing changes).
//   A file that nobody may write (no write bit in its mode, e.g. 0444) counts as read-only on
//   purpose and is refused to the superuser as well.
// - A folder at `target` is refused ("Is a directory"); so is anything else that is not a
//   regular file, such as a named pipe or a device (notARegularFile): nothing ever waits for a
//   reader.
// - Normally the bytes go to a new temporary file in the same folder (its name kept within the
//   folder's name limit), which is flushed to disk and renamed over the target; the folder is
//   flushed after the rename. The new file takes the old one's mode, owner and group.
// - A file with more than one hard link, a file whose folder the user may not write, a file
//   whose owner or group the new file could not keep, and a file that cannot be renamed over
//   (mounted over, EBUSY; another file system, EXDEV) are written in place instead, so that the
//   links, the owner and the file stay. Should that write fail, the previous content is written
//   back.
// - On failure the previous file (if any) is untouched and no temporary file is left.
std::error_code writeFileSafely(const std::filesystem::path& target,
                                std::span<const uint8_t> bytes);

// The same, telling only whether it worked.
inline bool replaceFileAtomically(const std::filesystem::path& target,
                                  std::span<const uint8_t> bytes) {
  return !writeFileSafely(target, bytes);
}

}  // namespace orv
