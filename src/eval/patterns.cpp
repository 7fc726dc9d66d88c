// Trapped and blocked pieces that mobility alone misjudges. Cheap board look-ups,
// so they run before the lazy answer of the driver.
#include "eval/eval_terms.h"

namespace classic {
namespace {
constexpr ScorePair TrappedPiece = {-300, -300};
constexpr ScorePair BlockedCentrePawn = {-50, 0};
constexpr ScorePair BlockedCornerBishop = {-300, 0};
constexpr ScorePair ShutInRook = {-100, 0};

// Looks at the board from one colour's side: squares are given as White sees them.
struct SideView {
  const Position& pos;
  int colour;

  bool has(int type, int sq) const { return pos.Board[relative_square(colour, sq)] == make_piece(colour, type); }
  bool enemy_pawn(int sq) const { return pos.Board[relative_square(colour, sq)] == make_piece(other(colour), Pawn); }
  bool own_pawn(int sq) const { return has(Pawn, sq); }
};

ScorePair side_patterns(const Position& pos, int colour) {
  const SideView v{pos, colour};
  ScorePair score{};
  // A minor piece that took a rook's pawn is caught behind the neighbouring pawns.
  if (v.has(Knight, A7) && v.enemy_pawn(A6) && v.enemy_pawn(B7)) score += TrappedPiece;
  if (v.has(Knight, H7) && v.enemy_pawn(H6) && v.enemy_pawn(G7)) score += TrappedPiece;
  if (v.has(Bishop, A7) && v.enemy_pawn(B6) && v.enemy_pawn(C7)) score += TrappedPiece;
  if (v.has(Bishop, H7) && v.enemy_pawn(G6) && v.enemy_pawn(F7)) score += TrappedPiece;
  // A bishop in front of an unmoved centre pawn keeps it from advancing.
  if (v.has(Bishop, D3) && v.own_pawn(D2)) score += BlockedCentrePawn;
  if (v.has(Bishop, E3) && v.own_pawn(E2)) score += BlockedCentrePawn;
  // Chess960 corner bishops are buried behind their knight's pawn.
  if (BoardConfig.chess960) {
    if (v.has(Bishop, A1) && v.own_pawn(B2)) score += BlockedCornerBishop;
    if (v.has(Bishop, H1) && v.own_pawn(G2)) score += BlockedCornerBishop;
  }
  // A king that stepped aside without castling shuts its rook in the corner.
  if (v.has(King, B1) || v.has(King, C1)) {
    if (v.has(Rook, A1) && (v.own_pawn(A2) || v.own_pawn(A3))) score += ShutInRook;
    if (v.has(Rook, B1) && (v.own_pawn(B2) || v.own_pawn(B3))) score += ShutInRook;
  }
  if (v.has(King, F1) || v.has(King, G1)) {
    if (v.has(Rook, H1) && (v.own_pawn(H2) || v.own_pawn(H3))) score += ShutInRook;
    if (v.has(Rook, G1) && (v.own_pawn(G2) || v.own_pawn(G3))) score += ShutInRook;
  }
  return score;
}

// None of the patterns applies without a king or minor or rook on the first,
// third or seventh rank, which is the usual case after the opening.
bool worth_looking(const Position& pos, int colour) {
  Bitboard pieces =
      pos.PieceBB[colour][King] | pos.PieceBB[colour][Knight] | pos.PieceBB[colour][Bishop] | pos.PieceBB[colour][Rook];
  return pieces & (RelativeRankBB[colour][0] | RelativeRankBB[colour][2] | RelativeRankBB[colour][6]);
}
}  // namespace

ScorePair evaluate_patterns(const Position& pos) {
  ScorePair score{};
  for (int colour = Black; colour <= White; colour++) {
    if (!worth_looking(pos, colour)) continue;
    ScorePair s = side_patterns(pos, colour);
    score = colour == White ? score + s : score - s;
  }
  return score;
}
}  // namespace classic
