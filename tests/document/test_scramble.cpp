#include "document/scramble.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace trivenor {
namespace {

constexpr std::int32_t kMinKey = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMaxKey = std::numeric_limits<std::int32_t>::max();

std::string Encoded(std::string text, std::int32_t key) {
  ScrambleText(text, key, true);
  return text;
}

std::string Decoded(std::string text, std::int32_t key) {
  ScrambleText(text, key, false);
  return text;
}

TEST(ScrambleText, MatchesWorkedExamples) {
  // "A" + "QZV" = 65 81 90 86, moved by k, 2k, 3k, 4k within the ring 1..255.
  EXPECT_EQ(Encoded("A", 1), "BS]Z");
  EXPECT_EQ(Encoded("\xFF", 1), "\x01S]Z");
  EXPECT_EQ(Encoded("A", -1), "\xED\xAA`\t") << "-1 counts as 172";
  EXPECT_EQ(Decoded("\xED\xAA`\t", 172), "A");
}

TEST(ScrambleText, KeysActModuloTheModulus) {
  EXPECT_EQ(Encoded("Meier", kMinKey), Encoded("Meier", 125));
  EXPECT_EQ(Encoded("Meier", kMaxKey), Encoded("Meier", 47));
  EXPECT_EQ(Encoded("Meier", -5), Encoded("Meier", kScrambleModulus - 5));
  for (const std::int32_t key : {0, kScrambleModulus, -2 * kScrambleModulus, 12345 * 173}) {
    EXPECT_EQ(Encoded("Kennwort\xFF", key), "Kennwort\xFFQZV") << key;
  }
}

TEST(ScrambleText, DecodingUndoesEncodingForAnyKey) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(1, 255);
  std::uniform_int_distribution<std::int32_t> any_key(kMinKey, kMaxKey);
  std::vector<std::int32_t> keys = {0, 1, -1, 172, 173, -173, 174, 255, -1000, kMaxKey, kMinKey};
  for (int i = 0; i < 20; ++i) {
    keys.push_back(any_key(random));
  }
  for (const std::int32_t key : keys) {
    for (const std::size_t length : {0, 1, 2, 3, 254, 255, 256, 1000}) {
      std::string plain(length, '\0');
      for (char& c : plain) {
        c = static_cast<char>(byte(random));
      }
      const std::string scrambled = Encoded(plain, key);
      ASSERT_EQ(Decoded(scrambled, key), plain) << "key " << key << ", length " << length;
    }
  }
}

// Byte 255 is the ring's top, where a slip in the remainder would give 0 or lose the byte.
TEST(ScrambleText, NoZeroByteArisesAndByte255Survives) {
  for (std::int32_t key = 0; key < kScrambleModulus; ++key) {
    for (int value = 1; value < 256; ++value) {
      // 255 positions meet every shift the key can give.
      const std::string plain(255, static_cast<char>(value));
      const std::string scrambled = Encoded(plain, key);
      ASSERT_EQ(scrambled.find('\0'), std::string::npos) << "key " << key << ", byte " << value;
      ASSERT_EQ(Decoded(scrambled, key), plain) << "key " << key << ", byte " << value;
    }
  }
  // A zero byte lies outside the ring: it is scrambled as 255, even where the shift is 0.
  EXPECT_EQ(Encoded(std::string(1, '\0'), 0), "\xFFQZV");
  EXPECT_EQ(Encoded(std::string(1, '\0'), 7), Encoded("\xFF", 7));
}

TEST(ScrambleText, TextWithoutMarkerStaysAsDecoded) {
  std::string cut = Encoded("Meier", 9);
  cut.pop_back();
  EXPECT_EQ(Decoded(cut, 9), "MeierQZ");
  EXPECT_EQ(Decoded(Encoded("Meier", 9), 10).size(), 8u) << "a wrong key keeps all bytes";
  EXPECT_EQ(Decoded("", 9), "");
  EXPECT_EQ(Decoded(Encoded("QZV", 3), 3), "QZV") << "only the appended marker goes";
}

TEST(ScrambleText, LongTextsRepeatEvery255Positions) {
  const std::size_t length = 2'000'000;
  const std::string plain(length, 'x');
  const std::string scrambled = Encoded(plain, 101);
  for (std::size_t i = length - 1000; i < length - 255; ++i) {
    ASSERT_EQ(scrambled[i], scrambled[i + 255]) << i;
    ASSERT_EQ(scrambled[i], scrambled[i % 255]) << i;
  }
  EXPECT_EQ(Decoded(scrambled, 101), plain);
}

}  // namespace
}  // namespace trivenor
