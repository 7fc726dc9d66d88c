#include "engine/hash_table.h"

#include <new>

#include "board/settings.h"
#include "engine/score.h"
#include "platform/platform.h"

namespace {
constexpr uint64_t pack_data(int score, int staticEval, uint16_t age, int depth, int bound) {
  return uint64_t(uint16_t(score)) | uint64_t(uint16_t(staticEval)) << 16 | uint64_t(age) << 32 |
         uint64_t(uint8_t(depth)) << 48 | uint64_t(uint8_t(bound)) << 56;
}

HashEntry unpack(uint64_t keyMove, uint64_t data) {
  return {uint32_t(keyMove),    uint32_t(keyMove >> 32),     int16_t(uint16_t(data)), int16_t(uint16_t(data >> 16)),
          uint16_t(data >> 32), int8_t(uint8_t(data >> 48)), uint8_t(data >> 56)};
}

HashEntry read_slot(const HashSlot& s) {
  return unpack(s.keyMove.load(std::memory_order_relaxed), s.data.load(std::memory_order_relaxed));
}

uint64_t empty_data(const TableLayout& layout) {
  return pack_data(layout.noScore, layout.noScore, 0, layout.emptyDepth, BOUND_NONE);
}

size_t slot_count(const TableLayout& layout, uint32_t indexCount) {
  return size_t(indexCount) * size_t(layout.entriesPerIndex) + 4;
}

void fill_empty(const TableLayout& layout, HashSlot* slots, size_t n) {
  const uint64_t data = empty_data(layout);
  for (size_t i = 0; i < n; i++) {
    slots[i].keyMove.store(0, std::memory_order_relaxed);
    slots[i].data.store(data, std::memory_order_relaxed);
  }
}

// A new array already holding the empty pattern, or null when the memory is not there.
HashSlot* allocate_slots(const TableLayout& layout, uint32_t indexCount) {
  size_t n = slot_count(layout, indexCount);
  void* memory = allocate_table_memory(n * sizeof(HashSlot));
  if (!memory) return nullptr;
  HashSlot* slots = static_cast<HashSlot*>(memory);
  const uint64_t data = empty_data(layout);
  for (size_t i = 0; i < n; i++) ::new (slots + i) HashSlot{{0}, {data}};
  return slots;
}
}  // namespace

uint32_t table_index_count(const TableLayout& layout, int megabytes) {
  uint64_t fit = (uint64_t(megabytes) << 20) / (sizeof(HashSlot) * size_t(layout.entriesPerIndex));
  uint32_t count = 1;
  while (uint64_t(count) * 2 <= fit) count *= 2;
  return count;
}

ResizeResult TranspositionTable::resize(int requestedMegabytes) {
  int mb = requestedMegabytes < 1                     ? 1
           : requestedMegabytes > layout.maxMegabytes ? layout.maxMegabytes
                                                      : requestedMegabytes;
  if (deferredSize) {
    if (mb == megabytes) return ResizeResult::Unchanged;
    megabytes = mb;
    return ResizeResult::Resized;
  }
  if (mb == megabytes && slots) return ResizeResult::Unchanged;
  uint32_t count = table_index_count(layout, mb);
  HashSlot* fresh = allocate_slots(layout, count);
  if (!fresh) return ResizeResult::Failed;
  free_table_memory(slots);
  slots = fresh;
  indexCount = count;
  indexMask = count - 1;
  megabytes = mb;
  storeCount.store(0, std::memory_order_relaxed);
  restart_age();
  // Making a move fetches the bucket of the new position ahead of its probe.
  TablePrefetch = {reinterpret_cast<const char*>(slots), indexMask, sizeof(HashSlot) * size_t(layout.entriesPerIndex)};
  return ResizeResult::Resized;
}

int TranspositionTable::allocate_at_most(int requestedMegabytes) {
  for (int mb = requestedMegabytes; mb >= 1; mb /= 2)
    if (resize(mb) != ResizeResult::Failed) return mb;
  return 0;
}

void TranspositionTable::defer(int requestedMegabytes) {
  release();
  deferredSize = true;
  megabytes = 0;
  resize(requestedMegabytes);
}

int TranspositionTable::allocate_deferred(int fallbackMegabytes) {
  if (!deferredSize) return megabytes;
  const int wanted = megabytes;
  release();
  if (resize(wanted) == ResizeResult::Resized) return wanted;
  return allocate_at_most(fallbackMegabytes);
}

void TranspositionTable::release() {
  free_table_memory(slots);
  slots = nullptr;
  indexCount = indexMask = 0;
  megabytes = 0;
  deferredSize = false;
  TablePrefetch = {};
}

void TranspositionTable::clear() {
  if (slots) fill_empty(layout, slots, slot_count(layout, indexCount));
  storeCount.store(0, std::memory_order_relaxed);
  restart_age();
}

void TranspositionTable::restart_age() { TableAge = 0; }

uint16_t TranspositionTable::age() const { return uint16_t(TableAge & layout.ageMask); }

// Empty entries carry age 0, which no search takes: wrapping round goes from the
// widest age straight to 1.
void TranspositionTable::new_search() {
  TableAge = TableAge % layout.ageMask + 1;
  storeCount.store(0, std::memory_order_relaxed);
}

int TranspositionTable::hashfull() const {
  uint32_t stores = storeCount.load(std::memory_order_relaxed);
  if (stores < 1 || indexCount < 1) return 0;
  if (layout.singlePrecisionFill) return int(float(stores) * 1000.0f / float(indexCount));
  return int(double(stores) * 1000.0 / double(indexCount));
}

bool TranspositionTable::probe(Key key, HashEntry& entry) const {
  const uint32_t key32 = uint32_t(key >> 32);
  if (key32 != 0) {
    const HashSlot* bucket = slots + size_t(uint32_t(key) & indexMask) * size_t(layout.entriesPerIndex);
    for (int i = 0; i < 4; i++) {
      uint64_t keyMove = bucket[i].keyMove.load(std::memory_order_relaxed);
      if (uint32_t(keyMove) == key32) {
        entry = unpack(keyMove, bucket[i].data.load(std::memory_order_relaxed));
        return true;
      }
    }
  }
  entry = unpack(0, empty_data(layout));
  return false;
}

void TranspositionTable::store(Key key, int bound, int score, Move move, int depth, int staticEval) {
  const uint32_t key32 = uint32_t(key >> 32);
  const uint16_t current = age();
  HashSlot* bucket = slots + size_t(uint32_t(key) & indexMask) * size_t(layout.entriesPerIndex);
  HashSlot* target = nullptr;
  HashSlot* victim = bucket;
  HashEntry victimEntry = read_slot(*victim);
  for (int i = 0; i < 4; i++) {
    HashEntry e = read_slot(bucket[i]);
    if (e.key32 == 0 || e.key32 == key32) {
      target = bucket + i;
      if (move == 0) move = e.move;
      break;
    }
    // Entries of older searches go first, and within each class the shallowest;
    // ties keep the earlier entry.
    bool victimCurrent = victimEntry.age == current, entryCurrent = e.age == current;
    if (victimCurrent != entryCurrent ? victimCurrent : e.depth < victimEntry.depth) {
      victim = bucket + i;
      victimEntry = e;
    }
  }
  if (!target) target = victim;

  uint32_t stores = storeCount.load(std::memory_order_relaxed);
  if (stores < indexCount) storeCount.store(stores + 1, std::memory_order_relaxed);

  target->data.store(pack_data(score, staticEval, current, depth, bound), std::memory_order_relaxed);
  target->keyMove.store(uint64_t(key32) | uint64_t(move) << 32, std::memory_order_relaxed);
}

void TableHit::probe(const TranspositionTable& table, Key key, int ply) {
  found = table.probe(key, entry);
  hasValue = found && entry.bound != BOUND_NONE && entry.score != table.layout.noScore;
  score = found ? score_from_table(entry.score, ply) : table.layout.noScore;
}
