#include "veltrix/picker.h"

#include "veltrix/history.h"
#include "veltrix/see.h"

namespace veltrix {
namespace {
constexpr int HashMoveScore = 1000000;
constexpr int Killer1Score = 850000;
constexpr int Killer2Score = 825000;
constexpr int PromotionBand = 800000;
constexpr int CaptureBand = 700000;
constexpr int CastlingScore = 50000;

int quiet_score(const MovePicker& p, Move m) {
  if (m == p.hashMove) return HashMoveScore;
  if (m == p.killer1) return Killer1Score;
  if (m == p.killer2) return Killer2Score;
  if (CastleType(m)) return CastlingScore;
  return history_of(m);
}

int evasion_score(const MovePicker& p, Move m) {
  if (m == p.hashMove) return HashMoveScore;
  return is_tactical(m) ? capture_score(m) : history_of(m);
}

// The next capture of the capture stage. One that may lose material (it takes
// with a more valuable piece) is played only when the exchange does not lose;
// otherwise its score becomes the exchange value and it waits for the end.
Move next_capture(const Position& pos, MovePicker& p, bool keepWaiting) {
  while (p.cursor < p.list.tacticalCount) {
    p.cursor++;
    select_best(p.list, p.cursor, p.list.tacticalCount);
    MoveEntry& e = p.list.moves[p.cursor];
    if (keepWaiting && e.move == p.hashMove) continue;
    if (e.score < 0) {
      int exchange = see(pos, e.move);
      if (exchange < 0) {
        if (keepWaiting) {
          e.score = exchange;
          // Slots before the cursor are spent, so the waiting move can move there.
          MoveEntry waiting = e;
          e = p.list.moves[++p.waitingCount];
          p.list.moves[p.waitingCount] = waiting;
        }
        continue;
      }
    }
    return e.move;
  }
  return 0;
}
}  // namespace

int capture_score(Move m) {
  if (int promoted = PromotionPiece(m)) return PromotionBand + value_of(promoted) + value_of(CapturedPiece(m));
  if (EpCapture(m)) return CaptureBand;
  int d = value_of(CapturedPiece(m)) - value_of(MovedPiece(m));
  return d >= 0 ? d + CaptureBand : d - CaptureBand;
}

int root_score(const Position& pos, Move m) {
  if (int promoted = PromotionPiece(m)) return CaptureBand + value_of(promoted) + value_of(CapturedPiece(m));
  if (EpCapture(m)) return CaptureBand;
  if (!CapturedPiece(m)) return see(pos, m);
  int d = value_of(CapturedPiece(m)) - value_of(MovedPiece(m));
  if (d < 0) d = see(pos, m);
  return d >= 0 ? d + CaptureBand : d - CaptureBand;
}

void picker_start(MovePicker& p, Move hashMove, Move killer1, Move killer2, bool inCheck) {
  p.stage = inCheck ? PickGenerateEvasions : PickHash;
  p.cursor = p.waitingCount = 0;
  p.hashMove = hashMove;
  p.killer1 = killer1;
  p.killer2 = killer2;
}

void picker_start_captures(MovePicker& p, Move hashMove, bool inCheck) {
  picker_start(p, hashMove, 0, 0, inCheck);
  if (!inCheck) p.stage = PickGenerateCapturesOnly;
}

Move next_move(const Position& pos, MovePicker& p) {
  while (true) {
    switch (p.stage) {
      case PickHash:
        p.stage = PickGenerateCaptures;
        if (p.hashMove && move_is_legal_here(pos, p.hashMove)) return p.hashMove;
        break;

      case PickGenerateCaptures:
      case PickGenerateCapturesOnly:
        generate_tactical(pos, p.list);
        for (int i = 1; i <= p.list.tacticalCount; i++) {
          Move m = p.list.moves[i].move;
          p.list.moves[i].score = m == p.hashMove ? HashMoveScore : capture_score(m);
        }
        p.stage = p.stage == PickGenerateCaptures ? PickCaptures : PickCapturesOnly;
        break;

      case PickCaptures:
        if (Move m = next_capture(pos, p, true)) return m;
        p.stage = PickKiller1;
        break;

      case PickKiller1:
        p.stage = PickKiller2;
        if (p.killer1 && p.killer1 != p.hashMove && move_is_legal_here(pos, p.killer1)) return p.killer1;
        break;

      case PickKiller2:
        p.stage = PickGenerateQuiets;
        if (p.killer2 && p.killer2 != p.hashMove && p.killer2 != p.killer1 && move_is_legal_here(pos, p.killer2))
          return p.killer2;
        break;

      case PickGenerateQuiets:
        generate_quiet(pos, p.list);
        for (int i = p.list.tacticalCount + 1; i <= p.list.count; i++)
          p.list.moves[i].score = quiet_score(p, p.list.moves[i].move);
        sort_moves(p.list, p.list.tacticalCount + 1, p.list.count);
        p.cursor = p.list.tacticalCount;
        p.stage = PickQuiets;
        break;

      case PickQuiets:
        while (p.cursor < p.list.count) {
          Move m = p.list.moves[++p.cursor].move;
          if (m != p.hashMove && m != p.killer1 && m != p.killer2) return m;
        }
        p.cursor = 0;
        p.stage = PickWaitingCaptures;
        break;

      case PickWaitingCaptures:
        if (p.cursor < p.waitingCount) {
          p.cursor++;
          select_best(p.list, p.cursor, p.waitingCount);
          return p.list.moves[p.cursor].move;
        }
        p.stage = PickDone;
        break;

      case PickGenerateEvasions:
        generate_evasions(pos, p.list);
        for (int i = 1; i <= p.list.count; i++) p.list.moves[i].score = evasion_score(p, p.list.moves[i].move);
        p.stage = PickEvasions;
        break;

      case PickEvasions:
        if (p.cursor < p.list.count) {
          p.cursor++;
          select_best(p.list, p.cursor, p.list.count);
          return p.list.moves[p.cursor].move;
        }
        p.stage = PickDone;
        break;

      case PickCapturesOnly:
        if (Move m = next_capture(pos, p, false)) return m;
        p.stage = PickDone;
        break;

      default: return 0;
    }
  }
}
}  // namespace veltrix
