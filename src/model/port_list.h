#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

#include "model/object_pool.h"
#include "model/port.h"

namespace trivenor {

/// The ports on one edge of a component, or a circuit's terminals, in row order. Ports are held
/// through unique_ptr because wires point at them: their addresses must stay put while
/// terminals are added and removed.
///
/// A large circuit has two of these per part, and most hold one or two ports, so the list is
/// 16 bytes instead of a vector's 24 and keeps up to two ports in itself instead of in a block
/// of its own. It offers the part of std::vector's interface the program uses, with the same
/// meaning: iterators are pointers into contiguous elements and are invalidated as a vector's.
///
/// Kept in itself, a list is as long as up to its last port that is not empty: an empty
/// pointer added there moves the list into a block, where it counts its length, but a port
/// moved out of the last place from outside shortens the list.
class PortList {
 public:
  using value_type = std::unique_ptr<Port>;
  using size_type = std::size_t;
  using difference_type = std::ptrdiff_t;
  using reference = value_type&;
  using const_reference = const value_type&;
  using iterator = value_type*;
  using const_iterator = const value_type*;

  PortList() noexcept : held_{} {}
  PortList(PortList&& other) noexcept {
    if (other.Held()) {
      new (&held_[0]) value_type(std::move(other.held_[0]));
      new (&held_[1]) value_type(std::move(other.held_[1]));
    } else {
      block_ = other.block_;
      other.block_.~Block();
      new (&other.held_[0]) value_type();
      new (&other.held_[1]) value_type();
    }
  }
  PortList& operator=(PortList&& other) noexcept {
    if (this != &other) {
      this->~PortList();
      new (this) PortList(std::move(other));
    }
    return *this;
  }
  PortList(const PortList&) = delete;
  PortList& operator=(const PortList&) = delete;
  ~PortList() {
    clear();
    ReleaseStorage();
  }

  size_type size() const noexcept {
    if (Held()) {
      return held_[1] != nullptr ? 2 : held_[0] != nullptr ? 1 : 0;
    }
    return block_.size;
  }
  bool empty() const noexcept { return size() == 0; }
  size_type capacity() const noexcept { return Held() ? kHeld : block_.capacity; }

  value_type* data() noexcept { return Held() ? held_ : Elements(); }
  const value_type* data() const noexcept { return Held() ? held_ : Elements(); }
  iterator begin() noexcept { return data(); }
  iterator end() noexcept { return data() + size(); }
  const_iterator begin() const noexcept { return data(); }
  const_iterator end() const noexcept { return data() + size(); }

  reference operator[](size_type i) noexcept { return data()[i]; }
  const_reference operator[](size_type i) const noexcept { return data()[i]; }
  reference at(size_type i) {
    CheckIndex(i);
    return data()[i];
  }
  const_reference at(size_type i) const {
    CheckIndex(i);
    return data()[i];
  }
  reference front() noexcept { return data()[0]; }
  const_reference front() const noexcept { return data()[0]; }
  reference back() noexcept { return data()[size() - 1]; }
  const_reference back() const noexcept { return data()[size() - 1]; }

  void reserve(size_type count) {
    if (count > capacity()) {
      Grow(count);
    }
  }
  void clear() noexcept {
    // In list order, as a vector destroys its elements.
    for (value_type& port : *this) {
      port.reset();
    }
    if (!Held()) {
      block_.size = 0;
    }
  }

  reference push_back(value_type port) { return emplace_back(std::move(port)); }
  reference emplace_back(value_type port) {
    const size_type count = size();
    if (count == capacity() || (Held() && port == nullptr)) {
      Grow(std::max<size_type>(count * 2, kHeld * 2));
    }
    value_type& slot = data()[count];
    slot = std::move(port);
    if (!Held()) {
      ++block_.size;
    }
    return slot;
  }
  iterator insert(const_iterator before, value_type port) {
    const auto at = static_cast<size_type>(before - begin());
    emplace_back(std::move(port));
    value_type* elements = data();
    for (size_type i = size() - 1; i > at; --i) {
      std::swap(elements[i], elements[i - 1]);
    }
    return elements + at;
  }
  iterator erase(const_iterator first, const_iterator last) {
    value_type* elements = data();
    const auto from = static_cast<size_type>(first - elements);
    const auto to = static_cast<size_type>(last - elements);
    // A list kept in itself may have shortened already: remove_if empties the places it moves
    // from, and the end passed in may have been taken before.
    const size_type count = std::max(size(), to);
    std::move(elements + to, elements + count, elements + from);
    const size_type newSize = count - (to - from);
    for (size_type i = newSize; i < count; ++i) {
      elements[i].reset();
    }
    if (!Held()) {
      block_.size = static_cast<std::uint32_t>(newSize);
    }
    return elements + from;
  }
  iterator erase(const_iterator position) { return erase(position, position + 1); }

 private:
  static constexpr size_type kHeld = 2;

  /// The elements' block, its address marked in the lowest bit, which a block's address has
  /// clear and a port's address has clear too: so the first word tells the two forms apart.
  struct Block {
    std::uintptr_t taggedAddress;
    std::uint32_t size;
    std::uint32_t capacity;
  };

  bool Held() const noexcept {
    std::uintptr_t first;
    std::memcpy(&first, static_cast<const void*>(this), sizeof first);
    return (first & 1) == 0;
  }
  value_type* Elements() const noexcept {
    return reinterpret_cast<value_type*>(block_.taggedAddress & ~std::uintptr_t{1});
  }
  void CheckIndex(size_type i) const {
    if (i >= size()) {
      throw std::out_of_range("PortList::at");
    }
  }
  // Every slot up to the capacity holds a constructed (possibly empty) pointer, so elements are
  // moved by assignment.
  void Grow(size_type count) {
    if (count > UINT32_MAX) {
      throw std::length_error("PortList");
    }
    auto* grown = static_cast<value_type*>(PoolAllocate(count * sizeof(value_type)));
    for (size_type i = 0; i < count; ++i) {
      new (grown + i) value_type();
    }
    const size_type size = this->size();
    std::move(begin(), begin() + size, grown);
    ReleaseStorage();
    new (&block_) Block{reinterpret_cast<std::uintptr_t>(grown) | 1,
                        static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(count)};
  }

  void ReleaseStorage() noexcept {
    if (Held()) {
      held_[0].~value_type();
      held_[1].~value_type();
      return;
    }
    value_type* elements = Elements();
    for (size_type i = 0; i < block_.capacity; ++i) {
      elements[i].~value_type();
    }
    PoolFree(elements, block_.capacity * sizeof(value_type));
  }

  union {
    value_type held_[kHeld];  ///< the elements while the list is kept in itself
    Block block_;             ///< beyond that
  };
};

static_assert(sizeof(PortList) == 16);
static_assert(alignof(Port) >= 2, "a port's address must leave the mark bit clear");

}  // namespace trivenor
