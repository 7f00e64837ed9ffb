// sector-cli: the sector editor's disk functions from the command line.
#include <iostream>

#include "sectoredit/cli/sector_cli_commands.h"

int main(int argc, char** argv) {
  sectoredit::cli::Args args(argv + 1, argv + argc);
  return sectoredit::cli::RunSectorCli(args, std::cout, std::cerr);
}
