#pragma once
#include <sstream>
#include <string>
#include <vector>

#include "tools/cli/Cli.h"

namespace orv::test {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs orv-cli's commands in-process.
inline CliResult runCli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  CliResult r;
  r.status = orv::cli::runCli(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

inline std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

}  // namespace orv::test
