#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "document/archive.h"
#include "document/circuit_files.h"
#include "document/document_serializer.h"
#include "model/sub_circuit.h"

namespace trivenor {

/// Larger files are not circuit files (the editor's are a few kilobytes): they are refused as
/// malformed without being read whole, so a file picked by mistake cannot exhaust memory.
inline constexpr std::size_t kMaxDocumentBytes = std::size_t{64} << 20;

// Every circuit file is read here, whether it is opened as a document, placed as a sub-circuit or
// read again for a dynamic sub-circuit. A load begins with one file; the files its dynamic
// sub-circuits name are read within the same LoadContext, which keeps the budgets and ends
// chains that lead back to a file being read.

/// Reads the document whose file at `path` holds `bytes` into the empty `circuit` and default
/// `settings` (see SerializeDocument), in a load that begins with that file. The file counts as
/// being read throughout, so a dynamic sub-circuit that names it keeps its stored copy. Throws
/// FormatError on malformed data; the circuit and settings may then hold part of the file.
void ReadDocumentFile(const std::string& path, std::span<const std::uint8_t> bytes,
                      SubCircuit& circuit, DocumentSettings& settings, FileReader& files);
/// The same, reading the file through `archive`, which loads all of it.
void ReadDocumentFile(const std::string& path, Archive& archive, SubCircuit& circuit,
                      DocumentSettings& settings, FileReader& files);

/// Reads the file at `path` to become a sub-circuit, in a load that begins with that file (as
/// for a document, a dynamic sub-circuit inside that names it keeps its stored copy). Nothing
/// comes back when the file cannot be read, is larger than kMaxDocumentBytes, holds another
/// version text or is malformed.
std::unique_ptr<SubCircuit> LoadSubCircuitFile(const std::string& path, FileReader& files);

/// Reads the circuit file `bytes` as a sub-circuit within `context`, the load it is part of: the
/// version text, then the circuit record without its graphs and output displays. Null when the
/// file holds another version text. Throws FormatError on malformed data.
std::unique_ptr<SubCircuit> ReadCircuitFile(std::span<const std::uint8_t> bytes,
                                            LoadContext& context);

}  // namespace trivenor
