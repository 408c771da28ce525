#pragma once

#include <cstddef>

namespace trivenor::test_support {

/// A test program that links heap_accounting replaces the global allocation functions with ones
/// that count: the number of allocations, the bytes live and their highest value. Only programs
/// of their own link it, so no other test is affected. The blocks of the model's pool count as
/// heap blocks of their size.
std::size_t HeapAllocations();
std::size_t LiveHeapBytes();
std::size_t PeakHeapBytes();
/// Starts a new peak from the bytes live now.
void RestartHeapPeak();
/// The bytes the C library's allocator has handed out and not had back, on the main thread's
/// arena and in blocks of their own. Unlike LiveHeapBytes it also sees malloc, through which
/// Qt allocates the contents of its strings and images.
std::size_t MallocBytesInUse();

}  // namespace trivenor::test_support
