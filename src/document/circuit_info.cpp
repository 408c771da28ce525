#include "document/circuit_info.h"

#include "document/code_page.h"
#include "document/scramble.h"
#include "document/undo_step_names.h"

namespace trivenor {
namespace {

/// The password as saving and reopening give it back: characters the code page cannot hold
/// turn into "?" and the scrambling turns a byte 0 into 255. Storing and comparing it in this
/// form means a password keeps opening the circuit after a save; compared as typed, one with
/// such a character would lock the circuit for good once saved.
std::string AsStoredInFile(const std::string& password) {
  std::string bytes = Utf8ToCodePage(password);
  ScrambleText(bytes, 0, true);
  ScrambleText(bytes, 0, false);
  return CodePageToUtf8(bytes);
}

}  // namespace

CircuitInfo ReadCircuitInfo(const CTrivenorDoc& document) {
  const SubCircuit& circuit = document.circuit();
  return {.title = circuit.label,
          .owner = circuit.owner,
          .password = {},
          .editable = document.settings.editable};
}

bool PasswordOpens(const CTrivenorDoc& document, const std::string& typedPassword) {
  const std::string& stored = document.circuit().password;
  return stored.empty() || AsStoredInFile(typedPassword) == stored;
}

bool ApplyCircuitInfo(CTrivenorDoc& document, const CircuitInfo& typed) {
  if (!PasswordOpens(document, typed.password)) {
    return false;
  }
  SubCircuit& circuit = document.circuit();
  const std::string password = AsStoredInFile(typed.password);
  const bool changed = circuit.label != typed.title || circuit.owner != typed.owner ||
                       circuit.password != password || document.settings.editable != typed.editable;
  circuit.label = typed.title;
  circuit.owner = typed.owner;
  circuit.password = password;
  document.settings.editable = typed.editable;
  if (changed) {
    document.RecordStep(undo_step::kCircuitInfo);
  }
  document.SetModifiedFlag();
  return true;
}

}  // namespace trivenor
