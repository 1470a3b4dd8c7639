#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace orv {

// Replaces the file at `target` with `bytes` without ever leaving a half-written file there:
// the bytes go to a new temporary file in the same folder, which is flushed and closed and only
// then renamed over the target. On failure the temporary file is removed, the previous file (if
// any) is untouched, and false is returned. A symbolic link at `target` is written through: the
// file it points to is replaced and the link stays.
bool replaceFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes);

}  // namespace orv
