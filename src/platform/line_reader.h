// Reading text files line by line with a fixed buffer, as the PGN reader and the
// self-play position loader do.
#pragma once

#include <cstdio>

// What becomes of the part of a line beyond the buffer.
enum class LongLine {
  InPieces,  // it arrives on the following calls (running text such as PGN)
  Cut,       // it is passed over (one record per line, such as EPD)
};

// Reads the next line into `buffer` (at most size - 1 characters) without its
// line end. Returns false at the end of the file, and on a read error after
// printing it.
bool read_text_line(FILE* file, char* buffer, int size, LongLine longLine = LongLine::InPieces);
