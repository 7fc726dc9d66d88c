// The reader of a build without a tablebase library: it finds no tables.
#include "egtb/reader.h"

int register_tables(const std::vector<std::string>&) { return 0; }
bool set_table_cache(size_t) { return false; }
int select_table(const int[10]) { return 0; }
bool table_available(int, int) { return false; }
int read_table(int, int, const TableMen&, const TableMen&, int, bool) { return NoValue; }
