// How many positions per second the network evaluates: rebuilt from scratch each
// time (what the search does) and carried from ply to ply (the incremental path),
// over the positions of random games. Run: bench_nnue [network file].
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
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

// The layers after the accumulator alone, on accumulators of game positions.
template <int (*Pass)(const NnuePlyData&, int)>
void ForwardPass(benchmark::State& state) {
  std::vector<NnuePlyData> accumulators;
  std::vector<int> sides;
  for (const auto& game : Games)
    for (const GamePly& ply : game) {
      accumulators.emplace_back();
      accumulators.back().computed = 0;
      refresh_accumulator({ply.side, ply.lists.pieces, ply.lists.squares, {&accumulators.back()}});
      sides.push_back(ply.side);
    }
  for (auto _ : state)
    for (size_t i = 0; i < accumulators.size(); ++i) benchmark::DoNotOptimize(Pass(accumulators[i], sides[i]));
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(accumulators.size()));
}

}  // namespace

BENCHMARK(FullRefresh);
BENCHMARK(Incremental);
BENCHMARK(ForwardPass<forward_pass_scalar>)->Name("ForwardPass/scalar");
#if defined(__SSE4_1__)
BENCHMARK(ForwardPass<forward_pass_sse41>)->Name("ForwardPass/sse41");
#endif
#if defined(__AVX2__)
BENCHMARK(ForwardPass<forward_pass_avx2>)->Name("ForwardPass/avx2");
#endif

int main(int argc, char** argv) {
  const char* net = VELTRIX_NET_FILE;
  if (argc > 1 && argv[1][0] != '-') net = argv[1], argv[1] = argv[0], --argc, ++argv;
  init_tables();
  if (!load_network(net)) {
    fprintf(stderr, "cannot load the network %s\n", net);
    return 1;
  }
  record_games(64, 120);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
