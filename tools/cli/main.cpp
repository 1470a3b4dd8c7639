#include <iostream>

#include "tools/cli/Cli.h"

int main(int argc, char** argv) {
  const orv::cli::Args args(argv + 1, argv + argc);
  return orv::cli::runCli(args, std::cout, std::cerr);
}
