#include "veltrix/network_choice.h"

#include <cstdint>
#include <cstdio>

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

void load_builtin_network() {
  // The build has checked these bytes, so only a damaged program fails here; it
  // then plays with the fallback evaluation like a program without a network.
  if (!load_network_image(veltrix_builtin_network, size_t(veltrix_builtin_network_size))) return;
  NnueLoaded = 1;
  remember_name(veltrix_builtin_network_name);
  printf("Using the built-in network %s\n", veltrix_builtin_network_name);
}
}  // namespace

void load_start_network() {
  NnueLoaded = 0;
  if (init_network(Engine.nnueFile))
    remember_name(Engine.nnueFile);
  else
    load_builtin_network();
}

void load_requested_network() {
  if (init_network(Engine.nnueFile)) remember_name(Engine.nnueFile);
}

const char* network_name() { return NetworkName; }
}  // namespace veltrix
