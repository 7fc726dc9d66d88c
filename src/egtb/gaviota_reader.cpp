// The reader behind reader.h for Gaviota tablebase files, read through the
// system's Gaviota probing library. A table file is named by its men, the kings
// leading each side ("kqkr.gtb.cp4": king and queen against king and rook); the
// suffix names the compression scheme, and one file serves both sides to move.
#include <gtb-probe.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "board/types.h"
#include "egtb/reader.h"
#include "platform/platform.h"

static_assert(int(tb_PAWN) == Pawn && int(tb_KNIGHT) == Knight && int(tb_BISHOP) == Bishop && int(tb_ROOK) == Rook &&
                  int(tb_QUEEN) == Queen && int(tb_KING) == King,
              "the library numbers the piece types as the board does");
static_assert(int(tb_A1) == A1 && int(tb_H8) == H8, "the library numbers the squares as the board does");

namespace {
// The library handles no more men than this.
constexpr int MostMen = 5;
// Letters of a table name after each king, strongest first; counts are indexed
// pawn, knight, bishop, rook, queen.
constexpr char MenLetters[] = "qrbnp";
constexpr int LetterCountIndex[] = {4, 3, 2, 1, 0};

struct RegisteredTable {
  std::string name;
  bool readable = true;  // cleared after a failed read, so a broken file costs one message
};

struct GaviotaReader {
  const char** paths = nullptr;                  // owned by the library's path list functions
  std::vector<RegisteredTable> tables;           // identifier = index + 1
  std::unordered_map<uint64_t, int> byMaterial;  // material key of the stronger-first side -> identifier
};

GaviotaReader Reader;

// Four bits per count: White's five, then Black's five.
uint64_t material_key(const int counts[10]) {
  uint64_t key = 0;
  for (int i = 0; i < 10; ++i) key |= uint64_t(counts[i] & 15) << (4 * i);
  return key;
}

// The counts of a table name such as "krpkr", the first side as White; false for
// a name that is no table of this library.
bool counts_of_name(const std::string& name, int counts[10]) {
  for (int i = 0; i < 10; ++i) counts[i] = 0;
  if (name.size() < 3 || int(name.size()) > MostMen || name[0] != 'k') return false;
  int side = -1;
  for (char c : name) {
    if (c == 'k') {
      if (++side > 1) return false;
      continue;
    }
    const char* letter = c ? std::strchr(MenLetters, c) : nullptr;
    if (!letter) return false;
    counts[5 * side + LetterCountIndex[letter - MenLetters]] += 1;
  }
  return side == 1;
}

// "kqk.gtb.cp4" -> table "kqk", compression scheme 4.
bool parse_file_name(const std::string& file, std::string& table, int& scheme) {
  size_t dot = file.find(".gtb.cp");
  if (dot == std::string::npos || file.size() != dot + 8) return false;
  scheme = file[dot + 7] - '0';
  if (scheme < tb_CP1 || scheme > tb_CP4) return false;
  table = file.substr(0, dot);
  int counts[10];
  return counts_of_name(table, counts);
}

void close_tables() {
  if (tbcache_is_on()) tbcache_done();
  if (tb_is_initialized()) tb_done();
  if (Reader.paths) tbpaths_done(Reader.paths);
  Reader = GaviotaReader{};
}

// The library opens one compression scheme at a time: the one most of the
// directories' tables are stored in, the library's recommended scheme 4 on a tie.
int most_common_scheme(const std::set<std::string> (&byScheme)[5]) {
  int best = tb_CP4;
  for (int scheme = tb_CP4; scheme >= tb_CP1; --scheme)
    if (byScheme[scheme].size() > byScheme[best].size()) best = scheme;
  return best;
}

// The largest table size the library reports present: bit 2(n - 3) stands for
// at least one n-man table.
int largest_men_opened() {
  unsigned present = tb_availability();
  int largest = 0;
  for (int men = 3; men <= MostMen; ++men)
    if (present & (1u << (2 * (men - 3)))) largest = men;
  return largest;
}

int to_library_side(int sideToMove) { return sideToMove == White ? tb_WHITE_TO_MOVE : tb_BLACK_TO_MOVE; }

// The Syzygy library exports a "tb_init" of its own, and a plain call would reach
// whichever of the two the program loaded first.
void init_library(int scheme, const char** paths) {
  using Init = char* (*)(int, int, const char**);
  static const Init init =
      reinterpret_cast<Init>(library_function(reinterpret_cast<const void*>(&tb_probe_hard), "tb_init"));
  if (init) init(0, scheme, paths);
}

// Squares and piece types in the library's terminated arrays; an exchanged
// position is turned around so the swapped colours stand on their own halves.
void fill_men(const TableMen& men, bool exchanged, unsigned* squares, unsigned char* types) {
  for (int i = 0; i < men.count; ++i) {
    squares[i] = unsigned(exchanged ? FlipSquare(men.square[i]) : men.square[i]);
    types[i] = static_cast<unsigned char>(men.type[i]);
  }
  squares[men.count] = tb_NOSQUARE;
  types[men.count] = tb_NOPIECE;
}
}  // namespace

int register_tables(const std::vector<std::string>& directories) {
  close_tables();
  std::set<std::string> byScheme[5];
  for (const std::string& dir : directories) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      std::string table;
      int scheme;
      std::error_code fileError;
      if (it->is_regular_file(fileError) && parse_file_name(it->path().filename().string(), table, scheme))
        byScheme[scheme].insert(table);
    }
  }
  const int scheme = most_common_scheme(byScheme);
  if (byScheme[scheme].empty()) return 0;

  for (const std::string& name : byScheme[scheme]) {
    int counts[10];
    counts_of_name(name, counts);
    Reader.tables.push_back({name});
    Reader.byMaterial.emplace(material_key(counts), int(Reader.tables.size()));
  }
  Reader.paths = tbpaths_init();
  for (const std::string& dir : directories) Reader.paths = tbpaths_add(Reader.paths, dir.c_str());
  init_library(scheme, Reader.paths);
  // Files that are present but cannot be opened count as absent.
  const int largest = largest_men_opened();
  if (largest == 0) close_tables();
  return largest;
}

bool set_table_cache(size_t bytes) {
  if (tbcache_is_on()) tbcache_done();
  // The engine asks only for distances to mate, so no share goes to win/draw/loss data.
  return tbcache_init(bytes, 0) != 0;
}

int select_table(const int counts[10]) {
  auto found = Reader.byMaterial.find(material_key(counts));
  if (found != Reader.byMaterial.end()) return found->second;
  int exchanged[10];
  for (int i = 0; i < 5; ++i) {
    exchanged[i] = counts[i + 5];
    exchanged[i + 5] = counts[i];
  }
  found = Reader.byMaterial.find(material_key(exchanged));
  return found != Reader.byMaterial.end() ? -found->second : 0;
}

// One file serves both sides to move.
bool table_available(int table, int sideToMove) {
  return table >= 1 && table <= int(Reader.tables.size()) && Reader.tables[table - 1].readable;
}

int read_table(int table, int sideToMove, const TableMen& white, const TableMen& black, int epSquare, bool exchanged) {
  if (!table_available(table, sideToMove)) return NoValue;
  unsigned whiteSquares[17], blackSquares[17];
  unsigned char whiteTypes[17], blackTypes[17];
  fill_men(white, exchanged, whiteSquares, whiteTypes);
  fill_men(black, exchanged, blackSquares, blackTypes);
  unsigned ep = epSquare == NoEpSquare ? unsigned(tb_NOSQUARE) : unsigned(exchanged ? FlipSquare(epSquare) : epSquare);

  unsigned info = tb_UNKNOWN, plies = 0;
  if (!tb_probe_hard(to_library_side(sideToMove), ep, tb_NOCASTLE, whiteSquares, blackSquares, whiteTypes, blackTypes,
                     &info, &plies)) {
    // The file was there at set-up but cannot be read now: play on without it.
    RegisteredTable& broken = Reader.tables[table - 1];
    broken.readable = false;
    printf("info string egtb %s cannot be read, no more probes of it\n", broken.name.c_str());
    return NoValue;
  }
  if (info == tb_DRAW) return 0;
  if (info != tb_WMATE && info != tb_BMATE) return NoValue;  // an illegal position or no entry
  // plies counts to the position where the loser stands mated: odd for the side
  // to move winning, even for it losing; both give m = plies / 2 + 1.
  const long m = long(plies / 2) + 1;
  if (NoValue - m <= NoValueShort) return NoValue;  // too far to tell from the "no value" codes
  const bool sideToMoveWins = (info == tb_WMATE) == (sideToMove == White);
  return int(sideToMoveWins ? NoValue - m : -(NoValue - m));
}
