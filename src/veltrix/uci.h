// The UCI loop of veltrix: identification, options, "position", "go" and the rest.
#pragma once

// Runs until "quit" or the end of input; never returns.
[[noreturn]] void uci_loop();
