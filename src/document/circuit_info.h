#pragma once

#include <string>

#include "document/trivenor_doc.h"

namespace trivenor {

/// What "Schaltkreisinformationen" shows and changes: the top circuit's title, owner and
/// password and the document's lock switch. All four are guarded by the stored password.
struct CircuitInfo {
  std::string title;
  std::string owner;
  std::string password;
  bool editable = true;
};

/// The values as the dialog starts: the password is never shown, so it comes back empty.
CircuitInfo ReadCircuitInfo(const CTrivenorDoc& document);

/// Whether `typedPassword` may change the values: any text while no password is stored,
/// otherwise only the stored one, byte for byte and case-sensitive.
bool PasswordOpens(const CTrivenorDoc& document, const std::string& typedPassword);

/// Takes over all four typed values and marks the document modified, if PasswordOpens allows
/// it; otherwise changes nothing and returns false. The typed password becomes the stored one,
/// so once a password is set it can be neither changed nor removed. Values that change are one
/// undo step; as the lock is one of them, allowing changes again makes the history usable again.
bool ApplyCircuitInfo(CTrivenorDoc& document, const CircuitInfo& typed);

}  // namespace trivenor
