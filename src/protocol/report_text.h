// Texts both engines' search reports share.
#pragma once

// A score as "cp N " or, beyond the mate bound, "mate N " with N in moves (negative
// when the side to move is mated).
void print_score(int score);
