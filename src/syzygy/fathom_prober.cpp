// The prober on the fathom library (Debian's libfathom-dev).
#include <tbprobe.h>

#include "platform/platform.h"
#include "syzygy/prober.h"

static_assert(int(TbOutcome::Loss) == TB_LOSS && int(TbOutcome::BlessedLoss) == TB_BLESSED_LOSS &&
              int(TbOutcome::Draw) == TB_DRAW && int(TbOutcome::CursedWin) == TB_CURSED_WIN &&
              int(TbOutcome::Win) == TB_WIN);

namespace {
// The position as the library takes it: men by colour and by kind.
struct Men {
  uint64_t white, black, kings, queens, rooks, bishops, knights, pawns;
  unsigned epSquare;  // 0 for none, as in Position
  bool whiteToMove;
};

Men men_of(const Position& pos) {
  auto both = [&pos](int type) { return pos.pieces(White, type) | pos.pieces(Black, type); };
  return {pos.ColourBB[White],
          pos.ColourBB[Black],
          both(King),
          both(Queen),
          both(Rook),
          both(Bishop),
          both(Knight),
          both(Pawn),
          unsigned(pos.EpTarget),
          pos.SideToMove == White};
}

// The Gaviota library of veltrix-classic exports a "tb_init" of its own, and a
// plain call would reach whichever of the two the program loaded first.
bool init_library(const char* folders) {
  using Init = bool (*)(const char*);
  static const Init init =
      reinterpret_cast<Init>(library_function(reinterpret_cast<const void*>(&tb_probe_root_dtz), "tb_init"));
  return init && init(folders);
}

unsigned promotion_code(Move m) {
  switch (PieceTypeOf[PromotionPiece(m)]) {
    case Queen: return TB_PROMOTES_QUEEN;
    case Rook: return TB_PROMOTES_ROOK;
    case Bishop: return TB_PROMOTES_BISHOP;
    case Knight: return TB_PROMOTES_KNIGHT;
    default: return TB_PROMOTES_NONE;
  }
}

bool is_move(Move m, unsigned from, unsigned to, unsigned promotes) {
  return unsigned(From(m)) == from && unsigned(To(m)) == to && promotion_code(m) == promotes;
}

// The library's ranks: a move whose win holds within the fifty-move rule ranks
// above SpoiledRank, one to a loss that the rule cannot save below -SpoiledRank,
// one to a draw 0; the wins and losses that the rule spoils rank between.
constexpr int SpoiledRank = 900;

// The ranks of the library's list for the moves of ours.
bool ranks_of(const TbRootMoves& ranked, const MoveList& moves, int ranks[]) {
  for (int i = 1; i <= moves.count; i++) {
    const Move m = moves.moves[i].move;
    unsigned j = 0;
    while (j < ranked.size && !is_move(m, TB_MOVE_FROM(ranked.moves[j].move), TB_MOVE_TO(ranked.moves[j].move),
                                       TB_MOVE_PROMOTES(ranked.moves[j].move)))
      j++;
    if (j == ranked.size) return false;
    ranks[i] = ranked.moves[j].tbRank;
  }
  return true;
}
}  // namespace

int open_tables(const std::string& folders) { return init_library(folders.c_str()) ? int(TB_LARGEST) : 0; }

bool probe_outcome(const Position& pos, TbOutcome& outcome) {
  const Men b = men_of(pos);
  const unsigned wdl = tb_probe_wdl(b.white, b.black, b.kings, b.queens, b.rooks, b.bishops, b.knights, b.pawns,
                                    unsigned(pos.Fifty), 0, b.epSquare, b.whiteToMove);
  if (wdl == TB_RESULT_FAILED) return false;
  outcome = TbOutcome(wdl);
  return true;
}

// The list is large and the root is ranked by the main thread alone.
bool rank_moves(const Position& pos, const MoveList& moves, bool repeated, int ranks[]) {
  static TbRootMoves ranked;
  const Men b = men_of(pos);
  const unsigned fifty = unsigned(pos.Fifty);
  if (tb_probe_root_dtz(b.white, b.black, b.kings, b.queens, b.rooks, b.bishops, b.knights, b.pawns, fifty, 0,
                        b.epSquare, b.whiteToMove, repeated, true, &ranked) &&
      ranks_of(ranked, moves, ranks))
    return true;
  return tb_probe_root_wdl(b.white, b.black, b.kings, b.queens, b.rooks, b.bishops, b.knights, b.pawns, fifty, 0,
                           b.epSquare, b.whiteToMove, true, &ranked) &&
         ranks_of(ranked, moves, ranks);
}

TbOutcome outcome_of_rank(int rank) {
  if (rank > SpoiledRank) return TbOutcome::Win;
  if (rank > 0) return TbOutcome::CursedWin;
  if (rank == 0) return TbOutcome::Draw;
  return rank >= -SpoiledRank ? TbOutcome::BlessedLoss : TbOutcome::Loss;
}
