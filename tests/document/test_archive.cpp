#include "document/archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trivenor {
namespace {

using ByteVector = std::vector<std::uint8_t>;

ByteVector Stored(auto&& write) {
  Archive archive;
  write(archive);
  return archive.TakeWritten();
}

ByteVector StoredInt32(std::int32_t value) {
  return Stored([&](Archive& archive) { archive.Int32(value); });
}

ByteVector StoredBytes(std::string text) {
  return Stored([&](Archive& archive) { archive.Bytes(text); });
}

std::string LoadedBytes(const ByteVector& data) {
  Archive archive(data);
  std::string text = "unchanged";
  archive.Bytes(text);
  EXPECT_EQ(archive.Remaining(), 0u);
  return text;
}

ByteVector Concat(std::initializer_list<ByteVector> parts) {
  ByteVector all;
  for (const ByteVector& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

ByteVector Utf16Le(std::u16string_view units) {
  ByteVector bytes;
  for (const char16_t unit : units) {
    bytes.push_back(static_cast<std::uint8_t>(unit));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

TEST(ArchiveNumbers, AreLittleEndianTwosComplement) {
  EXPECT_EQ(StoredInt32(0x12345678), (ByteVector{0x78, 0x56, 0x34, 0x12}));
  EXPECT_EQ(StoredInt32(-2), (ByteVector{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(StoredInt32(std::numeric_limits<std::int32_t>::min()),
            (ByteVector{0x00, 0x00, 0x00, 0x80}));

  const ByteVector data = {0x58, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80};
  Archive archive(data);
  std::int32_t first = 0, second = 0;
  archive.Int32(first);
  archive.Int32(second);
  EXPECT_EQ(first, 600);
  EXPECT_EQ(second, std::numeric_limits<std::int32_t>::min());
}

TEST(ArchiveNumbers, FloatKeepsItsExactBitPattern) {
  float one = 1.0f;
  EXPECT_EQ(Stored([&](Archive& archive) { archive.Float(one); }),
            (ByteVector{0x00, 0x00, 0x80, 0x3F}));

  // Negative zero, infinity, a denormal and NaNs with payloads, quiet and signalling.
  for (const std::uint32_t bits :
       {0x80000000u, 0x7F800000u, 0x00000001u, 0x7FC12345u, 0x7FA00001u, 0xFFFFFFFFu}) {
    float value = std::bit_cast<float>(bits);
    const ByteVector data = Stored([&](Archive& archive) { archive.Float(value); });
    EXPECT_EQ(data, StoredInt32(static_cast<std::int32_t>(bits)));
    Archive loader(data);
    float loaded = 0;
    loader.Float(loaded);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(loaded), bits);
  }
}

TEST(ArchiveStrings, LengthPrefixTakesTheShortestForm) {
  struct Case {
    std::size_t length;
    ByteVector prefix;
  };
  const Case cases[] = {
      {0, {0x00}},
      {1, {0x01}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {256, {0xFF, 0x00, 0x01}},
      {65533, {0xFF, 0xFD, 0xFF}},
      // 0xFFFE and 0xFFFF are markers, so 65534 already needs the 32-bit form.
      {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
      {100000, {0xFF, 0xFF, 0xFF, 0xA0, 0x86, 0x01, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    std::string text(c.length, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
      text[i] = static_cast<char>(i * 7 + 3);  // every byte value, 0 and 0xFF included
    }
    const ByteVector data = StoredBytes(text);
    ASSERT_EQ(data.size(), c.prefix.size() + c.length);
    EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), data.begin()));
    EXPECT_EQ(LoadedBytes(data), text);
  }
}

TEST(ArchiveStrings, TextIsStoredInTheCodePage) {
  std::string text = "Größe 5 €, 中";
  const ByteVector data = Stored([&](Archive& archive) { archive.Text(text); });
  EXPECT_EQ(data, (ByteVector{12, 'G', 'r', 0xF6, 0xDF, 'e', ' ', '5', ' ', 0x80, ',', ' ', '?'}));
  EXPECT_EQ(text, "Größe 5 €, 中") << "storing must not change the caller's text";

  Archive loader(data);
  std::string loaded;
  loader.Text(loaded);
  EXPECT_EQ(loaded, "Größe 5 €, ?");
}

TEST(ArchiveStrings, WideFormIsConvertedToTheCodePage) {
  const ByteVector wide = {0xFF, 0xFE, 0xFF};
  // Short length, with a character outside the code page and a surrogate pair.
  EXPECT_EQ(LoadedBytes(Concat({wide, {5}, Utf16Le(u"A€中😀")})), "A\x80??");

  const std::u16string long_units(300, u'é');
  EXPECT_EQ(LoadedBytes(Concat({wide, {0xFF, 0x2C, 0x01}, Utf16Le(long_units)})),
            std::string(300, '\xE9'));
  // The 32-bit length, here with a small value: readers take it whatever the size.
  EXPECT_EQ(LoadedBytes(Concat({wide, {0xFF, 0xFF, 0xFF, 2, 0, 0, 0}, Utf16Le(u"ÿ€")})),
            "\xFF\x80");

  const ByteVector data = Concat({wide, {3}, Utf16Le(u"Öl€")});
  Archive loader(data);
  std::string utf8;
  loader.Text(utf8);
  EXPECT_EQ(utf8, "Öl€");
}

TEST(ArchiveStrings, WideFormAnnouncedTwiceIsRejected) {
  const ByteVector data = {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00};
  Archive archive(data);
  std::string text;
  EXPECT_THROW(archive.Bytes(text), FormatError);
}

// An implementation that sized a buffer from these lengths before checking them would need
// gigabytes here, and fail with bad_alloc or run out of memory instead of throwing at once.
TEST(ArchiveStrings, AbsurdLengthIsRejectedBeforeAnyAllocation) {
  const ByteVector absurd[] = {
      {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'},
      {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'},
      // Twice as many units as bytes left: the unit count alone would fit.
      Concat({{0xFF, 0xFE, 0xFF, 4}, Utf16Le(u"ab")}),
  };
  for (const ByteVector& data : absurd) {
    Archive archive(data);
    std::string text = "unchanged";
    EXPECT_THROW(archive.Bytes(text), FormatError);
    EXPECT_EQ(text, "unchanged");
  }
}

// One routine for both directions, as the circuit records are written and read.
struct Record {
  std::int32_t number = 0;
  float value = 0;
  std::string short_text, long_text;
  std::uint8_t block[6] = {};

  void Exchange(Archive& archive) {
    archive.Int32(number);
    archive.Float(value);
    archive.Bytes(short_text);
    archive.Text(long_text);
    archive.Raw(block, sizeof block);
  }
};

TEST(ArchiveRecords, ReadBackWhatWasWritten) {
  Record written{-7, 2.5f, "kurz", std::string(300, 'x') + "ü", {1, 2, 3, 4, 5, 6}};
  Archive storer;
  written.Exchange(storer);
  const ByteVector data = storer.TakeWritten();
  EXPECT_TRUE(storer.Written().empty());

  Archive loader(data);
  Record loaded;
  loaded.Exchange(loader);
  EXPECT_EQ(loader.Remaining(), 0u);
  EXPECT_EQ(loaded.number, written.number);
  EXPECT_EQ(loaded.value, written.value);
  EXPECT_EQ(loaded.short_text, written.short_text);
  EXPECT_EQ(loaded.long_text, written.long_text);
  EXPECT_TRUE(std::equal(std::begin(loaded.block), std::end(loaded.block), written.block));
}

/// Gives the bytes of `data` in reads of at most `step` bytes, as a file may.
class TricklingSource final : public ByteSource {
 public:
  TricklingSource(std::span<const std::uint8_t> data, std::size_t step)
      : data_(data), step_(step) {}
  std::size_t Read(std::uint8_t* into, std::size_t size) override {
    const std::size_t count = std::min({size, step_, data_.size() - given_});
    std::copy_n(data_.data() + given_, count, into);
    given_ += count;
    return count;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t step_;
  std::size_t given_ = 0;
};

/// Every form a load can take apart: numbers, all length forms, wide strings and a raw block.
ByteVector EveryForm() {
  return Concat({
      StoredInt32(42),
      StoredBytes("abc"),
      StoredBytes(std::string(300, 'y')),
      {0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 'h', 'i'},  // 32-bit length form
      {0xFF, 0xFE, 0xFF, 2},
      Utf16Le(u"€x"),
      {0xFF, 0xFE, 0xFF, 0xFF, 1, 0},
      Utf16Le(u"z"),
      {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0},
      Utf16Le(u"w"),
      {9, 8, 7},  // raw block
  });
}

std::string ReadEveryForm(Archive& archive) {
  std::int32_t number = 0;
  archive.Int32(number);
  std::string text;
  for (int i = 0; i < 6; ++i) {
    archive.Bytes(text);
  }
  std::uint8_t block[3];
  archive.Raw(block, sizeof block);
  return text + std::string(block, block + sizeof block);
}

TEST(ArchiveRecords, DataEndingAnywhereThrowsFormatError) {
  const ByteVector complete = EveryForm();
  Archive whole(complete);
  EXPECT_EQ(ReadEveryForm(whole), "w\x09\x08\x07");
  for (std::size_t size = 0; size < complete.size(); ++size) {
    SCOPED_TRACE(size);
    const auto part = std::span(complete).first(size);
    Archive inMemory(part);
    EXPECT_THROW(ReadEveryForm(inMemory), FormatError);
    TricklingSource announced(part, 3);
    Archive shortStream(announced, size);
    EXPECT_THROW(ReadEveryForm(shortStream), FormatError);
    // A file that shrinks while it is read gives fewer bytes than its size promised.
    TricklingSource shrunk(part, 3);
    Archive brokenPromise(shrunk, complete.size());
    EXPECT_THROW(ReadEveryForm(brokenPromise), FormatError);
  }
}

TEST(ArchiveRecords, SourceGivesTheSameValuesWhereverItsPiecesEnd) {
  // The archive reads a source 64 KiB at a time: each value here lies across the end of the
  // first window once, and a string longer than a window follows.
  const ByteVector form = EveryForm();
  const ByteVector longText = StoredBytes(std::string(70000, 'L'));
  for (std::size_t padding = 65536 - form.size() - 4; padding <= 65536; ++padding) {
    SCOPED_TRACE(padding);
    const ByteVector data = Concat({ByteVector(padding, 0), form, longText, StoredInt32(-3)});
    TricklingSource source(data, 4099);
    Archive archive(source, data.size());
    ByteVector skipped(padding);
    archive.Raw(skipped.data(), skipped.size());
    EXPECT_EQ(ReadEveryForm(archive), "w\x09\x08\x07");
    std::string text;
    archive.Bytes(text);
    EXPECT_EQ(text, std::string(70000, 'L'));
    std::int32_t last = 0;
    archive.Int32(last);
    EXPECT_EQ(last, -3);
    EXPECT_EQ(archive.Remaining(), 0u);
  }
}

TEST(ArchiveRecords, FailedLoadLeavesTheTargetAsItWas) {
  const ByteVector data = {1, 2, 3};
  Archive archive(data);
  std::int32_t number = 5;
  EXPECT_THROW(archive.Int32(number), FormatError);
  EXPECT_EQ(number, 5);
  std::uint8_t block[4] = {0, 0, 0, 0};
  EXPECT_THROW(archive.Raw(block, sizeof block), FormatError);
  EXPECT_EQ(block[0], 0);
  EXPECT_EQ(archive.Remaining(), 3u);
}

TEST(ArchiveRecords, EmptyRawBlockMayBeNull) {
  Archive storer;
  storer.Raw(nullptr, 0);
  EXPECT_TRUE(storer.Written().empty());
  Archive loader(std::span<const std::uint8_t>{});
  loader.Raw(nullptr, 0);
  EXPECT_EQ(loader.Remaining(), 0u);
}

}  // namespace
}  // namespace trivenor
