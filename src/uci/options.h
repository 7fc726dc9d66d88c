// The settings of veltrix-classic that its options and console commands change.
// They are set only between searches; every subsystem reads them.
#pragma once

#include <string>

struct ClassicOptions {
  bool uciMode = false;  // set when the identification is printed
  bool ponder = true;
  int multiPV = 1;
  bool usePlayLevel = false;
  int playLevel = 20;
  int threads = 1;
  bool ownBook = true;
  std::string bookFileName = "veltrix_book.bin";
  int bookStyle = 2;  // 1 Best, 2 Variety, 3 Random
  int bookMovesScore = 60;
  bool listBookMoves = false;
  bool bookLearn = true;
  bool showCurrLine = false;  // UCI_ShowCurrLine
  bool useNalimov = true;
  std::string nalimovPath = "E:\\schach\\EGTB";
  int nalimovCache = 8;
  bool tablebaseInitPending = true;
  // The game was set up from the start position ("startpos", "new", "ucinewgame"),
  // not from a FEN: only then may the opening book be used.
  bool inBook = true;
};

extern ClassicOptions Options;
