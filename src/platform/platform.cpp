#include "platform/platform.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

uint64_t now_ms() {
  using namespace std::chrono;
  return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int processor_count() {
  unsigned n = std::thread::hardware_concurrency();
  return n ? int(n) : 1;
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

  // Reads more bytes; returns false on a read error.
  bool fill() {
    if (start > 0) {
      memmove(buffer, buffer + start, end - start);
      end -= start;
      start = 0;
    }
    while (true) {
      ssize_t n = read(0, buffer + end, sizeof buffer - end);
      if (n > 0) {
        end += size_t(n);
        return true;
      }
      if (n == 0) {
        ended = true;
        return true;
      }
      if (errno == EINTR) continue;
      printf("error read_line(): fgets(): %s\n", strerror(errno));
      ended = true;
      return false;
    }
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
    if (!In.fill()) return true;
  }
  // A line end written as "\r\n" (as from a Windows program) reads as "\n".
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool input_waiting() {
  while (!In.has_line() && !In.ended) {
    pollfd p{0, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0) return false;
    if (In.end - In.start == sizeof In.buffer) return true;  // an overlong line: let the reader pass it over
    if (!In.fill()) return true;
  }
  return In.has_line();
}

bool wait_for_key() {
  while (In.start == In.end) {
    if (In.ended || !In.fill()) return false;
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

// ---------------------------------------------------------------------------

bool map_file(const char* path, MappedFile& file) {
  file = MappedFile{};
  int fd = open(path, O_RDONLY);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return false;
  }
  size_t size = size_t(st.st_size);
  if (size == 0) {
    close(fd);
    static const unsigned char nothing = 0;
    file.data = &nothing;  // an empty file maps to an empty view
    return true;
  }
  void* view = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);  // the mapping keeps the contents reachable
  if (view == MAP_FAILED) return false;
  madvise(view, size, MADV_RANDOM);
  file.data = static_cast<const unsigned char*>(view);
  file.size = size;
  return true;
}

void unmap_file(MappedFile& file) {
  if (file.data && file.size) munmap(const_cast<unsigned char*>(file.data), file.size);
  file = MappedFile{};
}

void advise_large_pages(void* start, size_t bytes) {
#if defined(MADV_HUGEPAGE)
  constexpr uintptr_t LargePage = uintptr_t(2) << 20;
  uintptr_t first = (reinterpret_cast<uintptr_t>(start) + LargePage - 1) & ~(LargePage - 1);
  uintptr_t end = (reinterpret_cast<uintptr_t>(start) + bytes) & ~(LargePage - 1);
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}

void* allocate_table_memory(size_t bytes) {
  // Tables of several megabytes start on a large-page boundary, so that every page
  // of them can be a large one.
  constexpr size_t LargePage = size_t(2) << 20;
  const size_t alignment = bytes >= LargePage ? LargePage : 64;
  void* memory = std::aligned_alloc(alignment, (bytes + alignment - 1) / alignment * alignment);
  if (memory) advise_large_pages(memory, bytes);
  return memory;
}

void free_table_memory(void* memory) { std::free(memory); }

void* library_function(const void* known, const char* name) {
  Dl_info info;
  if (!dladdr(known, &info) || !info.dli_fname) return nullptr;
  // The library is loaded already; the handle only names it and is kept.
  void* library = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  return library ? dlsym(library, name) : nullptr;
}
