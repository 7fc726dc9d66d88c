// The game state record, its FEN reader, and making and unmaking moves.
#pragma once

#include "board/bitboard.h"
#include "board/psq.h"
#include "board/types.h"

// Castling data of one colour. The king and rook squares make Chess960 castling
// work with the same code as standard chess.
struct Castling {
  int CanCastleOO;   // castling toward the h-side still allowed
  int CanCastleOOO;  // castling toward the a-side still allowed
  int CastleKingSq;  // the king's square when the FEN was read; castling starts here
  int RRookSq;       // the castling rook on the h-side of the king
  int LRookSq;       // the castling rook on the a-side of the king
};

constexpr int KeyHistorySize = 1024;

struct Position {
  int ThreadSlot;  // the search thread owning this copy; selects its undo stack
  int SideToMove;
  Castling CastleInfo[2];
  int Fifty;
  int EpTarget;  // the square a double-pushed pawn passed over, 0 for none
  Bitboard PieceBB[2][7];
  Bitboard ColourBB[2];
  int Board[64];
  int KingSq[2];
  int PieceCount[2][7];
  int ColourCount[2];
  Key HashKey;
  Key PawnKey;
  Key MaterialKey;
  ScorePair PsqScore[2];
  int GamePly;
  // HashKey after each game ply. Used as a ring so that a game longer than the
  // array never writes past it; the repetition test looks back at most 102 plies.
  Key KeyHistory[KeyHistorySize];

  Bitboard occupied() const { return ColourBB[White] | ColourBB[Black]; }
  // Endgame tables know nothing of castling, and a right to castle can change the result.
  bool may_castle() const {
    return CastleInfo[0].CanCastleOO || CastleInfo[0].CanCastleOOO || CastleInfo[1].CanCastleOO ||
           CastleInfo[1].CanCastleOOO;
  }
  Bitboard pieces(int colour, int type) const { return PieceBB[colour][type]; }
  Key& history_at(int ply) { return KeyHistory[ply & (KeyHistorySize - 1)]; }
  Key history_at(int ply) const { return KeyHistory[ply & (KeyHistorySize - 1)]; }
};

extern const char* const StartFen;

// Where the two programs read text differently. The classic FEN reader reports
// errors as "info string" lines; veltrix's answers false silently and reads a few
// more forms (whitespace and "w" inside the placement, all castling letters), and
// veltrix also reads castling written with a lower-case "o".
enum class Dialect { Classic, Veltrix };

// Reads a FEN into the position. A text that is not a usable chess position is
// rejected (false) and the position keeps what it held before.
bool read_fen(Position& pos, const char* text, Dialect dialect = Dialect::Classic);

// Recomputes the placement fields from Board, and the three keys from scratch.
void rebuild_placement(Position& pos);
Key compute_hash_key(const Position& pos);
Key compute_pawn_key(const Position& pos);
Key compute_material_key(const Position& pos);
ScorePair compute_psq_score(const Position& pos, int colour);

// What a move destroys, saved per thread slot and ply.
struct UndoRecord {
  int Fifty;
  int EpTarget;
  Castling CastleInfo[2];
  Key HashKey;
  Key PawnKey;
  Key MaterialKey;
  ScorePair PsqScore[2];
};

constexpr int MaxThreads = 64;
constexpr int MaxPly = 120;
extern UndoRecord UndoStack[MaxThreads][MaxPly];

void make_move(Position& pos, Move m, int ply);
void unmake_move(Position& pos, Move m, int ply);
// The null move of the searches: the side to move passes.
void make_null_move(Position& pos, int ply);
void unmake_null_move(Position& pos, int ply);

// Repetitions needed for a draw: the classic engine asks for the position to have
// stood twice before, veltrix for once.
enum class RepetitionRule { TwoEarlier = 2, OneEarlier = 1 };
bool is_draw(const Position& pos, RepetitionRule rule = RepetitionRule::TwoEarlier);
// No pawns, no rooks or queens, at most one minor piece besides the kings.
bool insufficient_material(const Position& pos);
