#include "syzygy/syzygy.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>

#include "engine/score.h"
#include "engine/search_limits.h"
#include "syzygy/prober.h"

SyzygySettings SyzygyConfig;
SyzygyStatus Syzygy;

namespace {
// A table is named after its men: the kings and the pieces of the stronger side
// first, strongest first ("KRPvKQ"); the win-draw-loss file ends in ".rtbw", the
// distance-to-zero file beside it in ".rtbz".
bool is_table_file(const std::filesystem::path& file, int largest) {
  static const std::regex name("KQ*R*B*N*P*vKQ*R*B*N*P*");
  const std::string stem = file.stem().string();
  return file.extension() == ".rtbw" && std::regex_match(stem, name) && int(stem.size()) - 1 <= largest;
}

// The tables of the folders, each counted once however many folders hold it.
int count_tables(const std::string& folders, int largest) {
  std::set<std::string> found;
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = std::min(folders.find(':', start), folders.size());
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folders.substr(start, end - start), error))
      if (is_table_file(entry.path(), largest)) found.insert(entry.path().filename().string());
    start = end + 1;
  }
  return int(found.size());
}

bool in_tables(const Position& pos) {
  return popcount(pos.occupied()) <= std::min(Syzygy.largest, SyzygyConfig.probeLimit) && !pos.may_castle();
}

TbResult result_of(TbOutcome outcome) {
  switch (outcome) {
    case TbOutcome::Win: return TbResult::Win;
    case TbOutcome::Loss: return TbResult::Loss;
    case TbOutcome::CursedWin: return SyzygyConfig.rule50 ? TbResult::Draw : TbResult::Win;
    case TbOutcome::BlessedLoss: return SyzygyConfig.rule50 ? TbResult::Draw : TbResult::Loss;
    default: return TbResult::Draw;
  }
}

// Whether a position has stood twice since the last capture or pawn move. A game
// that has gone round once may go round again while every win within the
// fifty-move rule counts alike, until a third time ends it in a draw; the moves
// nearest to the next capture, pawn move or mate never come back to a position.
bool repeated_since_zeroing(const Position& pos) {
  const int first = std::max(pos.GamePly - pos.Fifty, 1);
  for (int later = pos.GamePly; later > first; later--)
    for (int earlier = later - 2; earlier >= first; earlier -= 2)
      if (pos.history_at(later) && pos.history_at(later) == pos.history_at(earlier)) return true;
  return false;
}

// The lowest rank kept at the root: the best one, then the next ones down, each
// with all its moves, until `lines` moves are kept or none is left.
int lowest_rank_kept(const int ranks[], int count, int lines) {
  int lowest = *std::max_element(ranks + 1, ranks + count + 1);
  while (std::count_if(ranks + 1, ranks + count + 1, [&](int r) { return r >= lowest; }) < lines) {
    int next = lowest;
    for (int i = 1; i <= count; i++)
      if (ranks[i] < lowest && (next == lowest || ranks[i] > next)) next = ranks[i];
    if (next == lowest) break;
    lowest = next;
  }
  return lowest;
}

int score_of(TbResult result, int ply, int drawScore) {
  return result == TbResult::Win ? tb_win_at(ply) : result == TbResult::Loss ? -tb_win_at(ply) : drawScore;
}
}  // namespace

int set_syzygy_path(const std::string& path) {
  SyzygyConfig.path = path == NoSyzygyPath ? "" : path;
  // With no folder the tables opened before stay with the library, unused: it
  // offers no way to close them that leaves it able to open others later.
  Syzygy.largest = SyzygyConfig.path.empty() ? 0 : open_tables(SyzygyConfig.path);
  Syzygy.tables = Syzygy.largest ? count_tables(SyzygyConfig.path, Syzygy.largest) : 0;
  return Syzygy.tables;
}

void syzygy_search_start(const Position& root, MoveList& moves, int lines) {
  Syzygy.hits = 0;
  Syzygy.rootKnown = false;
  Syzygy.rankedCount = 0;
  int ranks[256];
  if (!Syzygy.largest || moves.count == 0 || !in_tables(root) ||
      !rank_moves(root, moves, repeated_since_zeroing(root), ranks))
    return;
  Syzygy.hits += moves.count;  // the position after each root move was answered
  // Under the fifty-move rule a cursed win still ranks above a draw, since the
  // opponent may yet go wrong, and a blessed loss above a loss.
  const int kept = lowest_rank_kept(ranks, moves.count, lines);
  for (int i = 1; i <= moves.count; i++) {
    if (ranks[i] < kept) continue;
    Syzygy.rankedMoves[Syzygy.rankedCount] = moves.moves[i].move;
    Syzygy.rankOf[Syzygy.rankedCount++] = ranks[i];
  }
  keep_root_moves(moves, [&](int i) { return ranks[i] >= kept; });
  Syzygy.rootKnown = true;
}

int syzygy_root_rank(Move rootMove) {
  for (int i = 0; i < Syzygy.rankedCount; i++)
    if (Syzygy.rankedMoves[i] == rootMove) return Syzygy.rankOf[i];
  return 0;
}

bool syzygy_root_result(Move rootMove, TbResult& result) {
  if (!Syzygy.rootKnown) return false;
  result = result_of(outcome_of_rank(syzygy_root_rank(rootMove)));
  return true;
}

int syzygy_root_report(Move rootMove, int score, int rootPly, int drawScore) {
  TbResult result;
  if (abs_score(score) > SCORE_MATE_RANGE || !syzygy_root_result(rootMove, result)) return score;
  return score_of(result, rootPly, drawScore);
}

bool syzygy_probe(const Position& pos, int depth, int ply, int drawScore, int& score) {
  TbOutcome outcome;
  if (!Syzygy.largest || pos.Fifty != 0 || depth < SyzygyConfig.probeDepth || !in_tables(pos) ||
      !probe_outcome(pos, outcome))
    return false;
  ++Syzygy.hits;
  score = score_of(result_of(outcome), ply, drawScore);
  return true;
}
