#include "shell/field_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <optional>
#include <random>
#include <string>

namespace trivenor {
namespace {

TEST(ReadWholeNumber, ReadsLikeScanfAndRefusesWhatItCannotRead) {
  const struct {
    std::string text;
    std::optional<int> expected;
  } cases[] = {
      {"12abc", 12},
      {" \t\n-7", -7},
      {"-2147483648", INT_MIN},
      {"2147483647", INT_MAX},
      // scanf's result is undefined beyond int: refused rather than wrapped or saturated.
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {std::string(62, '9'), std::nullopt},
      {"\xC2\xA0"
       "12",
       std::nullopt},              // a no-break space is not white space in "C"
      {"\xD9\xA3", std::nullopt},  // nor is an Arabic-Indic digit a digit
      // Only the first 63 characters count.
      {std::string(60, ' ') + "123", 123},
      {std::string(61, ' ') + "123", 12},
      {std::string(63, ' ') + "5", std::nullopt},
      {std::string(70, '0') + "5", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadWholeNumber(c.text), c.expected) << '"' << c.text << '"';
  }
}

// Short texts over the characters that matter, against the C library itself.
TEST(ReadWholeNumber, AgreesWithSscanfOnShortTexts) {
  const std::string alphabet = " \t+-0123456789x";
  std::mt19937 generator(20240611);
  std::uniform_int_distribution<std::size_t> length(0, 9);  // at most 9 digits: always an int
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (int round = 0; round < 20000; ++round) {
    std::string text(length(generator), ' ');
    for (char& c : text) {
      c = alphabet[pick(generator)];
    }
    int scanned = 0;
    const bool read = std::sscanf(text.c_str(), "%d", &scanned) == 1;
    ASSERT_EQ(ReadWholeNumber(text), read ? std::optional<int>(scanned) : std::nullopt)
        << '"' << text << '"';
  }
}

TEST(CheckWholeNumberField, TakesTheRangeEndsAndWarnsOutsideIt) {
  constexpr WholeNumberRange kRange{-5, 10000};
  EXPECT_EQ(CheckWholeNumberField("-5", kRange).value, -5);
  EXPECT_EQ(CheckWholeNumberField("10000", kRange).value, 10000);
  EXPECT_FALSE(CheckWholeNumberField("10000", kRange).warning);
  for (const char* outside : {"-6", "10001"}) {
    const WholeNumberCheck check = CheckWholeNumberField(outside, kRange);
    EXPECT_FALSE(check.value) << outside;
    EXPECT_EQ(check.warning, "Geben Sie eine ganze Zahl zwischen -5 und 10000 ein.") << outside;
  }
  for (const char* unreadable : {"", "abc", "99999999999"}) {
    const WholeNumberCheck check = CheckWholeNumberField(unreadable, kRange);
    EXPECT_FALSE(check.value) << unreadable;
    EXPECT_EQ(check.warning, "Geben Sie eine ganze Zahl ein.") << unreadable;
  }
}

TEST(CheckTextLength, CountsCharactersNotBytes) {
  std::string umlauts;
  for (int i = 0; i < 40; ++i) {
    umlauts += "ä";
  }
  EXPECT_FALSE(CheckTextLength("", 40));
  EXPECT_FALSE(CheckTextLength(umlauts, 40));
  EXPECT_EQ(CheckTextLength(umlauts + "a", 40), "Geben Sie nicht mehr als 40 Zeichen ein.");
}

}  // namespace
}  // namespace trivenor
