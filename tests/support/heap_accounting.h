#pragma once

#include <cstddef>

namespace trivenor::test_support {

/// A test program that links heap_accounting replaces the global allocation functions with ones
/// that count: the number of allocations, the bytes live and their highest value. Only programs
/// of their own link it, so no other test is affected.
std::size_t HeapAllocations();
std::size_t LiveHeapBytes();
std::size_t PeakHeapBytes();
/// Starts a new peak from the bytes live now.
void RestartHeapPeak();

}  // namespace trivenor::test_support
