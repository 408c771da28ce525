#include "cli/grading.h"

#include <optional>
#include <string>
#include <vector>

#include "checks/check_run.h"
#include "checks/check_table_writing.h"
#include "cli/file_report.h"
#include "cli/runner.h"
#include "document/document_io.h"
#include "document/file_access.h"

namespace trivenor {

namespace {

/// One row of the class overview.
struct FileGrade {
  std::string file;
  std::string right;
  std::string total;
  std::string remark;  ///< the first wrong row, or why the file could not be checked
};

std::optional<CheckTable> ReadTableFile(const std::string& path, std::ostream& err) {
  const FileContents contents = ReadWholeFile(path, kMaxCheckTableBytes);
  if (contents.failure != ReadFailure::None) {
    err << "Die Prüftabelle „" << path << "“ kann nicht gelesen werden.\n";
    return std::nullopt;
  }
  CheckTableReading reading = ReadCheckTable(contents.bytes);
  if (reading.error) {
    err << path << ": " << reading.error->Text() << '\n';
    return std::nullopt;
  }
  return std::move(reading.table);
}

class Grader {
 public:
  Grader(const CheckTable& table, std::ostream& out, std::ostream& err, FileReader& files)
      : table_(table), out_(out), err_(err), files_(files) {}

  void Grade(const std::string& path) {
    SubCircuit circuit;
    DocumentSettings settings;
    const DocumentError opened = OpenDocumentFile(path, circuit, settings, files_);
    if (opened != DocumentError::None) {
      ReportFileError(err_, opened, path);
      out_ << path << ": kann nicht gelesen werden\n";
      grades_.push_back({path, "", "", "kann nicht gelesen werden"});
      ++unreadable_;
      return;
    }
    const std::string total = std::to_string(table_.rows.size());
    // A circuit without the terminals the table names fails every row: that is the child's
    // circuit, not the table, being wrong.
    if (const auto misfit = CheckTableFits(table_, circuit)) {
      out_ << path << ": 0 von " << total << " richtig; " << misfit->message << '\n';
      grades_.push_back({path, "0", total, misfit->message});
      ++failed_;
      return;
    }
    const CheckOutcome outcome = RunCheckTable(table_, circuit);
    FileGrade grade{path, std::to_string(outcome.rightCount), total, ""};
    out_ << path << ": " << RightCountText(outcome);
    if (const RowOutcome* wrong = outcome.FirstWrong()) {
      grade.remark = DescribeRow(table_, *wrong);
      out_ << "; " << grade.remark;
      ++failed_;
    }
    out_ << '\n';
    grades_.push_back(std::move(grade));
  }

  bool WriteOverview(const std::string& path) {
    std::vector<std::vector<std::string>> rows = {{"Datei", "Richtig", "Gesamt", "Erster Fehler"}};
    for (const FileGrade& grade : grades_) {
      rows.push_back({grade.file, grade.right, grade.total, grade.remark});
    }
    const std::string text = WriteTableRows(rows);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (WriteFileSafely(path, {bytes, text.size()}) != WriteFailure::None) {
      err_ << "Die Übersicht „" << path << "“ kann nicht geschrieben werden.\n";
      return false;
    }
    return true;
  }

  int Status() const {
    if (unreadable_ > 0) {
      return run_status::kFileError;
    }
    return failed_ > 0 ? run_status::kChecksFailed : run_status::kSuccess;
  }

  void WriteCounts() const {
    const std::size_t passed = grades_.size() - failed_ - unreadable_;
    out_ << grades_.size() << " Dateien: " << passed << " alles richtig, " << failed_
         << " mit Fehlern, " << unreadable_ << " nicht lesbar\n";
  }

 private:
  const CheckTable& table_;
  std::ostream& out_;
  std::ostream& err_;
  FileReader& files_;
  std::vector<FileGrade> grades_;
  std::size_t failed_ = 0;
  std::size_t unreadable_ = 0;
};

}  // namespace

int GradeFiles(const RunRequest& request, std::ostream& out, std::ostream& err, FileReader& files) {
  const std::optional<CheckTable> table = ReadTableFile(request.table, err);
  if (!table) {
    return run_status::kFileError;
  }
  Grader grader(*table, out, err, files);
  for (const std::string& path : request.gradedFiles) {
    grader.Grade(path);
  }
  grader.WriteCounts();
  if (!request.overview.empty() && !grader.WriteOverview(request.overview)) {
    return run_status::kFileError;
  }
  return grader.Status();
}

}  // namespace trivenor
