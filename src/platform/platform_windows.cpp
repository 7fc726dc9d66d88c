// The operating-system layer on Windows, but for standard input (input_windows.cpp).
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "platform/platform.h"

int processor_count() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors ? int(info.dwNumberOfProcessors) : 1;
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

void* library_function(const void* known, const char* name) {
  HMODULE library = nullptr;
  // The module that holds `known` is loaded already; its count is left as it is.
  const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  if (!GetModuleHandleExA(flags, static_cast<LPCSTR>(known), &library)) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(library, name));
}
