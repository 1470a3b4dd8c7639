#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "tools/cli/Cli.h"

namespace orv::cli {

// Throws UsageError unless there are between `min` and `max` arguments.
void expectArgCount(const Args& args, std::size_t min, std::size_t max);

// Declares a positional argument named as the usage lines show it ("LIB.ZBL"); required unless
// `optional`.
void addArgument(CLI::App& app, const std::string& name, std::string& value,
                 const std::string& description, bool optional = false);
// Declares --force (at most once), the permission to replace an existing file.
void addForceOption(CLI::App& app, bool& force);
// Refuses (CliError) to replace an existing file unless `force` is set.
void refuseToReplace(const std::filesystem::path& path, bool force);
// The arguments of a command that reads one file and writes another (with --force).
struct InOutArgs {
  std::string in, out;
  bool force = false;
};

// Why a file cannot be opened for reading; nothing when it can.
std::error_code readFailure(const std::filesystem::path& path);
// The file's first four bytes ("VKRB" library, "VKRP" patch), or nothing (and the reason) when
// it cannot be read.
std::optional<std::string> magicOf(const std::filesystem::path& path, std::error_code& reason);

// A slot number 1..100 as typed; returns the slot index 0..99. Throws UsageError.
std::size_t parseSlot(const std::string& text);

// A whole decimal number (or hexadecimal with "0x") within [lo, hi], nothing else in the text.
// Throws UsageError naming `what`.
long long parseNumber(const std::string& text, long long lo, long long hi, std::string_view what);

// Bytes as upper-case hex separated by one space.
std::string hexBytes(std::span<const uint8_t> bytes);
// Hex bytes separated by blanks, each one or two hex digits (`pairsOnly`: exactly two).
// No value when the text holds anything else.
std::optional<std::vector<uint8_t>> parseHexBytes(std::string_view text, bool pairsOnly);

// Patch names are Latin-1 bytes; terminals and JSON want UTF-8.
std::string latin1ToUtf8(std::string_view latin1);

}  // namespace orv::cli
