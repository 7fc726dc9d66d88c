// What the line reader of platform.cpp needs from the operating system: raw reads
// of standard input and a test that does not block. input_posix.cpp and
// input_windows.cpp provide them; nothing outside this folder uses them.
#pragma once

#include <cstddef>
#include <string>

// Reads up to `size` bytes, waiting for at least one. Answers the count read, 0 at
// the end of input, or -1 on a read error with its description in `failure`.
long read_standard_input(char* buffer, size_t size, std::string& failure);

// How many of `size` bytes read_standard_input can take now without waiting: 0
// when nothing has arrived.
size_t standard_input_ready(size_t size);
