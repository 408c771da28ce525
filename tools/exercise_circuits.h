#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/document_io.h"
#include "model/sub_circuit.h"

namespace trivenor::examples {

/// One bundled exercise: the circuit the child starts from (its terminals placed, nothing
/// between them), the check table beside it, and a solution that passes the table.
struct Exercise {
  std::string folder;    ///< "klasse12" or "klasse34"
  std::string baseName;  ///< "addieren": addieren.trv, addieren.csv, loesungen/addieren.trv
  std::string table;     ///< the table file's text, the task on its first line
  std::unique_ptr<SubCircuit> exercise;
  std::unique_ptr<SubCircuit> solution;
  DocumentSettings settings;
};

/// Every exercise, always in the same order and with the same contents.
std::vector<Exercise> BuildExercises();

/// Where an exercise's files lie below the exercises folder (UTF-8, "/" separated).
std::string ExercisePath(const Exercise& exercise);
std::string TablePath(const Exercise& exercise);
std::string SolutionPath(const Exercise& exercise);

struct ExerciseWriteFailure {
  std::string fileName;
  DocumentError error;
};

/// Writes every exercise, table and solution below the existing `folder`, making the
/// subfolders it needs and replacing files of the same name. Stops at the first file that
/// cannot be written and names it.
std::optional<ExerciseWriteFailure> WriteExercises(const std::string& folder);

}  // namespace trivenor::examples
