#include "platform/line_reader.h"

#include <cerrno>
#include <cstring>

namespace {
bool report_read_error() {
  printf("error read_line(): fgets(): %s\n", strerror(errno));
  return false;
}
}  // namespace

bool read_text_line(FILE* file, char* buffer, int size, LongLine longLine) {
  if (!fgets(buffer, size, file)) {
    if (ferror(file)) report_read_error();
    return false;
  }
  size_t length = strcspn(buffer, "\n");
  bool complete = buffer[length] == '\n' || feof(file);
  buffer[length] = '\0';
  if (!complete && longLine == LongLine::Cut) {
    int c;
    while ((c = getc(file)) != EOF && c != '\n') {
    }
    if (ferror(file)) return report_read_error();
  }
  // Files written on Windows end their lines in "\r\n".
  if (length > 0 && buffer[length - 1] == '\r') buffer[length - 1] = '\0';
  return true;
}
