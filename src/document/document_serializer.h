#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "document/archive.h"
#include "document/circuit_files.h"
#include "model/sub_circuit.h"

namespace trivenor {

/// The canvas font chosen by the user, stored as the 60 bytes of the Windows LOGFONTA record
/// the file format was made with. Kept as raw bytes; the editor converts it to a font.
using FontRecord = std::array<std::uint8_t, 60>;

/// The document settings stored after the circuit.
struct DocumentSettings {
  int canvasWidth = 600;
  bool spareFlag = true;  ///< kept and written back; nothing depends on it
  bool editable = true;   ///< structural changes allowed
  std::optional<FontRecord> canvasFont;
};

/// The text every circuit file begins with.
inline constexpr char kCircuitVersionText[] = "1.0b";

/// Writes or reads a whole document: the version text, the top circuit and the settings.
/// Loading expects an empty circuit and default settings. A file with another version text
/// leaves them so (it opens as an empty document); otherwise the input terminals lose their
/// stored sources and the circuit is evaluated once, so values show at once.
/// Throws FormatError on malformed data; `context` is needed for loading.
void SerializeDocument(Archive& archive, SubCircuit& circuit, DocumentSettings& settings,
                       LoadContext* context = nullptr);

}  // namespace trivenor
