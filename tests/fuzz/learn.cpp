// The learning file on any contents: reading finds the first record of a key in file
// order, and an append after any contents (a ragged tail included) adds exactly the
// record asked for, on the record grid, which is then read back unless an earlier
// record of the key wins. The first byte picks the key looked for, the next eight
// give the key appended; the rest is the file.
#include <algorithm>
#include <vector>

#include "book/book_entry.h"
#include "book/learn.h"
#include "fuzz_support.h"

using namespace classic;

namespace {

ScratchFile* Learn;

// The first whole record of the key, as the file lies on disk.
BookHit first_hit(const std::vector<uint8_t>& file, Key key) {
  for (size_t at = 0; at + BookEntrySize <= file.size(); at += BookEntrySize) {
    BookEntry e = decode_entry(file.data() + at);
    if (e.key == key) return {e.move, e.score};
  }
  return {};
}

std::vector<uint8_t> contents() {
  std::vector<uint8_t> bytes;
  if (FILE* f = fopen(Learn->path.c_str(), "rb")) {
    for (int c; (c = fgetc(f)) != EOF;) bytes.push_back(uint8_t(c));
    fclose(f);
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  silence_stdout();
  Learn = new ScratchFile("learn.bin");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in{data, size};
  const uint8_t pick = in.byte();
  BoardConfig = BoardSettings{};
  BoardConfig.debugInfo = pick & 128;
  const Key appended = Key(in.u32()) | Key(in.u32()) << 32;
  const std::vector<uint8_t> file(in.data, in.data + in.size);
  Learn->write(file.data(), file.size());

  // A key the file holds, or, past its records, one it may not hold.
  const size_t record = pick & 127;
  const Key wanted = (record + 1) * BookEntrySize <= file.size()
                         ? decode_entry(file.data() + record * BookEntrySize).key
                         : appended ^ 1;
  BookHit hit = read_learn(wanted, Learn->path.c_str());
  BookHit expected = first_hit(file, wanted);
  FUZZ_CHECK(hit.move == expected.move && hit.score == expected.score, "read_learn did not find the first record");

  const Move move = 0x1234u | Move(pick) << 12;
  FUZZ_CHECK(append_learn(appended, move, -7, Learn->path.c_str()), "an append below capacity failed");
  const std::vector<uint8_t> after = contents();
  FUZZ_CHECK(after.size() % BookEntrySize == 0, "an append left the file off its record grid");
  FUZZ_CHECK(after.size() >= file.size() + BookEntrySize && after.size() < file.size() + 2 * BookEntrySize,
             "an append wrote more or less than one record");
  FUZZ_CHECK(std::equal(file.begin(), file.end(), after.begin()), "an append changed earlier bytes");
  const BookEntry last = decode_entry(after.data() + after.size() - BookEntrySize);
  FUZZ_CHECK(last.key == appended && last.move == move && last.count == 1 && last.score == -7,
             "the appended record is not the one asked for");
  hit = read_learn(appended, Learn->path.c_str());
  expected = first_hit(after, appended);
  FUZZ_CHECK(hit.move == expected.move && hit.score == expected.score, "the appended record is not read back");
  return 0;
}
