#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/document_io.h"
#include "model/sub_circuit.h"

namespace trivenor::examples {

/// One example document: its file name and what the file holds.
struct Example {
  std::string fileName;
  std::unique_ptr<SubCircuit> circuit;
  DocumentSettings settings;
};

/// Every example, always in the same order and with the same contents, so the files written
/// from them are the same byte for byte on every run.
std::vector<Example> BuildExamples();

struct ExampleWriteFailure {
  std::string fileName;
  DocumentError error;
};

/// Writes every example into the existing `folder` (a UTF-8 path), replacing files of the same
/// name. Stops at the first file that cannot be written and names it.
std::optional<ExampleWriteFailure> WriteExamples(const std::string& folder);

}  // namespace trivenor::examples
