#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "document/circuit_files.h"
#include "document/circuit_loader.h"
#include "document/document_serializer.h"
#include "document/file_access.h"
#include "model/sub_circuit.h"

namespace trivenor {

/// What went wrong when a document was opened or saved. `None` is success.
enum class DocumentError {
  None,
  BadFormat,    ///< data ends early or is otherwise malformed
  NotFound,     ///< file or path not found
  DiskFull,     ///< no room left on the target
  ReadDenied,   ///< cannot read: no permission or in use
  WriteDenied,  ///< cannot write: read-only, no permission or in use
  BadName,      ///< the target cannot be created under that name
  ReadFailed,   ///< any other read error
  WriteFailed,  ///< any other write error
};

/// The bytes of a document file, or why they could not be read.
struct DocumentBytes {
  DocumentError error = DocumentError::None;
  std::vector<std::uint8_t> bytes;
};

/// The first step of opening: reads the whole file at `path`. Pipes and devices are refused
/// without waiting on them; a file larger than kMaxDocumentBytes is BadFormat. Nothing is loaded
/// yet, so a caller can keep its current document when this step fails.
DocumentBytes ReadDocumentBytes(const std::string& path);

/// The second step of opening: loads `bytes`, the contents of the file at `path`, into the empty
/// `circuit` and default `settings`. 0 bytes or another version text give an empty document;
/// otherwise the circuit is read (dynamic sub-circuits again from their files through `files`),
/// its input terminals lose their stored sources and it is evaluated once. The file at `path`
/// counts as being read, so a dynamic sub-circuit that names it keeps its stored copy. On an
/// error the circuit and settings may hold part of the file: the caller empties them.
DocumentError LoadDocumentBytes(const std::string& path, std::span<const std::uint8_t> bytes,
                                SubCircuit& circuit, DocumentSettings& settings, FileReader& files);

/// Both steps of opening in one, into the empty `circuit` and default `settings`, with the same
/// results; the file is decoded as it is read, so it is never held whole. On an error the circuit
/// and settings may hold part of the file: the caller empties them.
DocumentError OpenDocumentFile(const std::string& path, SubCircuit& circuit,
                               DocumentSettings& settings, FileReader& files);

/// Writes the document to `path` through a temporary file in the same folder that replaces the
/// target only once it is completely written and flushed, so a failed save leaves an existing
/// file as it was and no temporary file behind. A replaced file keeps its permission bits; a
/// read-only one is not replaced (WriteDenied). Stores the ports' reference numbers in `circuit`
/// on the way, which is why it is not const.
DocumentError SaveDocumentFile(const std::string& path, SubCircuit& circuit,
                               DocumentSettings& settings);

/// The message the user sees for `error` on the file titled `title` (its name), in German.
std::string DocumentErrorMessage(DocumentError error, const std::string& title);

}  // namespace trivenor
