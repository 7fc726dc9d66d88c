// Standard input on Windows, read through its handle, bypassing the C library's
// text mode, since the line reader drops a trailing "\r" itself.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/standard_input.h"

namespace {
// A chess interface connects a pipe; a person types at a console; a file may be
// redirected in. Some pipes cannot be peeked into (wine's stand-ins for the pipes
// of its host system, for one): a thread waits on those and relays what arrives.
enum class InputKind { Pipe, RelayedPipe, Console, Other };

struct StandardInput {
  HANDLE handle;
  InputKind kind;
};

bool pipe_can_be_peeked(HANDLE pipe) {
  DWORD available;
  return PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || GetLastError() == ERROR_BROKEN_PIPE;
}

void start_relay(HANDLE pipe);

const StandardInput& standard_input() {
  static const StandardInput input = [] {
    StandardInput in{GetStdHandle(STD_INPUT_HANDLE), InputKind::Other};
    DWORD mode;
    if (GetFileType(in.handle) == FILE_TYPE_PIPE) {
      in.kind = pipe_can_be_peeked(in.handle) ? InputKind::Pipe : InputKind::RelayedPipe;
      if (in.kind == InputKind::RelayedPipe) start_relay(in.handle);
    } else if (GetConsoleMode(in.handle, &mode)) {
      in.kind = InputKind::Console;
      // Mouse moves and window resizes would pile up among the key strokes.
      SetConsoleMode(in.handle, mode & ~(ENABLE_MOUSE_INPUT | ENABLE_WINDOW_INPUT));
    }
    return in;
  }();
  return input;
}

std::string describe_error(DWORD error) {
  char text[256];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                           sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ')) n--;
  return n ? std::string(text, n) : "error " + std::to_string(error);
}

// Reads what the handle has, waiting for at least one byte: the count, 0 at the
// end, -1 on an error.
long read_handle(HANDLE handle, char* buffer, size_t size, std::string& failure) {
  // A console refuses reads into buffers beyond some tens of kilobytes.
  constexpr size_t Most = size_t(1) << 14;
  DWORD n = 0;
  if (ReadFile(handle, buffer, DWORD(std::min(size, Most)), &n, nullptr)) return long(n);
  DWORD error = GetLastError();
  if (error == ERROR_BROKEN_PIPE) return 0;  // the interface closed its end of the pipe
  failure = describe_error(error);
  return -1;
}

// The bytes the relay thread has read and the reader not yet taken.
struct Relay {
  std::mutex mutex;
  std::condition_variable arrived;
  std::vector<char> bytes;
  long last = 1;  // the thread's last read: 0 at the end, -1 on an error
  std::string failure;
};
// Never destroyed: the thread may still use it while the program ends.
Relay& Relayed = *new Relay;

void start_relay(HANDLE pipe) {
  // The thread lives as long as the program, which ends it waiting in its read.
  std::thread([pipe] {
    char chunk[4096];
    long n;
    do {
      std::string failure;
      n = read_handle(pipe, chunk, sizeof chunk, failure);
      std::lock_guard<std::mutex> lock(Relayed.mutex);
      if (n > 0) Relayed.bytes.insert(Relayed.bytes.end(), chunk, chunk + n);
      Relayed.last = n;
      Relayed.failure = failure;
      Relayed.arrived.notify_one();
    } while (n > 0);
  }).detach();
}

long take_relayed(char* buffer, size_t size, std::string& failure) {
  std::unique_lock<std::mutex> lock(Relayed.mutex);
  Relayed.arrived.wait(lock, [] { return !Relayed.bytes.empty() || Relayed.last <= 0; });
  if (Relayed.bytes.empty()) {
    failure = Relayed.failure;
    return Relayed.last;
  }
  size_t n = std::min(size, Relayed.bytes.size());
  std::copy_n(Relayed.bytes.begin(), n, buffer);
  Relayed.bytes.erase(Relayed.bytes.begin(), Relayed.bytes.begin() + long(n));
  return long(n);
}

size_t relayed_ready(size_t size) {
  std::lock_guard<std::mutex> lock(Relayed.mutex);
  if (Relayed.bytes.empty()) return Relayed.last <= 0 ? size : 0;  // the end, to be reported by the read
  return std::min(size, Relayed.bytes.size());
}

// A console hands typed text over a line at a time, once Enter is pressed, so a
// read waits unless an Enter is among the pending key strokes. A query that fails
// counts as input, which the read that follows then reports.
bool console_line_typed(HANDLE console) {
  static std::vector<INPUT_RECORD> events;
  DWORD count = 0;
  if (!GetNumberOfConsoleInputEvents(console, &count)) return true;
  if (count == 0) return false;
  if (events.size() < count) events.resize(count);
  DWORD seen = 0;
  if (!PeekConsoleInputA(console, events.data(), count, &seen)) return true;
  return std::any_of(events.begin(), events.begin() + seen, [](const INPUT_RECORD& e) {
    return e.EventType == KEY_EVENT && e.Event.KeyEvent.bKeyDown && e.Event.KeyEvent.uChar.AsciiChar == '\r';
  });
}
}  // namespace

long read_standard_input(char* buffer, size_t size, std::string& failure) {
  const StandardInput& in = standard_input();
  if (in.kind == InputKind::RelayedPipe) return take_relayed(buffer, size, failure);
  return read_handle(in.handle, buffer, size, failure);
}

size_t standard_input_ready(size_t size) {
  const StandardInput& in = standard_input();
  switch (in.kind) {
    case InputKind::Pipe: {
      // A failed query (a closed or broken pipe) counts as input: the read that
      // follows reports the end.
      DWORD available = 0;
      if (!PeekNamedPipe(in.handle, nullptr, 0, nullptr, &available, nullptr)) return size;
      return std::min<size_t>(available, size);
    }
    case InputKind::RelayedPipe: return relayed_ready(size);
    case InputKind::Console: return console_line_typed(in.handle) ? size : 0;
    case InputKind::Other: break;
  }
  return size;  // a file never keeps a reader waiting
}
