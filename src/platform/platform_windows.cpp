// The operating-system layer on Windows. Standard input is read through its
// handle, bypassing the C library's text mode, since the line reader drops a
// trailing "\r" itself.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "platform/standard_input.h"

int processor_count() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors ? int(info.dwNumberOfProcessors) : 1;
}

namespace {
// A chess interface connects a pipe; a person types at a console; a file may be
// redirected in.
enum class InputKind { Pipe, Console, Other };

struct StandardInput {
  HANDLE handle;
  InputKind kind;
};

const StandardInput& standard_input() {
  static const StandardInput input = [] {
    StandardInput in{GetStdHandle(STD_INPUT_HANDLE), InputKind::Other};
    DWORD mode;
    if (GetFileType(in.handle) == FILE_TYPE_PIPE) {
      in.kind = InputKind::Pipe;
    } else if (GetConsoleMode(in.handle, &mode)) {
      in.kind = InputKind::Console;
      // Mouse moves and window resizes would pile up among the key strokes.
      SetConsoleMode(in.handle, mode & ~(ENABLE_MOUSE_INPUT | ENABLE_WINDOW_INPUT));
    }
    return in;
  }();
  return input;
}

// A console hands typed text over a line at a time, once Enter is pressed, so a
// read waits unless an Enter is among the pending key strokes. A query that fails
// counts as input, which the read that follows then reports.
bool console_line_typed(HANDLE console) {
  static std::vector<INPUT_RECORD> events;
  DWORD count = 0;
  if (!GetNumberOfConsoleInputEvents(console, &count)) return true;
  if (count == 0) return false;
  if (events.size() < count) events.resize(count);
  DWORD seen = 0;
  if (!PeekConsoleInputA(console, events.data(), count, &seen)) return true;
  return std::any_of(events.begin(), events.begin() + seen, [](const INPUT_RECORD& e) {
    return e.EventType == KEY_EVENT && e.Event.KeyEvent.bKeyDown && e.Event.KeyEvent.uChar.AsciiChar == '\r';
  });
}

std::string describe_error(DWORD error) {
  char text[256];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                           sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ')) n--;
  return n ? std::string(text, n) : "error " + std::to_string(error);
}
}  // namespace

long read_standard_input(char* buffer, size_t size, std::string& failure) {
  // A console refuses reads into buffers beyond some tens of kilobytes.
  constexpr size_t Most = size_t(1) << 14;
  DWORD n = 0;
  if (ReadFile(standard_input().handle, buffer, DWORD(std::min(size, Most)), &n, nullptr)) return long(n);
  DWORD error = GetLastError();
  if (error == ERROR_BROKEN_PIPE) return 0;  // the interface closed its end of the pipe
  failure = describe_error(error);
  return -1;
}

size_t standard_input_ready(size_t size) {
  const StandardInput& in = standard_input();
  switch (in.kind) {
    case InputKind::Pipe: {
      // A failed query (a closed or broken pipe) counts as input: the read that
      // follows reports the end.
      DWORD available = 0;
      if (!PeekNamedPipe(in.handle, nullptr, 0, nullptr, &available, nullptr)) return size;
      return std::min<size_t>(available, size);
    }
    case InputKind::Console: return console_line_typed(in.handle) ? size : 0;
    case InputKind::Other: break;
  }
  return size;  // a file never keeps a reader waiting
}

bool map_file(const char* path, MappedFile& file) {
  file = MappedFile{};
  HANDLE handle =
      CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size)) {
    CloseHandle(handle);
    return false;
  }
  if (size.QuadPart == 0) {
    CloseHandle(handle);
    static const unsigned char nothing = 0;
    file.data = &nothing;  // an empty file maps to an empty view (Windows maps none)
    return true;
  }
  HANDLE mapping = CreateFileMappingA(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
  CloseHandle(handle);  // the mapping keeps the file open
  if (!mapping) return false;
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  CloseHandle(mapping);  // and the view keeps the mapping
  if (!view) return false;
  file.data = static_cast<const unsigned char*>(view);
  file.size = size_t(size.QuadPart);
  return true;
}

void unmap_file(MappedFile& file) {
  if (file.data && file.size) UnmapViewOfFile(file.data);
  file = MappedFile{};
}

// Windows backs a mapping with large pages only on request, so the hint has nothing
// to add to what allocate_table_memory asks for.
void advise_large_pages(void*, size_t) {}

namespace {
// Large pages need the right to lock pages in memory, which an administrator grants
// to an account; a process of that account must still switch it on.
bool large_pages_allowed() {
  static const bool allowed = [] {
    if (GetLargePageMinimum() == 0) return false;
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // The call succeeds without the right too, then naming ERROR_NOT_ALL_ASSIGNED.
    bool enabled = LookupPrivilegeValueA(nullptr, "SeLockMemoryPrivilege", &privileges.Privileges[0].Luid) &&
                   AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                   GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return enabled;
  }();
  return allowed;
}
}  // namespace

// Both kinds of pages come from VirtualAlloc, so one call frees either.
void* allocate_table_memory(size_t bytes) {
  const size_t largePage = GetLargePageMinimum();
  if (bytes >= largePage && large_pages_allowed()) {
    size_t rounded = (bytes + largePage - 1) / largePage * largePage;
    void* memory = VirtualAlloc(nullptr, rounded, MEM_RESERVE | MEM_COMMIT | MEM_LARGE_PAGES, PAGE_READWRITE);
    if (memory) return memory;  // else physical memory is too fragmented for large pages just now
  }
  return VirtualAlloc(nullptr, bytes ? bytes : 1, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void free_table_memory(void* memory) {
  if (memory) VirtualFree(memory, 0, MEM_RELEASE);
}
