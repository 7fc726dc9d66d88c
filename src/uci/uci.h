// The UCI protocol loop of veltrix-classic.
#pragma once

// Prints the identification and option list, then serves UCI commands for the
// rest of the run; never returns.
[[noreturn]] void uci_loop();
