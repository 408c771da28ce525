#pragma once

#include <ostream>

#include "cli/run_options.h"
#include "document/circuit_files.h"

namespace trivenor {

/// `--pruefe TABELLE DATEI...`: checks each circuit file against the table and writes one line
/// per file to `out` ("kind1.trv: 4 von 5 richtig", with the first wrong row when not all are
/// right), then a count of all files; with `--csv` also the class overview. A file that cannot
/// be opened is named on `out` and `err` and the others are still checked. Returns 0 when every
/// file passed, 1 when any check failed, 2 when the table, a circuit file or the overview could
/// not be read or written.
int GradeFiles(const RunRequest& request, std::ostream& out, std::ostream& err, FileReader& files);

}  // namespace trivenor
