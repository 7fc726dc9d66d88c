#include "protocol/report_text.h"

#include <cstdio>

#include "engine/score.h"

void print_score(int score) {
  if (score > SCORE_MATE_RANGE)
    printf("mate %d ", (SCORE_MATE + 1 - score) / 2);
  else if (score < -SCORE_MATE_RANGE)
    printf("mate %d ", -((score + SCORE_MATE) / 2));
  else
    printf("cp %d ", score);
}
