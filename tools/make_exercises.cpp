// Writes the bundled exercises, their check tables and their solutions below the folder named on
// the command line:
//   make_exercises OUTDIR
// The committed files in exercises/ are this program's output; a test regenerates them and
// compares the bytes, so change the exercises here and run the program again.

#include <filesystem>
#include <iostream>
#include <system_error>

#include "document/document_io.h"
#include "document/utf8_path.h"
#include "tools/exercise_circuits.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Aufruf: make_exercises ORDNER\n";
    return 1;
  }
  const std::string folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(trivenor::PathFromUtf8(folder), error);
  if (error) {
    std::cerr << "make_exercises: " << folder << ": " << error.message() << '\n';
    return 2;
  }
  if (const auto failure = trivenor::examples::WriteExercises(folder)) {
    std::cerr << "make_exercises: "
              << trivenor::DocumentErrorMessage(failure->error, failure->fileName) << '\n';
    return 2;
  }
  return 0;
}
