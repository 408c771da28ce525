#pragma once

#include <cstddef>
#include <cstdint>
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
/// 16 bytes instead of a vector's 24 and keeps a single port in itself instead of in a block of
/// its own. It offers the part of std::vector's interface the program uses, with the same
/// meaning: iterators are pointers into contiguous elements and are invalidated as a vector's.
class PortList {
 public:
  using value_type = std::unique_ptr<Port>;
  using size_type = std::size_t;
  using difference_type = std::ptrdiff_t;
  using reference = value_type&;
  using const_reference = const value_type&;
  using iterator = value_type*;
  using const_iterator = const value_type*;

  PortList() noexcept { new (&single_) value_type(); }
  PortList(PortList&& other) noexcept : size_(other.size_), capacity_(other.capacity_) {
    if (other.Inline()) {
      new (&single_) value_type(std::move(other.single_));
    } else {
      many_ = other.many_;
      other.ResetToInline();
    }
    other.size_ = 0;
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

  size_type size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  size_type capacity() const noexcept { return capacity_; }

  value_type* data() noexcept { return Inline() ? &single_ : many_; }
  const value_type* data() const noexcept { return Inline() ? &single_ : many_; }
  iterator begin() noexcept { return data(); }
  iterator end() noexcept { return data() + size_; }
  const_iterator begin() const noexcept { return data(); }
  const_iterator end() const noexcept { return data() + size_; }

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
  reference back() noexcept { return data()[size_ - 1]; }
  const_reference back() const noexcept { return data()[size_ - 1]; }

  void reserve(size_type count) {
    if (count > capacity_) {
      Grow(count);
    }
  }
  void clear() noexcept {
    // In list order, as a vector destroys its elements.
    for (value_type& port : *this) {
      port.reset();
    }
    size_ = 0;
  }

  reference push_back(value_type port) { return emplace_back(std::move(port)); }
  reference emplace_back(value_type port) {
    if (size_ == capacity_) {
      Grow(size_type{size_} * 2);
    }
    value_type& slot = data()[size_];
    slot = std::move(port);
    ++size_;
    return slot;
  }
  iterator insert(const_iterator before, value_type port) {
    const auto at = static_cast<size_type>(before - begin());
    emplace_back(std::move(port));
    value_type* elements = data();
    for (size_type i = size_ - 1; i > at; --i) {
      std::swap(elements[i], elements[i - 1]);
    }
    return elements + at;
  }
  iterator erase(const_iterator first, const_iterator last) {
    value_type* elements = data();
    const auto from = static_cast<size_type>(first - elements);
    const auto to = static_cast<size_type>(last - elements);
    std::move(elements + to, elements + size_, elements + from);
    const size_type newSize = size_ - (to - from);
    for (size_type i = newSize; i < size_; ++i) {
      elements[i].reset();
    }
    size_ = static_cast<std::uint32_t>(newSize);
    return elements + from;
  }
  iterator erase(const_iterator position) { return erase(position, position + 1); }

 private:
  bool Inline() const noexcept { return capacity_ == 1; }
  void ResetToInline() noexcept {
    new (&single_) value_type();
    capacity_ = 1;
  }
  void CheckIndex(size_type i) const {
    if (i >= size_) {
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
    std::move(begin(), end(), grown);
    ReleaseStorage();
    many_ = grown;
    capacity_ = static_cast<std::uint32_t>(count);
  }

  void ReleaseStorage() noexcept {
    if (Inline()) {
      single_.~value_type();
      return;
    }
    for (size_type i = 0; i < capacity_; ++i) {
      many_[i].~value_type();
    }
    PoolFree(many_, capacity_ * sizeof(value_type));
  }

  union {
    value_type single_;  ///< the element while the capacity is 1
    value_type* many_;   ///< the elements' block beyond that
  };
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = 1;
};

}  // namespace trivenor
