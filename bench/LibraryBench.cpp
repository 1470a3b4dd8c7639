// Library file read and write, the 100 list rows, and the changed-library test on a full library.
#include <filesystem>
#include <string>

#include "BenchReport.h"
#include "patch/Library.h"
#include "patch/LibraryFile.h"

namespace {

orv::Library fullLibrary() {
  orv::Library library;
  for (int i = 0; i < 100; ++i) {
    orv::LibraryEntry e;
    orv::initPatch("Bench patch " + std::to_string(i), e.data);
    e.modelCode = '1';
    library.append(e);
  }
  return library;
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "orv-library-bench";
  fs::create_directories(folder);
  const fs::path file = folder / "Bench.ZBL";
  const orv::Library library = fullLibrary();
  orv::writeLibrary(library, file);

  orv::Library read;
  const auto readNs = orv::bench::sampleNs([&] { orv::readLibrary(read, file); }, 500);
  orv::bench::report("library_read_median", orv::bench::median(readNs) / 1e6, "ms", 2);
  const auto writeNs = orv::bench::sampleNs([&] { orv::writeLibrary(library, file); }, 500);
  orv::bench::report("library_write_median", orv::bench::median(writeNs) / 1e6, "ms", 2);

  std::size_t sink = 0;
  const auto rowsNs = orv::bench::sampleNs([&] { sink += orv::rowTexts(library).size(); });
  orv::bench::report("library_rows_median", orv::bench::median(rowsNs) / 1e3, "us", 100);

  // The worst case: equal libraries, so every slot is compared.
  const orv::Library saved = library;
  const auto changedNs =
      orv::bench::sampleNs([&] { sink += orv::libraryChanged(library, saved) ? 1 : 0; }, 5000);
  orv::bench::report("library_changed_median", orv::bench::median(changedNs) / 1e3, "us", 20);

  fs::remove_all(folder);
  return sink == 0 ? 1 : 0;
}
