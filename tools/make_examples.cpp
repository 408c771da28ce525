// Writes the example circuits into the folder named on the command line:
//   make_examples OUTDIR
// The committed files in examples/ are this program's output; a test regenerates them and
// compares the bytes, so change the circuits here and run the program again.

#include <filesystem>
#include <iostream>
#include <system_error>

#include "document/document_io.h"
#include "document/utf8_path.h"
#include "tools/example_circuits.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Aufruf: make_examples ORDNER\n";
    return 1;
  }
  const std::string folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(trivenor::PathFromUtf8(folder), error);
  if (error) {
    std::cerr << "make_examples: " << folder << ": " << error.message() << '\n';
    return 2;
  }
  if (const auto failure = trivenor::examples::WriteExamples(folder)) {
    std::cerr << "make_examples: "
              << trivenor::DocumentErrorMessage(failure->error, failure->fileName) << '\n';
    return 2;
  }
  return 0;
}
