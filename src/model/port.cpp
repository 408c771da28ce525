#include "model/port.h"

#include <mutex>
#include <unordered_map>

namespace trivenor {

namespace {

// Only files from other writers put a number at an unnumbered port, so one table for the whole
// process costs the many ports without one nothing. Ports may be made and freed on any thread;
// the table is never destroyed, so ports freed at exit still find it.
struct KeptNumbers {
  std::mutex mutex;
  std::unordered_map<const Port*, std::int32_t> numbers;
};

KeptNumbers& Table() {
  static auto* const table = new KeptNumbers;
  return *table;
}

}  // namespace

std::int32_t Port::LookUpKeptNumber() const {
  KeptNumbers& table = Table();
  const std::lock_guard lock(table.mutex);
  return table.numbers.at(this);
}

void Port::StoreKeptNumber(std::int32_t number) {
  KeptNumbers& table = Table();
  const std::lock_guard lock(table.mutex);
  if (number == 0) {
    table.numbers.erase(this);
  } else {
    table.numbers[this] = number;
  }
  keepsNumber = number != 0;
}

}  // namespace trivenor
