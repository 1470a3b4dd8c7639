// SysEx messages: encode the messages the editor sends, classify received bytes.
#include <CLI/CLI.hpp>
#include <memory>
#include <variant>

#include "device/SysexCodec.h"
#include "patch/LibraryFile.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"

namespace orv::cli {

namespace {

uint8_t dataByte(const std::string& text, std::string_view what) {
  return static_cast<uint8_t>(parseNumber(text, 0, 127, what));
}

sysex::Bytes encode(const Args& args) {
  if (args.empty()) throw UsageError("missing message kind");
  const std::string& kind = args[0];
  const Args rest(args.begin() + 1, args.end());
  if (kind == "param") {
    expectArgCount(rest, 3, 3);
    const int offset = static_cast<int>(parseNumber(rest[0], 0, 255, "OFFSET"));
    return sysex::encodeParameterChange(offset, dataByte(rest[1], "D1"), dataByte(rest[2], "D2"));
  }
  if (kind == "setting") {
    expectArgCount(rest, 2, 2);
    return sysex::encodeSettingChange(dataByte(rest[0], "NUMBER"), dataByte(rest[1], "VALUE"));
  }
  if (kind == "dump-request" || kind == "settings-request") {
    expectArgCount(rest, 0, 0);
    return kind == "dump-request" ? sysex::encodeDumpRequest() : sysex::encodeSettingsRequest();
  }
  if (kind == "dump") {
    expectArgCount(rest, 1, 1);
    LibraryEntry entry;
    readPatchFile(entry, rest[0]);
    return sysex::encodeBulkDump(entry.data);
  }
  throw UsageError("unknown message kind '" + kind + "'");
}

// Diagnostics of the classification become part of the one line printed, not extra lines on
// standard error.
struct QuietDiagnostics {
  QuietDiagnostics() {
    sysex::setDiagnosticSink([](std::string_view) {});
  }
  ~QuietDiagnostics() { sysex::setDiagnosticSink({}); }
};

std::string describe(const sysex::Message& message) {
  struct Visitor {
    std::string operator()(const sysex::Nothing&) const { return "nothing"; }
    std::string operator()(const sysex::Identity& m) const {
      return "identity " + hexBytes(std::span(&m.model, 1));
    }
    std::string operator()(const sysex::ParameterChange& m) const {
      return "parameter " + std::to_string(m.address) + " " + std::to_string(m.d1) + " " +
             std::to_string(m.d2);
    }
    std::string operator()(const sysex::SettingReport& m) const {
      return "setting " + std::to_string(m.value);
    }
    std::string operator()(const sysex::BulkDump& m) const {
      return "dump " + hexBytes(m.data.bytes);
    }
    std::string operator()(const sysex::Rejected& m) const {
      return m.diagnostic.empty() ? "rejected" : "rejected " + m.diagnostic;
    }
  };
  return std::visit(Visitor{}, message);
}

int decode(const Args& args, Io& io) {
  std::string text;
  for (const std::string& a : args) text += a + " ";
  const auto bytes = parseHexBytes(text, false);
  if (!bytes) throw UsageError("HEX must be bytes in hex (e.g. F0 43 7D ...)");
  QuietDiagnostics quiet;
  io.out << describe(sysex::classify(bytes->data(), bytes->size())) << '\n';
  return 0;
}

int sysexCommand(const Args& args, Io& io) {
  if (args.empty()) throw UsageError("missing encode or decode");
  const Args rest(args.begin() + 1, args.end());
  if (args[0] == "encode") {
    io.out << hexBytes(encode(rest)) << '\n';
    return 0;
  }
  if (args[0] == "decode") return decode(rest, io);
  throw UsageError("unknown sysex action '" + args[0] + "'");
}

Runner declareSysex(CLI::App& app) {
  auto words = std::make_shared<Args>();
  app.add_option("WORDS", *words,
                 "encode or decode, then the message kind and values or the bytes");
  return [words](Io& io) { return sysexCommand(*words, io); };
}

const bool registered = registerCommand(
    {"sysex",
     "print a message the editor sends, or classify received bytes: nothing, identity XX,\n"
     "      parameter ADDRESS D1 D2, setting VALUE, dump BYTES... or rejected TEXT",
     100,
     declareSysex,
     {"encode param OFFSET D1 D2", "encode setting NUMBER VALUE",
      "encode dump-request | settings-request", "encode dump PATCH.ZBP", "decode HEX..."}});

}  // namespace

}  // namespace orv::cli
