#include "veltrix/network_choice.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "nnue/nnue.h"
#include "veltrix/engine_options.h"

// The default network file's bytes, assembled into the program at build time.
extern "C" {
extern const unsigned char veltrix_builtin_network[];
extern const uint64_t veltrix_builtin_network_size;
extern const char veltrix_builtin_network_name[];
}

namespace veltrix {
namespace {
char NetworkName[NnueFileCapacity] = "";

void remember_name(const char* name) { snprintf(NetworkName, sizeof NetworkName, "%s", name); }

bool load_builtin_network() {
  // The build has checked these bytes, so only a damaged program fails here; it
  // then plays with the fallback evaluation like a program without a network.
  if (!load_network_image(veltrix_builtin_network, size_t(veltrix_builtin_network_size))) return false;
  NnueLoaded = 1;
  remember_name(veltrix_builtin_network_name);
  printf("Using the built-in network %s\n", veltrix_builtin_network_name);
  return true;
}

// Asking for the network the program carries is no error when no file of that
// name is at hand: the program has it already. Any other file, or a file of that
// name that is there, goes through the loader and its messages.
bool builtin_stands_for(const char* name) {
  std::error_code error;
  return strcmp(name, veltrix_builtin_network_name) == 0 && !std::filesystem::exists(name, error);
}

bool load_named_network() {
  if (builtin_stands_for(Engine.nnueFile)) return load_builtin_network();
  if (!init_network(Engine.nnueFile)) return false;
  remember_name(Engine.nnueFile);
  return true;
}
}  // namespace

void load_start_network() {
  NnueLoaded = 0;
  if (!load_named_network()) load_builtin_network();
}

void load_requested_network() { load_named_network(); }

const char* network_name() { return NetworkName; }
}  // namespace veltrix
