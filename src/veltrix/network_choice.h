// Which network veltrix evaluates with: a network file when one loads, otherwise
// the network built into the program.
#pragma once

namespace veltrix {
// Start-up: the file named by NNUE_File (by default looked up in the working
// directory) with the loader's lines; when it does not load, the built-in network,
// announced on one line. A default file that is simply not there is the built-in
// network itself, announced on that line alone.
void load_start_network();
// NNUE_Eval "true": loads the file named by NNUE_File, or the built-in network
// when that file is the missing default. A file that does not load leaves the
// network in use as it was.
void load_requested_network();
// The name of the network in the weight tables, "" while none is loaded.
const char* network_name();
}  // namespace veltrix
