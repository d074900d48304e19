#include <iostream>

#include "tools/quarn-cli/cli.h"

int main(int argc, char** argv) {
  quarn::cli::Args args(argv + 1, argv + argc);
  quarn::cli::Io io{std::cout, std::cerr};
  return quarn::cli::RunCli(args, io);
}
