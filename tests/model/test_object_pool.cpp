// The pool behind components and ports: blocks of every size keep apart and aligned, come back
// for reuse, and whatever a container asks for past the pooled sizes still works.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "model/object_pool.h"
#include "model/port_list.h"

namespace trivenor {
namespace {

struct Block {
  unsigned char* memory;
  std::size_t bytes;
};

std::vector<Block> Take(std::size_t perSize) {
  std::vector<Block> blocks;
  for (std::size_t bytes = 1; bytes <= 300; bytes += 7) {
    for (std::size_t i = 0; i < perSize; ++i) {
      auto* memory = static_cast<unsigned char*>(PoolAllocate(bytes));
      std::memset(memory, static_cast<int>(blocks.size() % 251), bytes);
      blocks.push_back({memory, bytes});
    }
  }
  return blocks;
}

TEST(ObjectPool, BlocksOfEverySizeKeepApartAndComeBackForReuse) {
  const std::size_t inUseBefore = PoolBytesInUse();
  const std::vector<Block> first = Take(300);
  for (std::size_t i = 0; i < first.size(); ++i) {
    const Block& block = first[i];
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.memory) % 8, 0u);
    // Every byte still holds what was written into its own block.
    EXPECT_TRUE(std::all_of(block.memory, block.memory + block.bytes,
                            [i](unsigned char byte) { return byte == i % 251; }))
        << block.bytes << " bytes";
  }
  std::set<unsigned char*> pooled;
  for (const Block& block : first) {
    if (block.bytes <= 256) {
      pooled.insert(block.memory);
    }
    PoolFree(block.memory, block.bytes);
  }
  EXPECT_EQ(PoolBytesInUse(), inUseBefore);

  const std::size_t handedOutBefore = PoolBlocksHandedOut();
  const std::vector<Block> second = Take(300);
  if (PoolBlocksHandedOut() != handedOutBefore) {  // not when the sanitizer's heap stands in
    std::set<unsigned char*> again;
    for (const Block& block : second) {
      if (block.bytes <= 256) {
        again.insert(block.memory);
      }
    }
    EXPECT_EQ(again, pooled);
  }
  for (const Block& block : second) {
    PoolFree(block.memory, block.bytes);
  }
}

TEST(ObjectPool, AContainerGrowsPastThePooledSizes) {
  PortList ports;
  for (int row = 0; row < 100000; ++row) {
    ports.push_back(std::make_unique<Port>(PortRole::CircuitInput, row));
  }
  EXPECT_EQ(ports[99999]->row, 99999);
}

}  // namespace
}  // namespace trivenor
