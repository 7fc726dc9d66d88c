// Shared by the fuzz harnesses: reading the fuzzer's bytes, failing loudly on a
// broken invariant, quiet output, scratch files, and the board checks every
// harness applies to the positions it reaches.
#pragma once

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "board/bitboard.h"
#include "board/movegen.h"
#include "board/movetext.h"
#include "board/position.h"

// What the harness was doing, printed with a broken invariant (a move, a line).
inline std::string FuzzContext;

// A broken invariant is a finding like a crash: libFuzzer keeps the input that led here.
#define FUZZ_CHECK(condition, what)                                                                           \
  do {                                                                                                        \
    if (!(condition)) {                                                                                       \
      fprintf(stderr, "invariant broken at %s:%d: %s [%s]\n", __FILE__, __LINE__, what, FuzzContext.c_str()); \
      abort();                                                                                                \
    }                                                                                                         \
  } while (0)

// The fuzzer's bytes, taken from the front.
struct FuzzInput {
  const uint8_t* data;
  size_t size;

  uint8_t byte() {
    if (!size) return 0;
    size--;
    return *data++;
  }
  uint32_t u32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; i++) v |= uint32_t(byte()) << (8 * i);
    return v;
  }
  // The next line without its end, or everything left.
  std::string line() {
    const void* nl = memchr(data, '\n', size);
    size_t length = nl ? size_t(static_cast<const uint8_t*>(nl) - data) : size;
    std::string text(reinterpret_cast<const char*>(data), length);
    data += nl ? length + 1 : length;
    size -= nl ? length + 1 : length;
    return text;
  }
  std::string rest() { return std::string(reinterpret_cast<const char*>(data), size); }
};

// The programs print on every step; thousands of runs a second must not flood the
// terminal. Diagnostics of the sanitizers and of FUZZ_CHECK go to standard error.
inline void silence_stdout() {
  int null = open("/dev/null", O_WRONLY);
  if (null >= 0) {
    dup2(null, STDOUT_FILENO);
    close(null);
  }
}

// The searches poll standard input for "stop" and "quit": it must hold nothing.
inline void empty_stdin() {
  int null = open("/dev/null", O_RDONLY);
  if (null >= 0) {
    dup2(null, STDIN_FILENO);
    close(null);
  }
}

// A file of this process, in the working directory, for the bytes a reader under
// test gets from disk. libFuzzer ends with exit(), so the files go at exit.
struct ScratchFile {
  std::string path;

  explicit ScratchFile(const char* name) : path("scratch-" + std::to_string(getpid()) + "-" + name) {
    if (all().empty()) std::atexit(remove_all);
    all().push_back(path);
  }
  static std::vector<std::string>& all() {
    static std::vector<std::string> paths;
    return paths;
  }
  static void remove_all() {
    for (const std::string& p : all()) remove(p.c_str());
  }
  void write(const void* bytes, size_t size) const {
    FILE* f = fopen(path.c_str(), "wb");
    FUZZ_CHECK(f, "cannot write the scratch file");
    if (size) FUZZ_CHECK(fwrite(bytes, 1, size, f) == size, "short write of the scratch file");
    fclose(f);
  }
  void write(std::string_view text) const { write(text.data(), text.size()); }
};

// The switches the board core reads, chosen by one byte of the input.
inline void choose_board_config(uint8_t flags) {
  BoardConfig = BoardSettings{};
  BoardConfig.chess960 = flags & 1;
  BoardConfig.castlingOO = flags & 2;
  BoardConfig.ssePopcount = !(flags & 4);
  BoardConfig.debugInfo = flags & 8;
}

// Every redundant field agrees with the board, and every key with its recomputation.
inline void check_position(const Position& pos) {
  Position rebuilt = pos;
  rebuild_placement(rebuilt);
  for (int c = Black; c <= White; c++) {
    FUZZ_CHECK(rebuilt.ColourBB[c] == pos.ColourBB[c], "colour bitboard differs from the board");
    FUZZ_CHECK(rebuilt.ColourCount[c] == pos.ColourCount[c], "colour count differs from the board");
    FUZZ_CHECK(rebuilt.KingSq[c] == pos.KingSq[c], "king square differs from the board");
    FUZZ_CHECK(popcount(pos.PieceBB[c][King]) == 1, "not exactly one king");
    for (int t = Pawn; t <= King; t++) {
      FUZZ_CHECK(rebuilt.PieceBB[c][t] == pos.PieceBB[c][t], "piece bitboard differs from the board");
      FUZZ_CHECK(rebuilt.PieceCount[c][t] == pos.PieceCount[c][t], "piece count differs from the board");
    }
  }
  FUZZ_CHECK(pos.SideToMove == White || pos.SideToMove == Black, "side to move out of range");
  FUZZ_CHECK(pos.HashKey == compute_hash_key(pos), "hash key differs from its recomputation");
  FUZZ_CHECK(pos.PawnKey == compute_pawn_key(pos), "pawn key differs from its recomputation");
  FUZZ_CHECK(pos.MaterialKey == compute_material_key(pos), "material key differs from its recomputation");
  FUZZ_CHECK(pos.PsqScore[White] == compute_psq_score(pos, White), "white piece-square sum differs");
  FUZZ_CHECK(pos.PsqScore[Black] == compute_psq_score(pos, Black), "black piece-square sum differs");
  FUZZ_CHECK(pos.history_at(pos.GamePly) == pos.HashKey, "key history misses the current key");
  FUZZ_CHECK(!square_attacked(pos, pos.KingSq[other(pos.SideToMove)], pos.SideToMove),
             "the side that just moved stands in check");
  int ep = pos.EpTarget;
  FUZZ_CHECK(ep == 0 || relative_rank(other(pos.SideToMove), ep) == 2, "en-passant target off its rank");
}

// Every field a make and its unmake must leave as it was (the key history above the
// current ply may keep what the make wrote there).
inline bool same_position(const Position& a, const Position& b) {
  if (a.SideToMove != b.SideToMove || a.Fifty != b.Fifty || a.EpTarget != b.EpTarget || a.GamePly != b.GamePly ||
      a.HashKey != b.HashKey || a.PawnKey != b.PawnKey || a.MaterialKey != b.MaterialKey ||
      !(a.PsqScore[White] == b.PsqScore[White]) || !(a.PsqScore[Black] == b.PsqScore[Black]))
    return false;
  if (memcmp(a.Board, b.Board, sizeof a.Board) || memcmp(a.PieceBB, b.PieceBB, sizeof a.PieceBB) ||
      memcmp(a.ColourBB, b.ColourBB, sizeof a.ColourBB) || memcmp(a.KingSq, b.KingSq, sizeof a.KingSq) ||
      memcmp(a.PieceCount, b.PieceCount, sizeof a.PieceCount) ||
      memcmp(a.ColourCount, b.ColourCount, sizeof a.ColourCount))
    return false;
  for (int c = Black; c <= White; c++) {
    const Castling &x = a.CastleInfo[c], &y = b.CastleInfo[c];
    if (x.CanCastleOO != y.CanCastleOO || x.CanCastleOOO != y.CanCastleOOO || x.CastleKingSq != y.CastleKingSq ||
        x.RRookSq != y.RRookSq || x.LRookSq != y.LRookSq)
      return false;
  }
  // The keys the repetition test reads: back to the last capture or pawn move. The
  // ring is indexed by game ply, which a FEN's move number may set high.
  for (int ply = std::max(0, a.GamePly - a.Fifty); ply <= a.GamePly; ply++)
    if (a.history_at(ply) != b.history_at(ply)) return false;
  return true;
}

// Where the king of a castling move lands, whatever the encoding.
inline int castling_king_target(int colour, Move m) {
  return make_square(CastleType(m) == 1 ? 6 : 2, colour == White ? 0 : 7);
}

// What a generated move must satisfy in the position it was generated for.
inline void check_move(Position& pos, Move m, Dialect dialect, int ply) {
  const int us = pos.SideToMove;
  FuzzContext = "move " + move_text(m) + " at ply " + std::to_string(ply);
  FUZZ_CHECK(move_playable(pos, m), "generated move refused by move_playable");
  FUZZ_CHECK(move_keeps_king_safe(pos, m), "generated move refused by move_keeps_king_safe");
  FUZZ_CHECK(move_in_list(pos, m) || in_check(pos), "generated move missing from the move list");
  FUZZ_CHECK(parse_move(pos, move_text(m).c_str(), dialect) == m, "move text does not read back as the move");
  if (CastleType(m) && !BoardConfig.castlingOO) {
    // The text tells an interface where the king goes (or, in Chess960, which rook it takes).
    int named = BoardConfig.chess960 ? (CastleType(m) == 1 ? pos.CastleInfo[us].RRookSq : pos.CastleInfo[us].LRookSq)
                                     : castling_king_target(us, m);
    FUZZ_CHECK(To(m) == named, "castling move names the wrong square");
  }
  const bool check = gives_check(pos, m);
  const Position before = pos;
  make_move(pos, m, ply);
  check_position(pos);
  FUZZ_CHECK(pos.GamePly == before.GamePly + 1, "make did not advance the game ply");
  FUZZ_CHECK(in_check(pos) == check, "gives_check disagrees with the position after the move");
  if (CastleType(m)) FUZZ_CHECK(pos.KingSq[us] == castling_king_target(us, m), "castled king off its square");
  unmake_move(pos, m, ply);
  FUZZ_CHECK(same_position(pos, before), "unmake did not restore the position");
}

// The other half of the generator's contract: every word of the position that the
// stored-move tests accept (playable, king kept safe) is among the generated moves.
inline void check_no_move_missing(const Position& pos) {
  MoveList list;
  generate_legal(pos, list);
  std::set<Move> generated;
  for (int i = 1; i <= list.count; i++) generated.insert(list.moves[i].move);
  const int us = pos.SideToMove, king = make_piece(us, King);
  std::vector<Move> words;
  for (int from = 0; from < 64; from++) {
    const int piece = pos.Board[from];
    if (!piece || PieceColourOf[piece] != us) continue;
    for (int to = 0; to < 64; to++) {
      Move plain = encode_move(from, to, piece, pos.Board[to]);
      words.push_back(plain);
      if (PieceTypeOf[piece] != Pawn) continue;
      if (to == pos.EpTarget) words.push_back(encode_move(from, to, piece) | EpFlag);
      for (int type = Knight; type <= Queen; type++) words.push_back(plain | Move(make_piece(us, type)) << 20);
    }
  }
  const Castling& ci = pos.CastleInfo[us];
  const int ksq = pos.KingSq[us];
  if (BoardConfig.chess960 || file_of(ksq) == 4) {
    words.push_back(encode_move(ksq, BoardConfig.chess960 ? ci.RRookSq : ksq + 2, king) | CastleOO);
    words.push_back(encode_move(ksq, BoardConfig.chess960 ? ci.LRookSq : ksq - 2, king) | CastleOOO);
  }
  for (Move m : words) {
    if (!move_playable(pos, m) || !move_keeps_king_safe(pos, m)) continue;
    FuzzContext = "move " + move_text(m);
    FUZZ_CHECK(generated.count(m), "a legal move the generator does not give");
  }
}

// Checks the position, then every legal move of it and, to depth two, every reply.
// Each level keeps its undo records at a ply of its own.
inline void check_move_tree(Position& pos, Dialect dialect, int depth = 2, int ply = 1) {
  check_position(pos);
  if (ply == 1) check_no_move_missing(pos);
  MoveList list;
  generate_legal(pos, list);
  FUZZ_CHECK(list.count >= 0 && list.count <= 255, "move list overflow");
  if (!in_check(pos)) {
    const Position before = pos;
    make_null_move(pos, ply);
    check_position(pos);
    unmake_null_move(pos, ply);
    FUZZ_CHECK(same_position(pos, before), "null move not restored");
  }
  (void)is_draw(pos);
  for (int i = 1; i <= list.count; i++) {
    Move m = list.moves[i].move;
    check_move(pos, m, dialect, ply);
    if (depth > 1) {
      make_move(pos, m, ply);
      check_move_tree(pos, dialect, depth - 1, ply + 1);
      unmake_move(pos, m, ply);
    }
  }
}
