#include "book/line_reader.h"

#include <cerrno>
#include <cstring>

bool read_text_line(FILE* file, char* buffer, int size) {
  if (!fgets(buffer, size, file)) {
    if (ferror(file)) printf("error read_line(): fgets(): %s\n", strerror(errno));
    return false;
  }
  size_t length = strcspn(buffer, "\n");
  buffer[length] = '\0';
  // Files written on Windows end their lines in "\r\n".
  if (length > 0 && buffer[length - 1] == '\r') buffer[length - 1] = '\0';
  return true;
}
