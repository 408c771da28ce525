#include "document/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace trivenor {
namespace {

using namespace std::string_literals;  // for literals that hold a zero byte

TEST(CodePage, EveryByteSurvivesTheTripThroughUtf8) {
  std::string all_bytes;
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(Utf8ToCodePage(CodePageToUtf8(one)), one) << "byte " << byte;
    all_bytes += one;
  }
  EXPECT_EQ(Utf8ToCodePage(CodePageToUtf8(all_bytes)), all_bytes);
}

TEST(CodePage, BytesMapToWindows1252) {
  EXPECT_EQ(CodePageToUtf8("A\x80"), "A€");
  EXPECT_EQ(CodePageToUtf8("\x8A\x99\x9F"), "Š™Ÿ");
  EXPECT_EQ(CodePageToUtf8("\xA0\xC4\xFF"), "\xC2\xA0Äÿ");
  // The undefined bytes become the C1 controls of the same number.
  EXPECT_EQ(CodePageToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
  EXPECT_EQ(CodePageToUtf8("a\0b"s), "a\0b"s);
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCodePage("Öl für 5 € – “gut”"), "\xD6l f\xFCr 5 \x80 \x96 \x93gut\x94");
  EXPECT_EQ(Utf8ToCodePage("中文"), "??");
  EXPECT_EQ(Utf8ToCodePage("x😀y"), "x?y");
  // U+0080 is a C1 control that Windows-1252 gave up for the euro sign.
  EXPECT_EQ(Utf8ToCodePage("\xC2\x80"), "?");
}

TEST(CodePage, MalformedUtf8GivesOneQuestionMarkPerMaximalSubpart) {
  struct Case {
    const char* what;
    std::string utf8;
    std::string bytes;
  };
  const Case cases[] = {
      {"lone continuation byte", "a\x80z", "a?z"},
      {"overlong slash, two bytes", "\xC0\xAF", "??"},
      {"overlong slash, three bytes", "\xE0\x80\xAF", "???"},
      {"overlong slash, four bytes", "\xF0\x80\x80\xAF", "????"},
      {"encoded high surrogate", "\xED\xA0\x80", "???"},
      {"encoded low surrogate", "\xED\xBF\xBF", "???"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"lead byte beyond F4", "\xF5\x80\x80\x80", "????"},
      {"byte FF", "\xFF", "?"},
      {"truncated euro at the end", "A\xE2\x82", "A?"},
      {"truncated euro before a letter",
       "\xE2\x82"
       "B",
       "?B"},
      {"truncated four-byte sequence",
       "\xF0\x9F\x98"
       "!",
       "?!"},
      {"lead cut off by another lead", "\xC3\xC3\xA4", "?\xE4"},
      {"lead cut off by a zero byte", "\xC3\0x"s, "?\0x"s},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToCodePage(c.utf8), c.bytes) << c.what;
  }
}

TEST(CodePage, Utf16UnitsMapLikeTheirCharacters) {
  EXPECT_EQ(Utf16ToCodePage(u"A€ÿ\x0081"), "A\x80\xFF\x81");
  EXPECT_EQ(Utf16ToCodePage(u"\x0080中"), "??");
  EXPECT_EQ(Utf16ToCodePage(std::u16string(u"a\0b", 3)), "a\0b"s);

  const char16_t pair_then_text[] = {0xD83D, 0xDE00, u'x', 0};
  EXPECT_EQ(Utf16ToCodePage(pair_then_text), "?x") << "a surrogate pair is one character";
  const char16_t unpaired[] = {0xD83D, u'a', 0xDE00, u'b', 0xDBFF, 0};
  EXPECT_EQ(Utf16ToCodePage(unpaired), "?a?b?");
}

}  // namespace
}  // namespace trivenor
