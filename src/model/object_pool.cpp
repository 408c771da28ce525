#include "model/object_pool.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

// Under AddressSanitizer every block goes to the general heap, which it watches.
#if defined(__SANITIZE_ADDRESS__)
#define TRIVENOR_POOL_PASSTHROUGH 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TRIVENOR_POOL_PASSTHROUGH 1
#endif
#endif

namespace trivenor {

namespace {

constexpr std::size_t kGranule = 8;
constexpr std::size_t kLargestPooled = 256;
constexpr std::size_t kSizeClasses = kLargestPooled / kGranule;

struct FreeBlock {
  FreeBlock* next;
};

// One pool per thread, so taking and giving back need no lock. A block freed on another thread
// than the one that made it joins that thread's free list, which is as good: regions are never
// given back. The state is trivially destructible, so objects freed while the program ends
// still find it.
struct PoolState {
  FreeBlock* freeLists[kSizeClasses];
  char* next;
  char* end;
  std::size_t bytesInUse;
  std::size_t blocksHandedOut;
};

thread_local constinit PoolState pool{};

// The pass-through build, where the sanitizers see every object, has no regions.
#if !defined(TRIVENOR_POOL_PASSTHROUGH)
/// A huge page on x86-64 and most ARM systems; a region of that size and alignment can be
/// backed by one.
constexpr std::size_t kRegionBytes = std::size_t{2} << 20;

std::size_t ClassOf(std::size_t bytes) {
  return (bytes + kGranule - 1) / kGranule - 1;
}

char* NewRegion() {
  void* region = ::operator new (kRegionBytes, std::align_val_t{kRegionBytes});
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Where huge pages are granted on request only, ask; refusal costs nothing.
  madvise(region, kRegionBytes, MADV_HUGEPAGE);
#endif
  return static_cast<char*>(region);
}
#endif

}  // namespace

void* PoolAllocate(std::size_t bytes) {
#if defined(TRIVENOR_POOL_PASSTHROUGH)
  return ::operator new(bytes);
#else
  if (bytes > kLargestPooled) {
    return ::operator new(bytes);
  }
  const std::size_t sizeClass = ClassOf(bytes == 0 ? 1 : bytes);
  const std::size_t blockBytes = (sizeClass + 1) * kGranule;
  ++pool.blocksHandedOut;
  pool.bytesInUse += blockBytes;
  if (FreeBlock* block = pool.freeLists[sizeClass]; block != nullptr) {
    pool.freeLists[sizeClass] = block->next;
    return block;
  }
  if (static_cast<std::size_t>(pool.end - pool.next) < blockBytes) {
    // The rest of the old region, less than one large block, stays unused.
    pool.next = NewRegion();
    pool.end = pool.next + kRegionBytes;
  }
  void* block = pool.next;
  pool.next += blockBytes;
  return block;
#endif
}

void PoolFree(void* block, std::size_t bytes) noexcept {
  if (block == nullptr) {
    return;
  }
#if defined(TRIVENOR_POOL_PASSTHROUGH)
  // Unsized: clang builds without sized deallocation unless asked for it.
  static_cast<void>(bytes);
  ::operator delete(block);
#else
  if (bytes > kLargestPooled) {
    ::operator delete(block);
    return;
  }
  const std::size_t sizeClass = ClassOf(bytes == 0 ? 1 : bytes);
  pool.bytesInUse -= (sizeClass + 1) * kGranule;
  auto* freed = static_cast<FreeBlock*>(block);
  freed->next = pool.freeLists[sizeClass];
  pool.freeLists[sizeClass] = freed;
#endif
}

std::size_t PoolBytesInUse() {
  return pool.bytesInUse;
}

std::size_t PoolBlocksHandedOut() {
  return pool.blocksHandedOut;
}

}  // namespace trivenor
