// The UCI protocol loop of veltrix-classic.
#pragma once

#include <string>

namespace classic {
// Prints the identification and option list, then serves UCI commands for the
// rest of the run; never returns.
[[noreturn]] void uci_loop();

// One command line of the UCI protocol. False when the line ends the session:
// "quit", or a move in "position" that is not legal in the game.
bool uci_command(const std::string& line);
}  // namespace classic
