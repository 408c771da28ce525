// Labels in 8 bytes against std::string: texts on both sides of the 6 bytes kept inline, with
// 0 bytes inside, copied, moved and assigned from their own contents.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "model/compact_string.h"

namespace trivenor {
namespace {

std::string RandomText(std::mt19937& random) {
  std::string text(random() % 40, ' ');
  for (char& c : text) {
    c = static_cast<char>(random() % 4 == 0 ? 0 : 'a' + random() % 26);
  }
  return text;
}

void ExpectHolds(const CompactString& text, const std::string& expected) {
  ASSERT_EQ(text.view(), expected);
  ASSERT_EQ(text.size(), expected.size());
  ASSERT_EQ(text.c_str()[expected.size()], '\0');
}

TEST(CompactString, EditsMatchTheLibraryString) {
  std::mt19937 random(11);
  CompactString text;
  std::string expected;
  ExpectHolds(text, expected);
  for (int step = 0; step < 5000; ++step) {
    switch (random() % 5) {
      case 0:
        expected = RandomText(random);
        text = expected;
        break;
      case 1: {
        CompactString copy(text);
        ExpectHolds(copy, expected);
        text = CompactString(RandomText(random));
        text = copy;
        break;
      }
      case 2: {
        CompactString moved(std::move(text));
        ExpectHolds(moved, expected);
        ExpectHolds(text, "");
        text = std::move(moved);
        break;
      }
      case 3:
        // A part of its own text, which may lie in its own block.
        expected = expected.substr(expected.size() / 3);
        text = text.view().substr(text.size() / 3);
        break;
      default:
        text.clear();
        expected.clear();
    }
    ExpectHolds(text, expected);
    EXPECT_TRUE(text == expected);
    EXPECT_EQ(text.empty(), expected.empty());
    EXPECT_EQ(static_cast<std::string>(text), expected);
  }
}

}  // namespace
}  // namespace trivenor
