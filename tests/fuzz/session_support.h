// The UCI session harnesses: the programs' output caught in memory, and the lines
// of an input made safe to run thousands of times a second. A session may do
// anything an interface can ask for, except search without a depth limit, count
// perft leaves deep, take gigabytes of cache or start helper threads (whose timing
// would make runs unrepeatable).
#pragma once

#include <sys/mman.h>

#include <algorithm>
#include <vector>

#include "fuzz_support.h"
#include "protocol/tokens.h"

// Standard output, kept in an in-memory file so that a harness can read what the
// program answered to each line.
struct CapturedOutput {
  int fd = -1;

  void start() {
    fd = memfd_create("veltrix-fuzz-stdout", 0);
    FUZZ_CHECK(fd >= 0, "no in-memory file for the output");
    dup2(fd, STDOUT_FILENO);
  }
  void clear() {
    fflush(stdout);
    FUZZ_CHECK(ftruncate(fd, 0) == 0, "cannot empty the output");
    lseek(STDOUT_FILENO, 0, SEEK_SET);
  }
  // Everything printed since the last clear.
  std::string text() const {
    fflush(stdout);
    off_t end = lseek(fd, 0, SEEK_END);
    std::string out(size_t(end > 0 ? end : 0), '\0');
    if (!out.empty()) FUZZ_CHECK(pread(fd, out.data(), out.size(), 0) == ssize_t(out.size()), "short output read");
    return out;
  }
};

// A line as the programs' line reader hands it over: cut at its maximum length, and
// without the carriage return of a Windows line end.
inline std::string as_read(std::string line, size_t maxLength) {
  if (line.size() > maxLength) line.resize(maxLength);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

inline std::vector<std::string> split_tokens(const std::string& line) {
  std::vector<std::string> tokens;
  Tokens in(line);
  std::string token;
  while (in.next(token)) tokens.push_back(token);
  return tokens;
}

inline std::string join_tokens(const std::vector<std::string>& tokens) {
  std::string line;
  for (const std::string& t : tokens) line += (line.empty() ? "" : " ") + t;
  return line;
}

// "go" keeps every limit the input gave, for the parser's sake, but ends with a
// depth that keeps the search short; "infinite" and "ponder" would wait for a
// "stop" that only the polled standard input could send. The depth is given twice:
// a last word waiting for its number ("go wtime") takes the first "depth" as it.
inline std::string short_go(const std::vector<std::string>& tokens, int depth) {
  std::vector<std::string> kept;
  for (const std::string& t : tokens)
    if (t != "infinite" && t != "ponder") kept.push_back(t);
  for (int i = 0; i < 2; i++) {
    kept.push_back("depth");
    kept.push_back(std::to_string(depth));
  }
  return join_tokens(kept);
}

// A numeric option value above `cap` becomes `cap`; smaller ones, zero, negative
// numbers and words stay as the input gave them.
inline void cap_option_value(std::vector<std::string>& tokens, size_t nameAt, long cap) {
  if (nameAt + 2 < tokens.size() && atol(tokens[nameAt + 2].c_str()) > cap) tokens[nameAt + 2] = std::to_string(cap);
}

// A session searches (or counts perft leaves) a few times at most: a long input of
// nothing but "go" would otherwise take seconds and look like a hang.
constexpr int MaxSearchesPerSession = 8;

inline bool too_much_work(const std::string& line, int& searches) {
  std::vector<std::string> tokens = split_tokens(line);
  if (tokens.empty() || (tokens[0] != "go" && tokens[0] != "perft")) return false;
  return ++searches > MaxSearchesPerSession;
}

// The first "bestmove" answer of the output and its move text; empty when none.
inline std::string bestmove_text(const std::string& output) {
  size_t at = output.find("bestmove ");
  if (at == std::string::npos) return "";
  std::vector<std::string> tokens = split_tokens(output.substr(at, output.find('\n', at) - at));
  return tokens.size() > 1 ? tokens[1] : "";
}

inline size_t count_of(const std::string& text, const std::string& word) {
  size_t n = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) n++;
  return n;
}

// After a "go": exactly one answer, a legal move of the position searched (or
// "0000" when it had none), and the game moved on by that move, as the program
// makes its answer on the game position.
inline void check_search_answer(const std::string& output, const Position& before, const Position& after,
                                Dialect dialect) {
  FUZZ_CHECK(count_of(output, "bestmove ") == 1, "a search must answer exactly once");
  const std::string text = bestmove_text(output);
  MoveList legal;
  generate_legal(before, legal);
  if (legal.count == 0) {
    FUZZ_CHECK(text == "0000", "no legal move, yet an answer");
    FUZZ_CHECK(same_position(after, before), "no legal move, yet the game changed");
    return;
  }
  Move m = parse_move(before, text.c_str(), dialect);
  FUZZ_CHECK(m != 0, "the answer is no legal move");
  Position expected = before;
  make_move(expected, m, 1);
  FUZZ_CHECK(same_position(after, expected), "the game did not move on by the answer");
}

// One input as a session: each line, made safe by `tame`, goes to the program's
// `command` handler, which answers whether the session goes on. After every line
// the game position must be consistent, every search must answer once with a legal
// move, and "isready" must answer "readyok".
inline void run_session(FuzzInput& in, CapturedOutput& output, Dialect dialect, size_t maxLine,
                        std::string (*tame)(const std::string&), bool (*command)(const std::string&),
                        const Position& game) {
  int searches = 0;
  while (in.size) {
    const std::string line = tame(as_read(in.line(), maxLine));
    if (too_much_work(line, searches)) continue;
    FuzzContext = line;
    const Position before = game;
    output.clear();
    if (!command(line)) break;  // "quit", or an illegal move: the program would end here
    check_position(game);
    const std::vector<std::string> tokens = split_tokens(line);
    if (tokens.empty()) continue;
    if (tokens[0] == "go") check_search_answer(output.text(), before, game, dialect);
    // A set-up still pending (the tablebases) is done first and may report on itself.
    if (tokens[0] == "isready") {
      const std::string text = output.text();
      FUZZ_CHECK(text.ends_with("readyok\n") && text.find("readyok") == text.size() - 8,
                 "isready must end its answer with one readyok");
    }
  }
  output.clear();
}
