#include "heap_accounting.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "model/object_pool.h"

namespace {

std::size_t allocations = 0;
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

void* Allocate(std::size_t size) {
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) {
    throw std::bad_alloc();
  }
  ++allocations;
  // The block's own size, so the count stays right whichever form of delete releases it.
  liveBytes += malloc_usable_size(memory);
  // The pool's use is looked at whenever the heap grows, which is often enough while a circuit
  // is built: its lists grow on the heap.
  peakBytes = std::max(peakBytes, liveBytes + trivenor::PoolBytesInUse());
  return memory;
}

void* AllocateOrNull(std::size_t size) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void Release(void* memory) noexcept {
  if (memory != nullptr) {
    liveBytes -= malloc_usable_size(memory);
    std::free(memory);
  }
}

}  // namespace

namespace trivenor::test_support {

// The blocks of the model's pool count as the heap's: they are what the objects cost.
std::size_t HeapAllocations() {
  return allocations + PoolBlocksHandedOut();
}
std::size_t LiveHeapBytes() {
  return liveBytes + PoolBytesInUse();
}
std::size_t PeakHeapBytes() {
  return std::max(peakBytes, LiveHeapBytes());
}
void RestartHeapPeak() {
  peakBytes = LiveHeapBytes();
}
std::size_t MallocBytesInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

}  // namespace trivenor::test_support

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size);
}
void operator delete(void* memory) noexcept {
  Release(memory);
}
void operator delete[](void* memory) noexcept {
  Release(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  Release(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  Release(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
  Release(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
  Release(memory);
}
