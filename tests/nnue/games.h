// Random games steered toward the moves whose piece changes are special: king
// moves, castling, promotions and en-passant captures.
#pragma once

#include <functional>
#include <random>
#include <string>

#include "board/movegen.h"
#include "support/board_setup.h"

enum MoveKind { WhiteKingMove, BlackKingMove, WhiteCastling, BlackCastling, Promotion, EnPassant, Capture, KindCount };

struct KindCounts {
  int seen[KindCount] = {};
  void count(Move m) {
    int moved = MovedPiece(m);
    if (moved == WhiteKing) ++seen[WhiteKingMove];
    if (moved == BlackKing) ++seen[BlackKingMove];
    if (CastleType(m)) ++seen[PieceColourOf[moved] == White ? WhiteCastling : BlackCastling];
    if (PromotionPiece(m)) ++seen[Promotion];
    if (EpCapture(m)) ++seen[EnPassant];
    if (CapturedPiece(m)) ++seen[Capture];
  }
};

struct GameStart {
  const char* fen;
  bool chess960;
};

// Starts that offer castling on both wings, promotions and en passant early.
inline const GameStart GameStarts[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", false},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", false},
    {"r3k2r/1P6/8/2pP4/8/8/6p1/R3K2R w KQkq c6 0 1", false},
    {"8/2P1k3/8/8/8/8/3K1p2/8 w - -", false},
    {"bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9", true},
};

inline bool special(Move m) {
  return CastleType(m) || PromotionPiece(m) || EpCapture(m) || PieceTypeOf[MovedPiece(m)] == King;
}

// Plays up to `plies` random legal moves from the start, calling `step` with the
// position before each move, the move, and the position after it.
inline void play_random_game(const GameStart& start, uint32_t seed, int plies,
                             const std::function<void(const Position&, Move, const Position&)>& step) {
  BoardConfigGuard guard;
  BoardConfig.chess960 = start.chess960;
  Position pos = position_from(start.fen);
  std::mt19937 rng(seed);
  for (int ply = 0; ply < plies; ++ply) {
    MoveList list = legal_moves(pos);
    if (list.count == 0) return;
    std::vector<Move> specials;
    for (int i = 1; i <= list.count; ++i)
      if (special(list.moves[i].move)) specials.push_back(list.moves[i].move);
    Move m =
        !specials.empty() && rng() % 2 ? specials[rng() % specials.size()] : list.moves[1 + rng() % list.count].move;
    Position before = pos;
    make_move(pos, m, 1);
    step(before, m, pos);
  }
}
