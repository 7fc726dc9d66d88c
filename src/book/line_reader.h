// Reading text files line by line with a fixed buffer, as the PGN reader does.
#pragma once

#include <cstdio>

// Reads the next line into `buffer` (at most size - 1 characters) without its
// line end; a longer line arrives in pieces on the following calls. Returns false
// at the end of the file, and on a read error after printing it.
bool read_text_line(FILE* file, char* buffer, int size);
