// The UCI loop of veltrix: identification, options, "position", "go" and the rest.
#pragma once

#include <string>

namespace veltrix {
// Runs until "quit" or the end of input; never returns.
[[noreturn]] void uci_loop();

// One command line of the UCI protocol. False when the line ends the session:
// "quit", or a move in "position" that is not legal in the game.
bool uci_command(const std::string& line);
}  // namespace veltrix
