// How many positions per second the network evaluates: rebuilt from scratch each
// time and carried from ply to ply (what the search does), over the positions of
// random games; then, for every vector path this processor runs, the forward pass
// alone and the row arithmetic of one move's update. Run: bench_nnue [network file].
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "board/movegen.h"
#include "nnue/board_link.h"

namespace {

// One ply of a game as the network sees it.
struct GamePly {
  int side;
  NnueLists lists;
  NnuePieceChanges changes;
};

std::vector<std::vector<GamePly>> Games;

void record_games(int count, int plies) {
  std::mt19937 rng(2020);
  for (int g = 0; g < count; ++g) {
    Position pos{};
    read_fen(pos, StartFen, Dialect::Veltrix);
    std::vector<GamePly> game;
    NnuePlyData scratch;
    for (int p = 0; p < plies; ++p) {
      MoveList list;
      generate_legal(pos, list);
      if (list.count == 0) break;
      Move m = list.moves[1 + rng() % list.count].move;
      record_move_changes(pos, m, scratch);
      make_move(pos, m, 1);
      GamePly ply{pos.SideToMove == White ? 0 : 1, {}, scratch.PieceChanges};
      build_piece_lists(pos, ply.lists);
      game.push_back(ply);
    }
    Games.push_back(game);
  }
}

void FullRefresh(benchmark::State& state) {
  NnuePlyData record;
  int64_t evaluations = 0;
  for (auto _ : state) {
    for (const auto& game : Games)
      for (const GamePly& ply : game) {
        record.computed = 0;
        benchmark::DoNotOptimize(evaluate_request({ply.side, ply.lists.pieces, ply.lists.squares, {&record}}));
      }
    for (const auto& game : Games) evaluations += int64_t(game.size());
  }
  state.SetItemsProcessed(evaluations);
}

// Each game replayed with one record per ply, every ply updated from the one before.
void Incremental(benchmark::State& state) {
  std::vector<NnuePlyData> records(201);
  int64_t evaluations = 0;
  for (auto _ : state) {
    for (const auto& game : Games) {
      records[0].computed = 0;
      for (size_t p = 0; p < game.size(); ++p) {
        NnuePlyData& current = records[p + 1];
        current.computed = 0;
        current.PieceChanges = game[p].changes;
        NnueRequest request{game[p].side,
                            game[p].lists.pieces,
                            game[p].lists.squares,
                            {&current, p > 0 ? &records[p] : nullptr, p > 1 ? &records[p - 1] : nullptr}};
        benchmark::DoNotOptimize(evaluate_request(request));
      }
      evaluations += int64_t(game.size());
    }
  }
  state.SetItemsProcessed(evaluations);
}

// The layers after the accumulator alone, on the accumulators of every 32nd game
// position: about 250 records, which stay in the cache as the accumulator the
// search has just updated does.
void ForwardPass(benchmark::State& state, int (*pass)(const NnuePlyData&, int)) {
  std::vector<NnuePlyData> accumulators;
  std::vector<int> sides;
  int seen = 0;
  for (const auto& game : Games)
    for (const GamePly& ply : game) {
      if (seen++ % 32) continue;
      accumulators.emplace_back();
      accumulators.back().computed = 0;
      refresh_accumulator({ply.side, ply.lists.pieces, ply.lists.squares, {&accumulators.back()}});
      sides.push_back(ply.side);
    }
  for (auto _ : state)
    for (size_t i = 0; i < accumulators.size(); ++i) benchmark::DoNotOptimize(pass(accumulators[i], sides[i]));
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(accumulators.size()));
}

// The row arithmetic of one move's update: one row taken away and one added, on
// rows of the features of game positions.
void MoveUpdate(benchmark::State& state,
                void (*rows)(int16_t*, const int16_t*, const FeatureList&, const FeatureList&)) {
  std::vector<std::pair<FeatureList, FeatureList>> updates;
  for (const auto& game : Games)
    for (const GamePly& ply : game) {
      FeatureList removed, added;
      int kingSq = ply.lists.squares[0];
      for (int i = 0; i < ply.changes.count; ++i) {
        int piece = ply.changes.piece[i];
        if (piece == NnueWhiteKing || piece == NnueBlackKing) continue;
        if (ply.changes.from[i] != NnueOffBoard) removed.add(feature_index(0, kingSq, piece, ply.changes.from[i]));
        if (ply.changes.to[i] != NnueOffBoard) added.add(feature_index(0, kingSq, piece, ply.changes.to[i]));
      }
      updates.emplace_back(removed, added);
    }
  alignas(64) int16_t accumulator[2][NnueHalfWidth] = {};
  for (auto _ : state)
    for (size_t i = 0; i < updates.size(); ++i) {
      rows(accumulator[i & 1], accumulator[(i + 1) & 1], updates[i].first, updates[i].second);
      benchmark::DoNotOptimize(accumulator);
    }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(updates.size()));
}

void register_paths() {
  NetworkPaths paths = network_paths();
  for (int i = 0; i < paths.count; ++i) {
    const NetworkPath& path = paths.path[i];
    if (!path.runs) continue;
    benchmark::RegisterBenchmark((std::string("ForwardPass/") + path.name).c_str(), ForwardPass, path.forward_pass);
    benchmark::RegisterBenchmark((std::string("MoveUpdate/") + path.name).c_str(), MoveUpdate, path.add_feature_rows);
  }
}

}  // namespace

BENCHMARK(FullRefresh);
BENCHMARK(Incremental);

int main(int argc, char** argv) {
  const char* net = VELTRIX_NET_FILE;
  if (argc > 1 && argv[1][0] != '-') net = argv[1], argv[1] = argv[0], --argc, ++argv;
  init_tables();
  if (!load_network(net)) {
    fprintf(stderr, "cannot load the network %s\n", net);
    return 1;
  }
  record_games(64, 120);
  register_paths();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
