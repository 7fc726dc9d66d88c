// The helper search threads: created when the Threads option is set, stopped
// before the count changes and when the program ends.
#pragma once

// Stops the helpers of the old count, empties the four tables, and starts the
// helpers of the new count (count - 1 of them).
void set_thread_count(int count);
// Ends every helper thread; the main thread searches alone afterwards.
void stop_threads();
