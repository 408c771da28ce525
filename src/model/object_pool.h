#pragma once

#include <cstddef>
#include <new>

namespace trivenor {

// A circuit is hundreds of thousands of small objects (components, ports, their port lists)
// that are made together when a file is opened and freed together when it is closed. Taking
// each from the general heap cost a block header apiece and, spread over many small pages, most
// of the time of opening a large file went into the allocator and the page faults behind it.
// The pool hands out blocks of a few fixed sizes from large regions backed by huge pages where
// the system has them, and keeps freed blocks for the next object of their size.

/// A block of `bytes`, aligned to 8 bytes; larger blocks come from the general heap.
void* PoolAllocate(std::size_t bytes);
/// Gives back a block from PoolAllocate with the size it was asked for.
void PoolFree(void* block, std::size_t bytes) noexcept;

/// The bytes of the blocks this thread's pool has handed out and not been given back. Its
/// regions are kept for the life of the process, their free blocks for the next objects.
std::size_t PoolBytesInUse();
/// How many blocks this thread's pool has handed out so far.
std::size_t PoolBlocksHandedOut();

/// Gives a class the pool's operator new and delete. Each class names itself (`Port :
/// PoolAllocated<Port>`), so an object holding another pooled one as a member stays as small
/// as before.
template <class Derived>
struct PoolAllocated {
  static void* operator new(std::size_t bytes) { return PoolAllocate(bytes); }
  // The size is the object's own, also when it is deleted through a base with a virtual
  // destructor.
  static void operator delete(void* block, std::size_t bytes) noexcept { PoolFree(block, bytes); }
};

}  // namespace trivenor
