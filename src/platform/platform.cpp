#include "platform/platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/standard_input.h"

uint64_t now_ms() {
  using namespace std::chrono;
  return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// ---------------------------------------------------------------------------
// Standard input. The command loops and the search's polling read through this one
// buffer, so a line that has already been read from the pipe is never missed by
// the "input waiting" test.

namespace {
struct StdinReader {
  char buffer[1 << 16];
  size_t start = 0, end = 0;
  bool ended = false;

  const char* find_newline() const { return static_cast<const char*>(memchr(buffer + start, '\n', end - start)); }

  // Room for more bytes at the end of the buffer.
  size_t room() {
    if (start > 0) {
      memmove(buffer, buffer + start, end - start);
      end -= start;
      start = 0;
    }
    return sizeof buffer - end;
  }

  // Reads at most `most` more bytes; returns false on a read error.
  bool fill(size_t most) {
    std::string failure;
    // room() moves the unread bytes to the front, so the end is taken after it:
    // the order in which a call's arguments are worked out is the compiler's.
    size_t free = room();
    long n = read_standard_input(buffer + end, std::min(most, free), failure);
    if (n > 0) {
      end += size_t(n);
      return true;
    }
    ended = true;
    if (n == 0) return true;
    printf("error read_line(): fgets(): %s\n", failure.c_str());
    return false;
  }

  bool has_line() const { return find_newline() || (ended && end > start); }
};

StdinReader In;
}  // namespace

bool read_line(std::string& line, size_t maxLength) {
  line.clear();
  bool any = false;
  // A line may be longer than the buffer: it is gathered piece by piece, and what
  // lies beyond maxLength is passed over.
  auto take = [&](size_t count) {
    if (line.size() < maxLength) line.append(In.buffer + In.start, std::min(count, maxLength - line.size()));
    In.start += count;
    any = true;
  };
  while (true) {
    if (const char* nl = In.find_newline()) {
      take(size_t(nl - (In.buffer + In.start)));
      In.start++;
      break;
    }
    if (In.ended) {
      if (In.end == In.start && !any) return false;
      take(In.end - In.start);
      break;
    }
    if (In.end - In.start == sizeof In.buffer) take(In.end - In.start);
    if (!In.fill(sizeof In.buffer)) return true;
  }
  // A line end written as "\r\n" (as from a Windows program) reads as "\n".
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool input_waiting() {
  while (!In.has_line() && !In.ended) {
    if (In.end - In.start == sizeof In.buffer) return true;  // an overlong line: let the reader pass it over
    size_t ready = standard_input_ready(In.room());
    if (ready == 0) return false;
    if (!In.fill(ready)) return true;
  }
  return In.has_line();
}

bool wait_for_key() {
  while (In.start == In.end) {
    if (In.ended || !In.fill(sizeof In.buffer)) return false;
  }
  In.start++;
  return true;
}

bool input_closed() { return In.ended && In.start == In.end; }

// ---------------------------------------------------------------------------

void AutoResetEvent::set() {
  std::lock_guard<std::mutex> lock(mutex);
  signalled = true;
  signal.notify_one();
}

void AutoResetEvent::reset() {
  std::lock_guard<std::mutex> lock(mutex);
  signalled = false;
}

void AutoResetEvent::wait() {
  std::unique_lock<std::mutex> lock(mutex);
  signal.wait(lock, [this] { return signalled; });
  signalled = false;
}
