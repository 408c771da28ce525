#include "cli/file_report.h"

namespace trivenor {

void ReportFileError(std::ostream& err, DocumentError error, const std::string& path) {
  std::string message = DocumentErrorMessage(error, path);
  if (message == DocumentErrorMessage(error, "")) {
    message = path + ": " + message;
  }
  err << message << '\n';
}

}  // namespace trivenor
