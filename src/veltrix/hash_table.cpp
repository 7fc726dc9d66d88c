#include "veltrix/hash_table.h"

#include <new>

#include "board/settings.h"
#include "veltrix/score.h"

HashTable Table;

namespace {

constexpr uint64_t pack_data(int score, int staticEval, uint16_t generation, int depth, int bound) {
  return uint64_t(uint16_t(score)) | uint64_t(uint16_t(staticEval)) << 16 | uint64_t(generation) << 32 |
         uint64_t(uint8_t(depth)) << 48 | uint64_t(uint8_t(bound)) << 56;
}

// A cleared entry: no key, no move, no values, and a depth below any real one.
constexpr uint64_t EmptyData = pack_data(ScoreNone, ScoreNone, 0, -100, BoundNone);

HashEntry unpack(uint64_t keyMove, uint64_t data) {
  return {uint32_t(keyMove),    uint32_t(keyMove >> 32),     int16_t(uint16_t(data)), int16_t(uint16_t(data >> 16)),
          uint16_t(data >> 32), int8_t(uint8_t(data >> 48)), uint8_t(data >> 56)};
}

HashEntry read_slot(const HashSlot& s) {
  return unpack(s.keyMove.load(std::memory_order_relaxed), s.data.load(std::memory_order_relaxed));
}

void clear_clusters(HashCluster* clusters, uint32_t count) {
  for (uint32_t c = 0; c < count; c++)
    for (HashSlot& s : clusters[c].slot) {
      s.keyMove.store(0, std::memory_order_relaxed);
      s.data.store(EmptyData, std::memory_order_relaxed);
    }
}

HashCluster& cluster_of(Key key) { return Table.clusters[uint32_t(key) & Table.mask]; }

}  // namespace

uint32_t clusters_for(int megabytes) {
  uint64_t fit = uint64_t(megabytes) * (1024 * 1024 / sizeof(HashCluster));
  uint32_t count = 1;
  while (uint64_t(count) * 2 <= fit) count *= 2;
  return count;
}

bool table_allocate(int megabytes) {
  uint32_t count = clusters_for(megabytes);
  HashCluster* clusters = new (std::nothrow) HashCluster[count];
  if (!clusters) return false;
  clear_clusters(clusters, count);
  delete[] Table.clusters;
  Table.clusters = clusters;
  Table.clusterCount = count;
  Table.mask = count - 1;
  Table.hashMegabytes = megabytes;
  Table.storeCount.store(0, std::memory_order_relaxed);
  // Making a move fetches the cluster of the new position ahead of its probe.
  TablePrefetch = {reinterpret_cast<const char*>(clusters), count - 1, sizeof(HashCluster)};
  return true;
}

void table_free() {
  TablePrefetch = {};
  delete[] Table.clusters;
  Table.clusters = nullptr;
  Table.clusterCount = Table.mask = 0;
}

void table_clear() {
  if (Table.clusters) clear_clusters(Table.clusters, Table.clusterCount);
  Table.storeCount.store(0, std::memory_order_relaxed);
}

// The generation is the board core's table age, which reading a FEN resets.
uint16_t table_generation() { return uint16_t(TableAge); }

void table_new_search() {
  TableAge = (TableAge + 1) & 0xFFFF;
  Table.storeCount.store(0, std::memory_order_relaxed);
}

int table_hashfull() {
  uint32_t stores = Table.storeCount.load(std::memory_order_relaxed);
  if (stores < 1 || Table.clusterCount < 1) return 0;
  return int(float(stores) * 1000.0f / float(Table.clusterCount));
}

bool table_probe(Key key, HashEntry& entry) {
  uint32_t key32 = uint32_t(key >> 32);
  if (key32 != 0)
    for (const HashSlot& s : cluster_of(key).slot) {
      uint64_t keyMove = s.keyMove.load(std::memory_order_relaxed);
      if (uint32_t(keyMove) == key32) {
        entry = unpack(keyMove, s.data.load(std::memory_order_relaxed));
        return true;
      }
    }
  entry = unpack(0, EmptyData);
  return false;
}

void table_store(Key key, int bound, int score, Move move, int depth, int staticEval) {
  uint32_t key32 = uint32_t(key >> 32);
  uint16_t generation = table_generation();
  HashCluster& cluster = cluster_of(key);
  HashSlot* target = nullptr;
  HashSlot* victim = &cluster.slot[0];
  HashEntry victimEntry = read_slot(*victim);
  for (HashSlot& s : cluster.slot) {
    HashEntry e = read_slot(s);
    if (e.key32 == 0 || e.key32 == key32) {
      target = &s;
      if (move == 0) move = e.move;
      break;
    }
    // Entries of earlier searches go first, and within each class the shallowest.
    bool victimCurrent = victimEntry.generation == generation, current = e.generation == generation;
    bool better = victimCurrent != current ? victimCurrent : e.depth < victimEntry.depth;
    if (better) {
      victim = &s;
      victimEntry = e;
    }
  }
  if (!target) target = victim;

  uint32_t stores = Table.storeCount.load(std::memory_order_relaxed);
  if (stores < Table.clusterCount) Table.storeCount.store(stores + 1, std::memory_order_relaxed);

  target->data.store(pack_data(score, staticEval, generation, depth, bound), std::memory_order_relaxed);
  target->keyMove.store(uint64_t(key32) | uint64_t(move) << 32, std::memory_order_relaxed);
}
