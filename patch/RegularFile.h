#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

namespace orv {

// Library, patch and settings files are regular files (or links to one). Anything else - a
// named pipe, a socket, a device - is refused with this reason ("Not a regular file"): opening
// a pipe would wait for a writer or reader that may never come.
std::error_code notARegularFile();

// Reads up to `limit` bytes from the start of a regular file and tells its whole size in
// `size`. Never waits on the file: a pipe or device is refused (notARegularFile), a folder is
// "Is a directory". Returns the system's reason when the file cannot be read.
std::error_code readRegularFile(const std::filesystem::path& path, std::size_t limit,
                                std::vector<uint8_t>& bytes, uint64_t& size);

}  // namespace orv
