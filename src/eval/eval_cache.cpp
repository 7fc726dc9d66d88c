#include "eval/eval_cache.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <utility>

#include "platform/platform.h"

namespace classic {
namespace {
using Word = std::atomic<uint64_t>;
static_assert(Word::is_always_lock_free, "cache slots rely on lock-free 64-bit words");

// Each position gets its own slot per search thread: the thread slot is added to
// the index, hence 64 spare slots after the last one.
constexpr uint32_t ThreadSlots = 64;

// One cache: `entryCount + 64` slots of `wordsPerSlot` words. The entry size is the
// record's nominal size, which alone fixes the entry count for a size in megabytes.
struct CacheTable {
  int maxMb;
  int entryBytes;
  int wordsPerSlot;
  uint64_t emptySlot[3];
  Word* words = nullptr;
  uint32_t entryCount = 0;
  uint32_t mask = 0;
  int megabytes = 0;
  int deferredMb = 0;  // the size asked for while the memory is not yet taken
};

constexpr uint64_t pack_pair(ScorePair p) { return uint64_t(uint16_t(p.mg)) | uint64_t(uint16_t(p.eg)) << 16; }
ScorePair unpack_pair(uint64_t w) { return {int16_t(uint16_t(w)), int16_t(uint16_t(w >> 16))}; }

// Eval slot: check key in the upper half, the 16-bit score in the lowest bits.
constexpr uint64_t eval_word(uint32_t checkKey, int score) { return uint64_t(checkKey) << 32 | uint16_t(score); }

// Pawn slot: [lock, facts, shelter], lock = (check key << 32) ^ facts ^ shelter.
constexpr uint64_t pawn_facts_word(const PawnCacheEntry& e) {
  return pack_pair(e.pawnScore) | uint64_t(e.pawnlessFiles[0]) << 32 | uint64_t(e.pawnlessFiles[1]) << 40 |
         uint64_t(e.passedFiles[0]) << 48 | uint64_t(e.passedFiles[1]) << 56;
}
constexpr uint64_t pawn_shelter_word(const PawnCacheEntry& e) {
  return uint64_t(e.shelterKingSq[0]) | uint64_t(e.shelterKingSq[1]) << 8 | uint64_t(uint16_t(e.shelter[0])) << 16 |
         uint64_t(uint16_t(e.shelter[1])) << 32;
}

// Material slot: [lock, facts], lock = (check key << 32) ^ facts.
constexpr uint64_t material_facts_word(const MaterialEntry& e) {
  return pack_pair(e.material) | uint64_t(e.phase) << 32 | uint64_t(e.scaleDivisor) << 40;
}

constexpr PawnCacheEntry EmptyPawnEntry = {0, {0, 0}, {0xFF, 0xFF}, {0, 0}, {0, 0}, {NoShelter, NoShelter}};
constexpr MaterialEntry EmptyMaterialEntry = {0, {0, 0}, 0, 1};

constexpr uint64_t EmptyPawnFacts = pawn_facts_word(EmptyPawnEntry);
constexpr uint64_t EmptyPawnShelter = pawn_shelter_word(EmptyPawnEntry);
constexpr uint64_t EmptyMaterialFacts = material_facts_word(EmptyMaterialEntry);

CacheTable EvalTable{EvalHashMaxMb, 8, 1, {eval_word(0, EmptyEvalScore)}};
CacheTable PawnTable{PawnHashMaxMb, 20, 3, {EmptyPawnFacts ^ EmptyPawnShelter, EmptyPawnFacts, EmptyPawnShelter}};
CacheTable MaterialTable{MaterialHashMaxMb, 12, 2, {EmptyMaterialFacts, EmptyMaterialFacts}};
bool ResizeFailed = false;

uint32_t largest_power_of_two(uint64_t n) {
  uint32_t p = 1;
  while (uint64_t(p) * 2 <= n) p *= 2;
  return p;
}

// The first word of the slot for this key and thread.
Word* slot_words(const CacheTable& t, Key key, int threadSlot) {
  uint32_t index = (uint32_t(key) & t.mask) + (uint32_t(threadSlot) & (ThreadSlots - 1));
  return t.words + size_t(index) * t.wordsPerSlot;
}

size_t word_count(const CacheTable& t, uint32_t entryCount) {
  return (size_t(entryCount) + ThreadSlots) * t.wordsPerSlot;
}

// Fresh memory gets its words constructed with the empty pattern, so every page
// is written once and never zeroed first.
Word* allocate_empty(const CacheTable& t, uint32_t entryCount) {
  size_t n = word_count(t, entryCount);
  void* raw = allocate_table_memory(n * sizeof(Word));
  if (!raw) return nullptr;
  Word* words = static_cast<Word*>(raw);
  for (size_t i = 0; i < n; i++) new (&words[i]) Word(t.emptySlot[i % t.wordsPerSlot]);
  return words;
}

void release(CacheTable& t) {
  if (t.words) free_table_memory(t.words);
  t.words = nullptr;
  t.entryCount = t.mask = 0;
  t.megabytes = t.deferredMb = 0;
}

bool resize(CacheTable& t, int megabytes) {
  ResizeFailed = false;
  int mb = std::clamp(megabytes, 1, t.maxMb);
  if (t.deferredMb) return std::exchange(t.deferredMb, mb) != mb;
  if (mb == t.megabytes) return false;
  uint32_t count = largest_power_of_two((uint64_t(mb) << 20) / t.entryBytes);
  Word* words = allocate_empty(t, count);
  if (!words) {
    ResizeFailed = true;
    return false;
  }
  release(t);
  t.words = words;
  t.entryCount = count;
  t.mask = count - 1;
  t.megabytes = mb;
  return true;
}

CacheSize size_of(const CacheTable& t) { return {t.deferredMb ? t.deferredMb : t.megabytes, t.entryCount}; }

void clear(CacheTable& t) {
  if (!t.words) return;
  size_t n = word_count(t, t.entryCount);
  for (size_t i = 0; i < n; i++) t.words[i].store(t.emptySlot[i % t.wordsPerSlot], std::memory_order_relaxed);
}

uint64_t load(const Word& w) { return w.load(std::memory_order_relaxed); }
void store(Word& w, uint64_t value) { w.store(value, std::memory_order_relaxed); }

// The check key of an untorn multi-word slot, 0 for an empty or torn one: the low
// half of the decoded lock word is zero only when every word comes from one store.
uint32_t decoded_check_key(uint64_t lockXorFacts) {
  return uint32_t(lockXorFacts) == 0 ? uint32_t(lockXorFacts >> 32) : 0;
}

bool allocate_caches(bool onlyDeferred) {
  bool failed = false;
  for (CacheTable* t : {&EvalTable, &PawnTable, &MaterialTable}) {
    if (onlyDeferred && !t->deferredMb) continue;
    const int mb = t->deferredMb ? t->deferredMb : t->maxMb;
    t->deferredMb = 0;
    if (!resize(*t, mb)) clear(*t);
    failed |= ResizeFailed;
  }
  ResizeFailed = failed;
  return !failed;
}
}  // namespace

bool eval_cache_resize(int megabytes) { return resize(EvalTable, megabytes); }
bool pawn_cache_resize(int megabytes) { return resize(PawnTable, megabytes); }
bool material_cache_resize(int megabytes) { return resize(MaterialTable, megabytes); }
bool cache_resize_failed() { return ResizeFailed; }

void defer_eval_caches() {
  // Each cache starts at its largest size.
  for (CacheTable* t : {&EvalTable, &PawnTable, &MaterialTable}) {
    release(*t);
    t->deferredMb = t->maxMb;
  }
}

bool allocate_eval_caches() { return allocate_caches(false); }
bool allocate_deferred_eval_caches() { return allocate_caches(true); }

void clear_eval_caches() {
  clear(EvalTable);
  clear(PawnTable);
  clear(MaterialTable);
}

void release_eval_caches() {
  release(EvalTable);
  release(PawnTable);
  release(MaterialTable);
}

CacheSize eval_cache_size() { return size_of(EvalTable); }
CacheSize pawn_cache_size() { return size_of(PawnTable); }
CacheSize material_cache_size() { return size_of(MaterialTable); }

bool eval_cache_probe(Key key, int threadSlot, int& score) {
  if (!EvalTable.words) return false;
  uint64_t w = load(*slot_words(EvalTable, key, threadSlot));
  uint32_t checkKey = uint32_t(w >> 32);
  if (checkKey == 0 || checkKey != uint32_t(key >> 32)) return false;
  score = int16_t(uint16_t(w));
  return true;
}

void eval_cache_store(Key key, int threadSlot, int score) {
  if (!EvalTable.words) return;
  store(*slot_words(EvalTable, key, threadSlot), eval_word(uint32_t(key >> 32), score));
}

bool pawn_cache_probe(Key key, int threadSlot, PawnCacheEntry& entry) {
  if (!PawnTable.words) return false;
  Word* slot = slot_words(PawnTable, key, threadSlot);
  uint64_t lock = load(slot[0]), facts = load(slot[1]), shelter = load(slot[2]);
  uint32_t checkKey = decoded_check_key(lock ^ facts ^ shelter);
  if (checkKey == 0 || checkKey != uint32_t(key >> 32)) return false;
  entry.checkKey = checkKey;
  entry.pawnScore = unpack_pair(facts);
  entry.pawnlessFiles[0] = uint8_t(facts >> 32);
  entry.pawnlessFiles[1] = uint8_t(facts >> 40);
  entry.passedFiles[0] = uint8_t(facts >> 48);
  entry.passedFiles[1] = uint8_t(facts >> 56);
  entry.shelterKingSq[0] = uint8_t(shelter);
  entry.shelterKingSq[1] = uint8_t(shelter >> 8);
  entry.shelter[0] = int16_t(uint16_t(shelter >> 16));
  entry.shelter[1] = int16_t(uint16_t(shelter >> 32));
  return true;
}

void pawn_cache_store(Key key, int threadSlot, const PawnCacheEntry& entry) {
  if (!PawnTable.words) return;
  Word* slot = slot_words(PawnTable, key, threadSlot);
  uint64_t facts = pawn_facts_word(entry), shelter = pawn_shelter_word(entry);
  store(slot[1], facts);
  store(slot[2], shelter);
  store(slot[0], (key & 0xFFFFFFFF00000000ULL) ^ facts ^ shelter);
}

bool material_cache_probe(Key key, int threadSlot, MaterialEntry& entry) {
  if (!MaterialTable.words) return false;
  Word* slot = slot_words(MaterialTable, key, threadSlot);
  uint64_t lock = load(slot[0]), facts = load(slot[1]);
  uint32_t checkKey = decoded_check_key(lock ^ facts);
  if (checkKey == 0 || checkKey != uint32_t(key >> 32)) return false;
  entry.checkKey = checkKey;
  entry.material = unpack_pair(facts);
  entry.phase = uint8_t(facts >> 32);
  entry.scaleDivisor = uint8_t(facts >> 40);
  return true;
}

void material_cache_store(Key key, int threadSlot, const MaterialEntry& entry) {
  if (!MaterialTable.words) return;
  Word* slot = slot_words(MaterialTable, key, threadSlot);
  uint64_t facts = material_facts_word(entry);
  store(slot[1], facts);
  store(slot[0], (key & 0xFFFFFFFF00000000ULL) ^ facts);
}
}  // namespace classic
