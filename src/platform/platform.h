// The small operating-system layer: clock, processor count, line input with a
// non-blocking "input waiting" test, auto-reset events, read-only file mapping and
// the look-up of a function in one shared library.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

// Milliseconds of a monotonic clock; only differences are meaningful.
uint64_t now_ms();

// Logical processors of the machine, at least 1.
int processor_count();

// Reads the next line of standard input into `line`, without its line end. A line
// longer than `maxLength` is cut there and the rest of it is passed over. On a read
// error prints "error read_line(): fgets(): <reason>" and answers an empty line.
// Returns false at the end of input.
bool read_line(std::string& line, size_t maxLength);

// True when a whole line can be read without blocking: one already sitting in the
// reader's buffer, or bytes in the pipe that complete one.
bool input_waiting();

// Waits for one character of standard input, as after "press a key" at a console,
// and takes it away. Returns false at the end of input.
bool wait_for_key();

// True once standard input has ended and every buffered line has been read.
bool input_closed();

// An event that releases one waiter and then resets itself.
struct AutoResetEvent {
  std::mutex mutex;
  std::condition_variable signal;
  bool signalled = false;

  void set();
  void reset();
  void wait();
};

// A read-only view of a whole file.
struct MappedFile {
  const unsigned char* data = nullptr;
  size_t size = 0;
};
bool map_file(const char* path, MappedFile& file);
void unmap_file(MappedFile& file);

// Asks the system to back the whole large-page stretches (2 MB on x86-64) of
// [start, start + bytes) with large pages, so that reading a big table at random
// costs fewer address translations. Only a hint: where the system has no large
// pages nothing changes.
void advise_large_pages(void* start, size_t bytes);

// Memory for a big table read at random: aligned to 64 bytes, on large pages where
// the system has them. Null when the memory is not there; freed by free_table_memory.
void* allocate_table_memory(size_t bytes);
void free_table_memory(void* memory);

// The function `name` as exported by the shared library that holds `known`, null
// when it exports none. Two libraries of one program may export the same name, and
// a plain call then reaches whichever the program loaded first.
void* library_function(const void* known, const char* name);
