// The transposition table over a game sent as an interface sends it: the whole game
// again, from the start position, before every search. Both programs are checked
// through their own UCI command handler.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "engine/hash_table.h"

using UciCommand = bool (*)(const std::string&);

inline bool slot_in_use(const HashSlot& slot) { return slot.keyMove.load(std::memory_order_relaxed) != 0; }

inline bool table_is_empty(const TranspositionTable& table) {
  const size_t slots = size_t(table.indexCount) * size_t(table.layout.entriesPerIndex) + 4;
  for (size_t i = 0; i < slots; i++)
    if (slot_in_use(table.slots[i])) return false;
  return true;
}

// A bucket start whose four entries are all empty.
inline uint32_t empty_bucket(const TranspositionTable& table) {
  for (uint32_t index = 0; index < table.indexCount; index++) {
    const HashSlot* bucket = table.slots + size_t(index) * size_t(table.layout.entriesPerIndex);
    if (!slot_in_use(bucket[0]) && !slot_in_use(bucket[1]) && !slot_in_use(bucket[2]) && !slot_in_use(bucket[3]))
      return index;
  }
  ADD_FAILURE() << "no empty bucket left";
  return 0;
}

inline void expect_each_search_of_a_game_to_age_the_table(TranspositionTable& table, UciCommand uci) {
  uci("ucinewgame");
  uci("position startpos moves e2e4");
  uci("go depth 3");
  const uint16_t firstAge = table.age();
  const uint32_t index = empty_bucket(table);
  auto key = [index](uint32_t upper) { return Key(upper) << 32 | index; };
  auto store = [&](uint32_t upper) { table.store(key(upper), BOUND_EXACT, 0, 0, 6, 0); };
  auto holds = [&](uint32_t upper) {
    HashEntry e;
    return table.probe(key(upper), e);
  };
  // Two entries of the first search's age, the second of them behind the first.
  store(1);
  store(2);

  uci("position startpos moves e2e4 e7e5");
  uci("go depth 3");
  EXPECT_NE(table.age(), firstAge);
  HashEntry e;
  ASSERT_TRUE(table.probe(key(2), e));
  EXPECT_EQ(e.age, firstAge);
  // The second search rewrites the first entry and fills the bucket, every entry as
  // deep as the other: the one left from the first search gives way, though a tie
  // would otherwise take the first entry of the bucket.
  for (uint32_t upper : {1u, 3u, 4u}) store(upper);
  store(5);
  EXPECT_FALSE(holds(2));
  for (uint32_t upper : {1u, 3u, 4u, 5u}) EXPECT_TRUE(holds(upper)) << upper;

  // A new game, and the ClearHash button, leave an empty table.
  uci("ucinewgame");
  EXPECT_TRUE(table_is_empty(table));
  EXPECT_EQ(table.age(), 0);
  uci("position startpos moves d2d4");
  uci("go depth 3");
  EXPECT_FALSE(table_is_empty(table));
  uci("setoption name ClearHash");
  EXPECT_TRUE(table_is_empty(table));
}
