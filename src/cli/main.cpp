#include <iostream>
#include <string>
#include <vector>

#include "cli/runner.h"
#include "document/circuit_files.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  trivenor::DiskFileReader files;
  return trivenor::RunCommandLine(arguments, std::cout, std::cerr, files);
}
