// The three caches of the classic evaluation: the full score per position
// (EvalHash), the pawn-structure facts per pawn configuration (PawnHash) and the
// material facts per set of piece counts (MaterialHash).
//
// Every search thread probes and fills them at once without locks. Each slot is
// made of relaxed atomic 64-bit words, and the multi-word slots keep their key
// XORed with their data, so a slot read while another thread rewrites it fails
// the key check instead of handing out a mixture of two entries. Re-sizing and
// clearing happen only while no search runs.
#pragma once

#include <cstdint>

#include "board/types.h"

namespace classic {
// Sizes in megabytes: the start-up size of each cache is also its largest.
constexpr int EvalHashDefaultMb = 64;
constexpr int PawnHashDefaultMb = 32;
constexpr int MaterialHashDefaultMb = 16;
constexpr int EvalHashMaxMb = EvalHashDefaultMb;
constexpr int PawnHashMaxMb = PawnHashDefaultMb;
constexpr int MaterialHashMaxMb = MaterialHashDefaultMb;

// The score of an empty evaluation slot and the shelter of a king whose shelter
// was not worked out.
constexpr int EmptyEvalScore = 30000;
constexpr int NoShelter = 30000;

struct MaterialEntry {
  uint32_t checkKey;     // upper half of MaterialKey; 0 = empty
  ScorePair material;    // white minus black
  uint8_t phase;         // 0..100, the weight of the endgame half
  uint8_t scaleDivisor;  // 1 none; 2, 4, 8 divide the score; 16 dead draw
};

struct PawnCacheEntry {
  uint32_t checkKey;         // upper half of PawnKey; 0 = empty
  ScorePair pawnScore;       // white minus black
  uint8_t pawnlessFiles[2];  // per colour: bit f set when no own pawn stands on file f
  uint8_t passedFiles[2];    // per colour: bit f set when a passed pawn stands on file f
  uint8_t shelterKingSq[2];  // the king square the shelter belongs to
  int16_t shelter[2];        // NoShelter when not worked out
};

// What the option handlers and the clearing operation see of a cache.
struct CacheSize {
  int megabytes;        // in force, or noted while deferred; 0 while the cache is not allocated
  uint32_t entryCount;  // a power of two; the table holds 64 more for the thread offsets
};

// Re-size to the given megabytes (clamped to 1..maximum). Returns true when a new,
// empty table was put in place; false when the size was already in force or the
// memory could not be had. In the second case cache_resize_failed() is true and
// the previous table stays in use.
bool eval_cache_resize(int megabytes);
bool pawn_cache_resize(int megabytes);
bool material_cache_resize(int megabytes);
// Whether the latest re-size (or allocate_eval_caches) ran out of memory.
bool cache_resize_failed();

// Program start: the three caches at their default sizes, their memory taken only
// by allocate_eval_caches, when a search or "isready" first needs them; a size set
// meanwhile is only noted.
void defer_eval_caches();
// The three caches at the sizes noted since defer_eval_caches (their defaults
// otherwise), all entries empty. False when some table could not be allocated; the
// program then runs without it.
bool allocate_eval_caches();
// The same for the caches still deferred only; the others keep their entries.
bool allocate_deferred_eval_caches();
// Every entry of all three caches back to its empty state.
void clear_eval_caches();
// Frees all three tables ("quit"); an evaluation afterwards simply finds nothing.
void release_eval_caches();

CacheSize eval_cache_size();
CacheSize pawn_cache_size();
CacheSize material_cache_size();

// Probes fill the entry and answer true only for a stored, untorn entry whose
// check key is non-zero and equals the upper half of the key. Stores overwrite the
// slot unconditionally, with the check key taken from the key. Without an
// allocated table a probe finds nothing and a store does nothing.
bool eval_cache_probe(Key key, int threadSlot, int& score);
void eval_cache_store(Key key, int threadSlot, int score);
bool pawn_cache_probe(Key key, int threadSlot, PawnCacheEntry& entry);
void pawn_cache_store(Key key, int threadSlot, const PawnCacheEntry& entry);
bool material_cache_probe(Key key, int threadSlot, MaterialEntry& entry);
void material_cache_store(Key key, int threadSlot, const MaterialEntry& entry);
}  // namespace classic
