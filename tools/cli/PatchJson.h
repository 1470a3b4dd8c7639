#pragma once
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "patch/Library.h"

namespace orv::cli {

using Json = nlohmann::ordered_json;

// JSON forms of patch files and library files. The stored bytes are given in full (header, the 255
// stored data bytes, the model byte, the library's kept bytes), so that turning the JSON back into
// a file gives the original byte for byte. Beside them each patch names its sections and
// parameters with their values, so that a diff of two files reads well. Those readable fields
// only describe the bytes: reading checks that they agree with the bytes and refuses the JSON
// when they do not, instead of silently ignoring an edit.
Json patchToJson(const LibraryEntry& entry);
Json libraryToJson(const Library& library);

// What a JSON document holds; throws CliError with a message naming the offending field.
enum class JsonKind { Patch, Library };
JsonKind jsonKind(const Json& json);
LibraryEntry patchFromJson(const Json& json);
Library libraryFromJson(const Json& json);

// A JSON document from a file; throws CliError naming the file when it cannot be read or parsed.
Json readJson(const std::filesystem::path& path);

}  // namespace orv::cli
