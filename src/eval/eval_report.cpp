// The evaluation taken apart term by term, for the "eval" command.
#include <cstdio>

#include "eval/eval_terms.h"
#include "eval/evaluate.h"

namespace classic {
namespace {
struct ReportRow {
  const char* name;
  ScorePair value;
};

void print_row(const char* name, ScorePair value) { printf("%-16s %8d %8d\n", name, value.mg, value.eg); }
}  // namespace

void print_eval_report(const Position& pos) {
  const MaterialEntry material = probe_material(pos);
  const PawnCacheEntry pawns = probe_pawns(pos);
  AttackInfo info;
  init_attack_info(pos, info);
  // The pieces complete the attack sets that king safety and hanging pieces read.
  const ScorePair pieces = evaluate_pieces(pos, info, pawns);
  const ReportRow rows[] = {
      {"tempo", tempo_bonus(pos.SideToMove)},
      {"material", material.material},
      {"piece-square", pos.PsqScore[White] - pos.PsqScore[Black]},
      {"patterns", evaluate_patterns(pos)},
      {"pawn structure", pawns.pawnScore},
      {"passed pawns", evaluate_passed_pawns(pos, pawns)},
      {"pieces", pieces},
      {"king safety", {int16_t(evaluate_king_safety(pos, info, pawns)), 0}},
      {"hanging", evaluate_hanging(pos, info)},
  };

  printf("%-16s %8s %8s   (white minus black)\n", "term", "mg", "eg");
  ScorePair total{};
  for (const ReportRow& row : rows) {
    print_row(row.name, row.value);
    total += row.value;
  }
  print_row("total", total);
  printf("phase %d, scale divisor %d%s\n", material.phase, material.scaleDivisor,
         material.scaleDivisor == 16 ? " (dead draw)" : "");
  printf("eval: %d\n", evaluate_uncached(pos));
}
}  // namespace classic
