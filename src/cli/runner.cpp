#include "cli/runner.h"

#include <cstdint>
#include <variant>

#include "cli/circuit_state.h"
#include "cli/file_report.h"
#include "cli/grading.h"
#include "cli/help_text.h"
#include "cli/run_options.h"
#include "document/document_io.h"
#include "model/circuit_passes.h"

namespace trivenor {

namespace {

constexpr char kProgramName[] = "trivenor-run";

/// The loaded document and what the steps have done to it so far.
class StepRunner {
 public:
  StepRunner(SubCircuit& circuit, DocumentSettings& settings, std::ostream& out, std::ostream& err)
      : circuit_(circuit), settings_(settings), out_(out), err_(err) {}

  int operator()(const SetInputStep& step) {
    for (auto& terminal : circuit_.inputs) {
      if (terminal->row == step.row) {
        terminal->value = step.value;
        return run_status::kSuccess;
      }
    }
    err_ << kProgramName << ": Der Schaltkreis hat keinen Eingang in Zeile "
         << std::to_string(step.row) << ".\n";
    return run_status::kUsageError;
  }

  int operator()(const RunPassesStep& step) {
    if (!tracing_) {
      evaluation_.RunPasses(step.count);
      passes_ += step.count;
      return run_status::kSuccess;
    }
    for (std::uint64_t i = 0; i < step.count; ++i) {
      evaluation_.RunPass();
      ++passes_;
      if (tracing_) {
        if (const int status = PrintState(); status != run_status::kSuccess) {
          return status;
        }
      }
    }
    return run_status::kSuccess;
  }

  int operator()(const ResetStep&) {
    evaluation_.Reset();
    return run_status::kSuccess;
  }

  int operator()(const PrintStep&) { return PrintState(); }

  int operator()(const TraceStep&) {
    tracing_ = true;
    return PrintState();
  }

  int operator()(const SaveStep& step) {
    const DocumentError error = SaveDocumentFile(step.path, circuit_, settings_);
    if (error != DocumentError::None) {
      ReportFileError(err_, error, step.path);
      return run_status::kFileError;
    }
    return run_status::kSuccess;
  }

 private:
  /// A failed output stops the run: a long trace into a full disk would otherwise go on
  /// computing for nothing and end with success.
  int PrintState() {
    WriteCircuitState(out_, circuit_, passes_);
    return out_ ? run_status::kSuccess : run_status::kFileError;
  }

  SubCircuit& circuit_;
  DocumentSettings& settings_;
  std::ostream& out_;
  std::ostream& err_;
  CircuitPasses evaluation_{circuit_};
  std::uint64_t passes_ = 0;
  bool tracing_ = false;
};

int Execute(const RunRequest& request, std::ostream& out, std::ostream& err, FileReader& files) {
  SubCircuit circuit;
  DocumentSettings settings;
  const DocumentError opened = OpenDocumentFile(request.file, circuit, settings, files);
  if (opened != DocumentError::None) {
    ReportFileError(err, opened, request.file);
    return opened == DocumentError::BadFormat ? run_status::kBadFormat : run_status::kFileError;
  }
  StepRunner runner(circuit, settings, out, err);
  for (const RunStep& step : request.steps) {
    if (const int status = std::visit(runner, step); status != run_status::kSuccess) {
      return status;
    }
  }
  return run_status::kSuccess;
}

/// Output that cannot be written is a failure like any file that cannot be written, not a
/// success with nothing to show.
int CheckOutput(std::ostream& out, std::ostream& err, int status) {
  out.flush();
  if (!out) {
    err << kProgramName << ": Die Ausgabe kann nicht geschrieben werden.\n";
    return run_status::kFileError;
  }
  return status;
}

}  // namespace

int RunCommandLine(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
                   FileReader& files) {
  const RunRequest request = ParseRunArguments(arguments);
  switch (request.action) {
    case RunRequest::Action::ShowHelp:
      out << HelpText();
      return CheckOutput(out, err, run_status::kSuccess);
    case RunRequest::Action::UsageError:
      err << kProgramName << ": " << request.error << '\n' << UsageText();
      return run_status::kUsageError;
    case RunRequest::Action::Grade:
      return CheckOutput(out, err, GradeFiles(request, out, err, files));
    case RunRequest::Action::Run:
      break;
  }
  return CheckOutput(out, err, Execute(request, out, err, files));
}

}  // namespace trivenor
