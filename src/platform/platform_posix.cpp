// The operating-system layer on Linux and other POSIX systems, but for standard
// input (input_posix.cpp).
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.h"

int processor_count() {
  unsigned n = std::thread::hardware_concurrency();
  return n ? int(n) : 1;
}

bool map_file(const char* path, MappedFile& file) {
  file = MappedFile{};
  int fd = open(path, O_RDONLY);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return false;
  }
  size_t size = size_t(st.st_size);
  if (size == 0) {
    close(fd);
    static const unsigned char nothing = 0;
    file.data = &nothing;  // an empty file maps to an empty view
    return true;
  }
  void* view = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);  // the mapping keeps the contents reachable
  if (view == MAP_FAILED) return false;
  madvise(view, size, MADV_RANDOM);
  file.data = static_cast<const unsigned char*>(view);
  file.size = size;
  return true;
}

void unmap_file(MappedFile& file) {
  if (file.data && file.size) munmap(const_cast<unsigned char*>(file.data), file.size);
  file = MappedFile{};
}

namespace {
// The size of a large page: 2 MB on x86-64 and on ARM64 with 4 KB pages, but 32 MB
// with 16 KB pages and 512 MB with 64 KB pages, as some ARM64 systems run.
size_t large_page_bytes() {
  static const size_t bytes = [] {
    size_t found = 0;
    if (FILE* f = std::fopen("/sys/kernel/mm/transparent_hugepage/hpage_pmd_size", "r")) {
      if (std::fscanf(f, "%zu", &found) != 1) found = 0;
      std::fclose(f);
    }
    return found && (found & (found - 1)) == 0 ? found : size_t(2) << 20;
  }();
  return bytes;
}
}  // namespace

void advise_large_pages(void* start, size_t bytes) {
#if defined(MADV_HUGEPAGE)
  const uintptr_t largePage = large_page_bytes();
  uintptr_t first = (reinterpret_cast<uintptr_t>(start) + largePage - 1) & ~(largePage - 1);
  uintptr_t end = (reinterpret_cast<uintptr_t>(start) + bytes) & ~(largePage - 1);
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}

void* allocate_table_memory(size_t bytes) {
  // Tables of a large page or more start on a large-page boundary, so that every
  // page of them can be a large one.
  const size_t largePage = large_page_bytes();
  const size_t alignment = bytes >= largePage ? largePage : 64;
  void* memory = std::aligned_alloc(alignment, (bytes + alignment - 1) / alignment * alignment);
  if (memory) advise_large_pages(memory, bytes);
  return memory;
}

void free_table_memory(void* memory) { std::free(memory); }

void* library_function(const void* known, const char* name) {
  Dl_info info;
  if (!dladdr(known, &info) || !info.dli_fname) return nullptr;
  // The library is loaded already; the handle only names it and is kept.
  void* library = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  return library ? dlsym(library, name) : nullptr;
}
