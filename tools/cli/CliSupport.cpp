#include "tools/cli/CliSupport.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <system_error>

#include "patch/RegularFile.h"

namespace orv::cli {

void expectArgCount(const Args& args, std::size_t min, std::size_t max) {
  if (args.size() < min) throw UsageError("missing arguments");
  if (args.size() > max) throw UsageError("too many arguments");
}

void addArgument(CLI::App& app, const std::string& name, std::string& value,
                 const std::string& description, bool optional) {
  CLI::Option* o = app.add_option(name, value, description);
  if (!optional) o->required();
}

void addForceOption(CLI::App& app, bool& force) {
  app.add_flag("--force", force, "replace the output file when it exists")
      ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
}

std::error_code readFailure(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    return std::make_error_code(std::errc::is_a_directory);
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (in) return {};
  return std::error_code(errno ? errno : EIO, std::generic_category());
}

std::optional<std::string> magicOf(const std::filesystem::path& path, std::error_code& reason) {
  std::vector<uint8_t> magic;
  uint64_t size = 0;
  if (reason = readRegularFile(path, 4, magic, size); reason) return std::nullopt;
  return std::string(magic.begin(), magic.end());
}

void refuseToReplace(const std::filesystem::path& path, bool force) {
  std::error_code ec;
  if (!force && std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
    throw CliError(path.string() + ": already exists; remove it or pass --force to replace it");
}

std::size_t parseSlot(const std::string& text) {
  long long slot = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), slot);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || slot < 1 ||
      slot > 100)
    throw UsageError("SLOT must be a number from 1 to 100, not '" + text + "'");
  return static_cast<std::size_t>(slot - 1);
}

long long parseNumber(const std::string& text, long long lo, long long hi, std::string_view what) {
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && digits.front() == '-') {
    negative = true;
    digits.remove_prefix(1);
  }
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits.remove_prefix(2);
  }
  long long value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  const bool whole = !digits.empty() && ec == std::errc() && end == digits.data() + digits.size() &&
                     digits.front() != '-' && digits.front() != '+';
  if (negative) value = -value;
  if (!whole || value < lo || value > hi)
    throw UsageError(std::string(what) + " must be a number from " + std::to_string(lo) + " to " +
                     std::to_string(hi) + ", not '" + text + "'");
  return value;
}

std::string hexBytes(std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (uint8_t b : bytes) {
    if (!out.empty()) out += ' ';
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
  }
  return out;
}

namespace {
int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
}  // namespace

std::optional<std::vector<uint8_t>> parseHexBytes(std::string_view text, bool pairsOnly) {
  std::vector<uint8_t> bytes;
  std::size_t i = 0;
  while (i < text.size()) {
    if (isBlank(text[i])) {
      ++i;
      continue;
    }
    std::size_t j = i;
    int value = 0;
    while (j < text.size() && !isBlank(text[j])) {
      const int d = hexDigit(text[j]);
      if (d < 0) return std::nullopt;
      value = value * 16 + d;
      if (++j - i > 2) return std::nullopt;
    }
    if (pairsOnly && j - i != 2) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(value));
    i = j;
  }
  return bytes;
}

std::string latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char ch : latin1) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace orv::cli
