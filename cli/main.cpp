#include <iostream>

#include "Cli.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return dravel::cli::run(args, std::cout, std::cerr);
}
