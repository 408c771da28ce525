#include "document/scramble.h"

#include <string_view>

namespace trivenor {
namespace {

constexpr std::string_view kCheckMarker = "QZV";
// Byte values 1 to 255 form the ring that the substitution turns.
constexpr int kByteRing = 255;

}  // namespace

void ScrambleText(std::string& text, std::int32_t key, bool encode) {
  if (encode) {
    text += kCheckMarker;
  }
  const int step = (key % kScrambleModulus + kScrambleModulus) % kScrambleModulus;
  // (i + 1) * step modulo 255, advanced position by position so that no length can overflow.
  int shift = 0;
  for (char& character : text) {
    shift = (shift + step) % kByteRing;
    const int byte = static_cast<unsigned char>(character);
    // Adding whole turns keeps the remainder non-negative, also for byte 0 (the ring's 255).
    const int moved = byte - 1 + (encode ? shift : kByteRing - shift) + kByteRing;
    character = static_cast<char>(moved % kByteRing + 1);
  }
  if (!encode && text.ends_with(kCheckMarker)) {
    text.resize(text.size() - kCheckMarker.size());
  }
}

}  // namespace trivenor
