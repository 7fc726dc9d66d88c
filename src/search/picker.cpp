#include "search/picker.h"

#include "search/history.h"
#include "search/see.h"

namespace classic {
namespace {
constexpr int PromotionBand = 800000;
constexpr int CaptureBand = 700000;
constexpr int RootPromotionBand = 700000;

int promotion_value(int promoted) {
  int type = PieceTypeOf[promoted];
  return type >= Knight && type <= Queen ? SeeValue[type] : 0;
}

// Captures that cannot lose material rank by the material they gain; the others
// by their exchange value, winning ones above every quiet move, losing ones below.
int exchange_score(const Position& pos, Move m) {
  if (EpCapture(m)) return CaptureBand;
  int gain = see_value_of(CapturedPiece(m)) - see_value_of(MovedPiece(m));
  if (gain >= 0) return CaptureBand + gain;
  int s = see(pos, m);
  return s < 0 ? s - CaptureBand : s + CaptureBand;
}

int history_of(const Position& pos, Move m) { return History[pos.ThreadSlot][MovedPiece(m)][To(m)]; }

template <int (*Scorer)(const Position&, Move)>
void score_range(const Position& pos, MoveList& list, int from, int to) {
  for (int i = from; i <= to; i++) list.moves[i].score = Scorer(pos, list.moves[i].move);
}

// Hands out the remaining entries best first, leaving out the hash move.
Move next_selected(MovePicker& p, Move hashMove) {
  while (p.cursor < p.list.count) {
    p.cursor++;
    select_best(p.list, p.cursor, p.list.count);
    Move m = p.list.moves[p.cursor].move;
    if (m != hashMove) return m;
  }
  p.stage = PickerDone;
  return 0;
}
}  // namespace

int capture_score(const Position& pos, Move m) {
  if (int promoted = PromotionPiece(m))
    return PromotionBand + promotion_value(promoted) + see_value_of(CapturedPiece(m));
  return exchange_score(pos, m);
}

int evasion_score(const Position& pos, Move m) { return is_tactical(m) ? capture_score(pos, m) : history_of(pos, m); }

int quiet_score(const Position& pos, Move m) {
  if (int promoted = PromotionPiece(m))
    return PromotionBand + promotion_value(promoted) + see_value_of(CapturedPiece(m));
  return history_of(pos, m);
}

int root_score(const Position& pos, Move m) {
  if (int promoted = PromotionPiece(m))
    return RootPromotionBand + promotion_value(promoted) + see_value_of(CapturedPiece(m));
  if (is_tactical(m)) return exchange_score(pos, m);
  return see(pos, m);
}

void score_root_moves(const Position& pos, MoveList& list) {
  for (int i = 1; i <= list.count; i++) list.moves[i].score = root_score(pos, list.moves[i].move);
  if (list.count >= 2) sort_moves(list, 1, list.count);
}

void mark_best_root_move(MoveList& list, Move best) {
  for (int i = 1; i <= list.count; i++) {
    if (list.moves[i].move == best)
      list.moves[i].score = 1000000;
    else if (list.moves[i].score > 999999)
      list.moves[i].score = 900000;
  }
  if (list.count >= 2) sort_moves(list, 1, list.count);
}

Move next_move(const Position& pos, MovePicker& p, Move hashMove, Move killer1, Move killer2, Move counter1,
               Move counter2) {
  while (true) {
    switch (p.stage) {
      case MainHash:
        p.stage = MainGenerateCaptures;
        if (hashMove && move_is_legal_here(pos, hashMove)) return hashMove;
        break;

      case MainGenerateCaptures:
        generate_tactical(pos, p.list);
        score_range<capture_score>(pos, p.list, 1, p.list.tacticalCount);
        p.cursor = 0;
        p.stage = MainGoodCaptures;
        break;

      case MainGoodCaptures:
        while (p.cursor < p.list.tacticalCount) {
          p.cursor++;
          select_best(p.list, p.cursor, p.list.tacticalCount);
          const MoveEntry& e = p.list.moves[p.cursor];
          // The best remaining capture loses material: so do all the others.
          if (e.score < 0) break;
          if (e.move != hashMove) return e.move;
        }
        p.cursor = 0;
        p.stage = MainKillers;
        break;

      case MainKillers: {
        bool second = p.cursor == 1;
        Move killer = second ? killer2 : killer1;
        p.cursor = second ? 0 : 1;
        if (second) p.stage = MainCounters;
        if (killer && killer != hashMove && move_is_legal_here(pos, killer)) return killer;
        break;
      }

      case MainCounters: {
        bool second = p.cursor == 1;
        Move counter = second ? counter2 : counter1;
        p.cursor = 1;
        if (second) p.stage = MainGenerateQuiets;
        if (counter && counter != hashMove && counter != killer1 && counter != killer2 &&
            move_is_legal_here(pos, counter))
          return counter;
        break;
      }

      case MainGenerateQuiets:
        generate_quiet(pos, p.list);
        score_range<quiet_score>(pos, p.list, p.list.tacticalCount + 1, p.list.count);
        sort_moves(p.list, p.list.tacticalCount + 1, p.list.count);
        p.cursor = p.list.tacticalCount;
        p.stage = MainQuiets;
        break;

      case MainQuiets:
        while (p.cursor < p.list.count) {
          Move m = p.list.moves[++p.cursor].move;
          if (m != hashMove && m != killer1 && m != killer2 && m != counter1 && m != counter2) return m;
        }
        p.cursor = 0;
        p.stage = MainBadCaptures;
        break;

      case MainBadCaptures:
        while (p.cursor < p.list.tacticalCount) {
          p.cursor++;
          select_best(p.list, p.cursor, p.list.tacticalCount);
          const MoveEntry& e = p.list.moves[p.cursor];
          if (e.score < 0 && e.move != hashMove) return e.move;
        }
        p.stage = PickerDone;
        return 0;

      case EvasionHash:
        p.stage = EvasionGenerate;
        if (hashMove && move_is_legal_here(pos, hashMove)) return hashMove;
        break;

      case EvasionGenerate:
        generate_evasions(pos, p.list);
        score_range<evasion_score>(pos, p.list, 1, p.list.count);
        p.cursor = 0;
        p.stage = Evasions;
        break;

      case Evasions: return next_selected(p, hashMove);

      default: return 0;
    }
  }
}

Move next_capture(const Position& pos, MovePicker& p, Move hashMove) {
  while (true) {
    switch (p.stage) {
      case CaptureHash:
        p.stage = CaptureGenerate;
        if (hashMove && !CastleType(hashMove) && is_tactical(hashMove) && move_is_legal_here(pos, hashMove))
          return hashMove;
        break;

      case CaptureGenerate:
        generate_tactical(pos, p.list);
        score_range<capture_score>(pos, p.list, 1, p.list.count);
        p.cursor = 0;
        p.stage = Captures;
        break;

      case Captures:
      case CaptureEvasions: return next_selected(p, hashMove);

      case CaptureEvasionHash:
        p.stage = CaptureEvasionGenerate;
        if (hashMove && move_is_legal_here(pos, hashMove)) return hashMove;
        break;

      case CaptureEvasionGenerate:
        generate_evasions(pos, p.list);
        score_range<evasion_score>(pos, p.list, 1, p.list.count);
        p.cursor = 0;
        p.stage = CaptureEvasions;
        break;

      default: return 0;
    }
  }
}
}  // namespace classic
