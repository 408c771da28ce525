// The compact port list against std::vector: random edits across the change from the element
// held in the list itself to a block of its own, and the pool getting every block back.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "model/object_pool.h"
#include "model/port_list.h"

namespace trivenor {
namespace {

std::vector<Port*> Contents(const PortList& list) {
  std::vector<Port*> contents;
  for (const auto& port : list) {
    contents.push_back(port.get());
  }
  return contents;
}

TEST(PortList, EditsMatchAVectorAndGiveEveryBlockBack) {
  const std::size_t inUseBefore = PoolBytesInUse();
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    PortList list;
    std::vector<Port*> expected;
    for (int step = 0; step < 40; ++step) {
      const auto choice = random() % 6;
      const auto at = expected.empty() ? 0 : random() % (expected.size() + 1);
      if (choice <= 1) {
        expected.push_back(list.emplace_back(std::make_unique<Port>()).get());
      } else if (choice == 2) {
        auto port = std::make_unique<Port>();
        expected.insert(expected.begin() + at, port.get());
        EXPECT_EQ(list.insert(list.begin() + at, std::move(port))->get(), expected[at]);
      } else if (choice == 3 && at < expected.size()) {
        expected.erase(expected.begin() + at);
        list.erase(list.begin() + at);
      } else if (choice == 4) {
        list.reserve(random() % 6);
      } else if (choice == 5 && random() % 8 == 0) {
        // Moving out leaves the old list empty and usable; moving in frees what it held.
        PortList moved(std::move(list));
        list = PortList();
        EXPECT_TRUE(list.empty());
        list = std::move(moved);
      }
      ASSERT_EQ(Contents(list), expected);
      ASSERT_GE(list.capacity(), list.size());
    }
    if (round % 2 == 0) {
      list.clear();
      EXPECT_TRUE(list.empty());
    }
  }
  EXPECT_EQ(PoolBytesInUse(), inUseBefore);
  EXPECT_EQ(sizeof(PortList), 16u);
}

TEST(PortList, RemoveIfAndAtBehaveAsForAVector) {
  // Up to two ports the list keeps them in itself and counts up to its last port; remove_if
  // empties places as it moves, and the end given to erase may be taken before it runs.
  for (int count = 1; count <= 5; ++count) {
    for (const bool endFirst : {false, true}) {
      for (int odd = 0; odd <= 1; ++odd) {
        PortList list;
        std::vector<int> expected;
        for (int row = 0; row < count; ++row) {
          list.push_back(std::make_unique<Port>(PortRole::ComponentInput, row));
          if (row % 2 != odd) {
            expected.push_back(row);
          }
        }
        const auto removed = [odd](const auto& port) { return port->row % 2 == odd; };
        const auto end = list.end();
        const auto kept = std::remove_if(list.begin(), list.end(), removed);
        list.erase(kept, endFirst ? end : list.end());
        std::vector<int> rows;
        for (const auto& port : list) {
          rows.push_back(port->row);
        }
        ASSERT_EQ(rows, expected) << count << endFirst << odd;
        EXPECT_THROW(list.at(expected.size()), std::out_of_range);
      }
    }
  }
  // An empty pointer is an element as in a vector: the list moves into a block to count it.
  PortList list;
  list.emplace_back(nullptr);
  list.emplace_back(std::make_unique<Port>());
  list.emplace_back(nullptr);
  EXPECT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], nullptr);
  EXPECT_NE(list[1], nullptr);
}

}  // namespace
}  // namespace trivenor
