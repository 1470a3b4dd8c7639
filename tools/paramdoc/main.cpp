// orv-paramdoc: puts the parameter reference into a help document.
//   orv-paramdoc DESCRIPTIONS.txt IN.md OUT.md
// OUT.md is IN.md with its line "<!-- parameters -->" replaced by a table per section and type of
// every model family, captioned as the panel does, with the ranges the read-outs show and the
// texts of DESCRIPTIONS.txt. A description missing or left over fails the run.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "DescriptionFile.h"
#include "ParameterReference.h"
#include "ReferenceWriter.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: orv-paramdoc DESCRIPTIONS.txt IN.md OUT.md\n");
    return 2;
  }
  try {
    const auto texts = orv::helpdoc::DescriptionFile::load(argv[1]);
    std::ifstream in(argv[2]);
    if (!in) throw std::runtime_error(std::string("cannot read ") + argv[2]);
    std::ostringstream manual;
    manual << in.rdbuf();
    const std::string out = orv::helpdoc::ReferenceWriter(texts).assemble(
        manual.str(), orv::helpdoc::ParameterReference::build());
    std::ofstream file(argv[3], std::ios::binary | std::ios::trunc);
    if (!(file << out) || !file.flush())
      throw std::runtime_error(std::string("cannot write ") + argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orv-paramdoc: %s: %s\n", argv[1], e.what());
    std::remove(argv[3]);
    return 1;
  }
  return 0;
}
