// Space-separated tokens of one command line, read one at a time.
#pragma once

#include <string>

struct Tokens {
  explicit Tokens(const std::string& line) : text(line) {}

  // The next token; false at the end of the line.
  bool next(std::string& token) {
    while (pos < text.size() && text[pos] == ' ') pos++;
    if (pos >= text.size()) return false;
    size_t end = text.find(' ', pos);
    if (end == std::string::npos) end = text.size();
    token.assign(text, pos, end - pos);
    pos = end;
    return true;
  }

  // Everything after the current token, leading blanks skipped.
  const char* rest() {
    while (pos < text.size() && text[pos] == ' ') pos++;
    return text.c_str() + pos;
  }

  const std::string& text;
  size_t pos = 0;
};
