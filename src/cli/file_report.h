#pragma once

#include <ostream>
#include <string>

#include "document/document_io.h"

namespace trivenor {

/// Writes the German message for `error` on the file at `path` to `err`, naming the file even
/// where the message itself has no place for its name: with several files on one command line
/// the reader still has to learn which one failed.
void ReportFileError(std::ostream& err, DocumentError error, const std::string& path);

}  // namespace trivenor
