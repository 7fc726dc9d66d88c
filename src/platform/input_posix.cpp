// Standard input on Linux and other POSIX systems.
#include <cerrno>
#include <cstring>

#include <poll.h>
#include <unistd.h>

#include "platform/standard_input.h"

long read_standard_input(char* buffer, size_t size, std::string& failure) {
  while (true) {
    ssize_t n = read(0, buffer, size);
    if (n >= 0) return long(n);
    if (errno == EINTR) continue;
    failure = strerror(errno);
    return -1;
  }
}

// read() hands over whatever has arrived, so any byte waiting means all of the room.
size_t standard_input_ready(size_t size) {
  pollfd p{0, POLLIN, 0};
  return poll(&p, 1, 0) > 0 ? size : 0;
}
