#include "search/tt.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "eval/eval_cache.h"
#include "search/score.h"

TranspositionTable TT;

namespace {

constexpr uint64_t EmptyKeyMove = 0;
constexpr uint64_t pack_score_etc(int score, uint8_t age, int depth, int bound) {
  return uint64_t(uint16_t(score)) | uint64_t(age) << 16 | uint64_t(uint8_t(depth)) << 24 | uint64_t(bound) << 32;
}
constexpr uint64_t EmptyScoreEtc = pack_score_etc(SCORE_NONE, 0, TTPvDepth, BOUND_NONE);

TTEntry unpack(uint64_t keyMove, uint64_t scoreEtc) {
  return {uint32_t(keyMove),       uint32_t(keyMove >> 32),         int16_t(uint16_t(scoreEtc)),
          uint8_t(scoreEtc >> 16), int8_t(uint8_t(scoreEtc >> 24)), uint8_t(scoreEtc >> 32)};
}

uint32_t entries_for(int megabytes) {
  uint64_t fit = uint64_t(megabytes) * 65536;  // 16-byte entries per megabyte
  uint32_t count = 1;
  while (uint64_t(count) * 2 <= fit) count *= 2;
  return count;
}

// A new array already holding the empty pattern, or null when the memory is not there.
TTSlot* allocate_slots(uint32_t count) {
  size_t n = size_t(count) + 4;
  void* memory = std::aligned_alloc(64, n * sizeof(TTSlot));
  if (!memory) return nullptr;
  TTSlot* slots = static_cast<TTSlot*>(memory);
  for (size_t i = 0; i < n; i++) ::new (slots + i) TTSlot{{EmptyKeyMove}, {EmptyScoreEtc}};
  return slots;
}

void install(TTSlot* slots, uint32_t count, int megabytes) {
  std::free(TT.entries);
  TT.entries = slots;
  TT.entryCount = count;
  TT.indexMask = count - 1;
  TT.hashMegabytes = megabytes;
  TT.storeCount.store(0, std::memory_order_relaxed);
  TablePrefetch = {reinterpret_cast<const char*>(slots), count - 1, sizeof(TTSlot)};
}

}  // namespace

bool tt_init() {
  // The default size is tried first; a machine short of memory gets the largest
  // table it can hold rather than none.
  for (int mb = TTDefaultMegabytes; mb >= 1; mb /= 2) {
    uint32_t count = entries_for(mb);
    if (TTSlot* slots = allocate_slots(count)) {
      install(slots, count, mb);
      return true;
    }
  }
  return false;
}

ResizeResult tt_resize(int megabytes) {
  int mb = megabytes < 1 ? 1 : megabytes > TTMaxMegabytes ? TTMaxMegabytes : megabytes;
  if (mb == TT.hashMegabytes && TT.entries) return ResizeResult::Unchanged;
  uint32_t count = entries_for(mb);
  TTSlot* slots = allocate_slots(count);
  if (!slots) return ResizeResult::Failed;
  install(slots, count, mb);
  if (BoardConfig.debugInfo) printf("info string Hash size = %d\n", mb);
  return ResizeResult::Resized;
}

void tt_clear() {
  if (TT.entries) {
    for (size_t i = 0; i < size_t(TT.entryCount) + 4; i++) {
      TT.entries[i].keyMove.store(EmptyKeyMove, std::memory_order_relaxed);
      TT.entries[i].scoreEtc.store(EmptyScoreEtc, std::memory_order_relaxed);
    }
  }
  clear_eval_caches();
}

void tt_release() {
  std::free(TT.entries);
  TT.entries = nullptr;
  TT.entryCount = TT.indexMask = 0;
  TablePrefetch = {};
}

void tt_new_search() {
  TableAge = (TableAge + 1) & 255;
  TT.storeCount.store(0, std::memory_order_relaxed);
}

int tt_hashfull() {
  uint32_t stores = TT.storeCount.load(std::memory_order_relaxed);
  if (stores < 1 || TT.entryCount < 1) return 0;
  return int(double(stores) * 1000.0 / double(TT.entryCount));
}

bool tt_probe(Key key, TTEntry& entry) {
  uint32_t key32 = uint32_t(key >> 32);
  const TTSlot* bucket = TT.entries + (uint32_t(key) & TT.indexMask);
  for (int i = 0; i < 4; i++) {
    uint64_t keyMove = bucket[i].keyMove.load(std::memory_order_relaxed);
    if (uint32_t(keyMove) == key32 && key32 != 0) {
      entry = unpack(keyMove, bucket[i].scoreEtc.load(std::memory_order_relaxed));
      return true;
    }
  }
  entry = TTEntry{};
  return false;
}

void tt_store(Key key, int bound, int score, Move move, int depth) {
  uint32_t key32 = uint32_t(key >> 32);
  uint8_t age = hash_age();
  TTSlot* bucket = TT.entries + (uint32_t(key) & TT.indexMask);
  TTSlot* target = nullptr;
  TTSlot* victim = bucket;
  TTEntry victimEntry =
      unpack(victim->keyMove.load(std::memory_order_relaxed), victim->scoreEtc.load(std::memory_order_relaxed));
  for (int i = 0; i < 4; i++) {
    uint64_t keyMove = bucket[i].keyMove.load(std::memory_order_relaxed);
    TTEntry e = unpack(keyMove, bucket[i].scoreEtc.load(std::memory_order_relaxed));
    if (e.key32 == 0 || e.key32 == key32) {
      target = bucket + i;
      if (move == 0) move = e.move;
      break;
    }
    // Entries of older searches go first, and within each class the shallowest.
    bool replace = victimEntry.age == age ? (e.age != age || e.depth < victimEntry.depth)
                                          : (e.age != age && e.depth < victimEntry.depth);
    if (replace) {
      victim = bucket + i;
      victimEntry = e;
    }
  }
  if (!target) target = victim;

  uint32_t stores = TT.storeCount.load(std::memory_order_relaxed);
  if (stores < TT.entryCount) TT.storeCount.store(stores + 1, std::memory_order_relaxed);

  target->scoreEtc.store(pack_score_etc(score, age, depth, bound), std::memory_order_relaxed);
  target->keyMove.store(uint64_t(key32) | uint64_t(move) << 32, std::memory_order_relaxed);
}
