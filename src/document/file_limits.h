#pragma once

#include <cstddef>
#include <cstdint>

namespace trivenor {

/// Bounds the reader puts on circuit files. Files are untrusted: a value beyond these bounds is
/// nothing the editor writes, and loading it could exhaust memory, overflow the geometry
/// arithmetic or the stack. Such a file fails to load as malformed. The bounds are far beyond
/// anything the dialogs and the editor produce.
namespace file_limits {

/// Nested circuit records (sub-circuits inside sub-circuits, also across dynamic files).
inline constexpr int kMaxNesting = 100;
/// The dialogs allow delays, graph samples and graph sizes up to 10000.
inline constexpr std::int32_t kMaxDelayLength = 10000;
inline constexpr std::int32_t kMaxGraphPoints = 10000;
inline constexpr std::int32_t kMaxGraphSize = 10000;  ///< lines and characters
/// Positions, body sizes and the canvas width (the editor keeps them within about 1000).
inline constexpr std::int32_t kMaxCoordinate = 1000000;
/// Port rows, terminal slots and a component's highest row (the editor makes fewer than 40).
inline constexpr std::int32_t kMaxRow = 100000;
/// Port roles are held in a byte; the roles in use are 0 to 7.
inline constexpr std::int32_t kMinRole = -128;
inline constexpr std::int32_t kMaxRole = 127;
/// Line thickness (the editor offers 1, 2 and 4).
inline constexpr std::int32_t kMaxThickness = 1000;
/// Every reference number stands for a port record of at least this many bytes later in the
/// same record, which bounds the reference table by the data that is left.
inline constexpr std::size_t kMinBytesPerReference = 28;
/// Delay rings and graph samples may take this many floats in one load, plus kSlotsPerByte for
/// every byte of the files read (each file counted once), so memory stays in proportion to the
/// files.
inline constexpr std::size_t kBaseSampleSlots = 4u << 20;
inline constexpr std::size_t kSlotsPerByte = 8;
/// A dynamic sub-circuit's file is read once per load, and again only where a chain of files
/// leading back to themselves makes its contents depend on the place; all the files of one load
/// together may hold this many bytes, or kBytesPerDocumentByte per byte of the document,
/// whichever is more.
inline constexpr std::size_t kBaseBytesPerLoad = 64u << 20;
inline constexpr std::size_t kBytesPerDocumentByte = 16;
/// Further copies of a file are built from its first decode. A few small files placing each
/// other many times over could make an enormous circuit that way, so all the copies of one load
/// (and the first decodes kept for them) together may take about this much memory, plus kCopyBytesPerByte for every byte of the files
/// read (each file counted once).
inline constexpr std::size_t kBaseCopyBytes = std::size_t{144} << 20;
inline constexpr std::size_t kCopyBytesPerByte = 32;

}  // namespace file_limits
}  // namespace trivenor
