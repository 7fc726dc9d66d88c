#include "engine/root_lines.h"

namespace {
bool ranks_above(const RootLine& a, const RootLine& b) {
  if (a.tier != b.tier) return a.tier > b.tier;
  if (a.shownScore != b.shownScore) return a.shownScore > b.shownScore;
  return a.score > b.score;
}
}  // namespace

bool rank_line(RootLines& lines, int limit, const RootLine& line) {
  int place = lines.count;
  while (place > 0 && ranks_above(line, lines.line[place - 1])) place--;
  if (place >= limit) return false;
  const int last = lines.count < limit ? lines.count : limit - 1;
  for (int i = last; i > place; i--) lines.line[i] = lines.line[i - 1];
  lines.line[place] = line;
  if (lines.count < limit) lines.count++;
  return true;
}

void copy_moves(Move* to, const Move* from, int room) {
  int i = 0;
  for (; i < room - 1 && from[i]; i++) to[i] = from[i];
  to[i] = 0;
}
