// The settings of the classic search that its options change; they are set only
// between searches.
#pragma once

namespace classic {

struct SearchSettings {
  int multiPV = 1;
  // Weakened play: the search ends at this depth and answers when the clock says.
  bool usePlayLevel = false;
  int playLevel = 20;
  bool showCurrLine = false;  // report the line being searched now and then
  bool useTablebases = true;  // probe the endgame tables inside the tree
};

extern SearchSettings SearchConfig;

}  // namespace classic
