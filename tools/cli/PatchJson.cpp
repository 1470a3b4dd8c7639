#include "tools/cli/PatchJson.h"

#include <algorithm>

#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"
#include "device/PatchSections.h"

namespace orv::cli {

namespace {

constexpr std::size_t kStoredData = PatchData::kSize - 1;  // byte 255 is not stored
constexpr std::size_t kRowLength = 16;

[[noreturn]] void bad(const std::string& where, const std::string& what) {
  throw CliError(where + ": " + what);
}

Json sectionsToJson(const LibraryEntry& entry) {
  Json sections = Json::object();
  for (const SectionView& s : describePatch(entry.data, entry.modelCode)) {
    Json j = Json::object();
    if (s.typeName)
      j["type"] = *s.typeName;
    else
      j["type"] = s.type;
    if (s.onOff) {
      if (*s.onOff == patch::kOn || *s.onOff == patch::kOff)
        j["on"] = *s.onOff == patch::kOn;
      else
        j["on"] = *s.onOff;
    }
    for (const ParameterView& p : s.parameters) {
      if (p.selector && p.known)
        j[p.caption] = p.text;
      else
        j[p.caption] = p.value;
    }
    sections[s.key] = std::move(j);
  }
  return sections;
}

Json dataRows(const PatchData& data) {
  Json rows = Json::array();
  for (std::size_t at = 0; at < kStoredData; at += kRowLength) {
    const std::size_t n = std::min(kRowLength, kStoredData - at);
    rows.push_back(hexBytes(std::span(data.bytes.data() + at, n)));
  }
  return rows;
}

std::vector<uint8_t> hexField(const Json& json, const std::string& where, std::size_t count) {
  if (!json.is_string()) bad(where, "must be a string of hex bytes");
  const auto bytes = parseHexBytes(json.get<std::string>(), true);
  if (!bytes) bad(where, "must hold hex bytes (two digits each, separated by spaces)");
  if (bytes->size() != count)
    bad(where,
        "must hold " + std::to_string(count) + " bytes, not " + std::to_string(bytes->size()));
  return *bytes;
}

std::vector<uint8_t> dataField(const Json& json, const std::string& where) {
  std::string joined;
  if (json.is_string()) {
    joined = json.get<std::string>();
  } else if (json.is_array()) {
    for (std::size_t i = 0; i < json.size(); ++i) {
      if (!json[i].is_string()) bad(where + "[" + std::to_string(i) + "]", "must be a string");
      joined += json[i].get<std::string>() + " ";
    }
  } else {
    bad(where, "must be a list of strings of hex bytes");
  }
  return hexField(Json(joined), where, kStoredData);
}

const Json& member(const Json& object, const std::string& key, const std::string& where) {
  const auto it = object.find(key);
  if (it == object.end()) bad(where, "the field \"" + key + "\" is missing");
  return *it;
}

std::string describe(const Json& j) {
  return j.dump();
}

// Every field present in `given` must be in `actual` with the same value.
void expectAgrees(const Json& given, const Json& actual, const std::string& where) {
  if (given.is_object() && actual.is_object()) {
    for (const auto& [key, value] : given.items()) {
      const auto it = actual.find(key);
      if (it == actual.end()) bad(where + "." + key, "is not a field of this patch");
      expectAgrees(value, *it, where + "." + key);
    }
    return;
  }
  if (given != actual)
    bad(where, "says " + describe(given) + " but the data bytes give " + describe(actual) +
                   "; the bytes are what is stored: change them, or drop this field");
}

void expectOnly(const Json& object, std::initializer_list<const char*> keys,
                const std::string& where) {
  for (const auto& [key, value] : object.items()) {
    (void)value;
    if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return key == k; }))
      bad(where + "." + key, "is not a known field");
  }
}

LibraryEntry entryFromJson(const Json& json, const std::string& where,
                           std::initializer_list<const char*> allowed) {
  if (!json.is_object()) bad(where, "must be an object");
  expectOnly(json, allowed, where);
  LibraryEntry entry;
  const std::vector<uint8_t> header = hexField(member(json, "header", where), where + ".header", 5);
  std::copy(header.begin(), header.end(), entry.header.begin());
  entry.modelCode = hexField(member(json, "modelByte", where), where + ".modelByte", 1)[0];
  const std::vector<uint8_t> data = dataField(member(json, "data", where), where + ".data");
  std::copy(data.begin(), data.end(), entry.data.bytes.begin());
  entry.data[PatchData::kSize - 1] = 0;

  const Json actual = patchToJson(entry);
  for (const char* readable : {"name", "sections"})
    if (json.contains(readable))
      expectAgrees(json[readable], actual[readable], where + "." + readable);
  return entry;
}

}  // namespace

Json patchToJson(const LibraryEntry& entry) {
  Json j = Json::object();
  j["kind"] = "patch";
  j["name"] = latin1ToUtf8(patchName(entry.data));
  j["header"] = hexBytes(entry.header);
  j["modelByte"] = hexBytes(std::span(&entry.modelCode, 1));
  j["data"] = dataRows(entry.data);
  j["sections"] = sectionsToJson(entry);
  return j;
}

Json libraryToJson(const Library& library) {
  Json j = Json::object();
  j["kind"] = "library";
  j["keptBytes"] = hexBytes(library.keptBytes());
  Json slots = Json::array();
  for (std::size_t i = 0; i < library.size(); ++i) {
    Json slot = Json::object();
    slot["slot"] = i + 1;
    const Json patch = patchToJson(library.slot(i));
    for (const auto& [key, value] : patch.items())
      if (key != "kind") slot[key] = value;
    slots.push_back(std::move(slot));
  }
  j["slots"] = std::move(slots);
  return j;
}

JsonKind jsonKind(const Json& json) {
  if (!json.is_object() || !json.contains("kind") || !json["kind"].is_string())
    bad("kind", "must be \"patch\" or \"library\"");
  const std::string kind = json["kind"].get<std::string>();
  if (kind == "patch") return JsonKind::Patch;
  if (kind == "library") return JsonKind::Library;
  bad("kind", "must be \"patch\" or \"library\", not \"" + kind + "\"");
}

LibraryEntry patchFromJson(const Json& json) {
  return entryFromJson(json, "patch", {"kind", "name", "header", "modelByte", "data", "sections"});
}

Library libraryFromJson(const Json& json) {
  expectOnly(json, {"kind", "keptBytes", "slots"}, "library");
  const std::vector<uint8_t> kept = hexField(member(json, "keptBytes", "library"), "keptBytes", 2);
  const Json& slots = member(json, "slots", "library");
  if (!slots.is_array() || slots.size() != Library::kSlots)
    bad("slots", "must be a list of exactly 100 slots");
  Library library;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const std::string where = "slots[" + std::to_string(i) + "]";
    const LibraryEntry entry =
        entryFromJson(slots[i], where, {"slot", "name", "header", "modelByte", "data", "sections"});
    if (slots[i].contains("slot") && slots[i]["slot"] != Json(i + 1))
      bad(where + ".slot", "must be " + std::to_string(i + 1) + " (slots are listed in order)");
    library.append(entry);
  }
  library.setKeptBytes(kept[0], kept[1]);
  return library;
}

}  // namespace orv::cli
