// The self-play start positions on any "book.epd": every line kept reads as a
// position, none is blank or starts with a blank or runs past 255 characters, and
// never more than the limit are kept.
#include "fuzz_support.h"
#include "tools/selfplay.h"

using namespace classic;

namespace {

ScratchFile* Epd;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  init_tables();
  silence_stdout();
  Epd = new ScratchFile("book.epd");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in{data, size};
  choose_board_config(in.byte());
  Epd->write(in.data, in.size);
  const std::vector<std::string> lines = load_selfplay_positions(Epd->path.c_str());
  FUZZ_CHECK(int(lines.size()) <= MaxSelfPlayPositions, "more positions kept than the limit");
  for (const std::string& line : lines) {
    FUZZ_CHECK(!line.empty() && line[0] != ' ' && line.size() <= 255, "a line kept that must be passed over");
    Position pos{};
    FUZZ_CHECK(read_fen(pos, line.c_str()), "a line kept that is no position");
    check_position(pos);
  }
  return 0;
}
