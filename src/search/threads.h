// The helper search threads: created when the Threads option is set, asleep
// between searches, stopped before the count changes and when the program ends.
#pragma once

// The Threads option: stops the helpers of the old count, empties the four tables,
// and starts the helpers of the new count (count - 1 of them).
void set_thread_count(int count);

// Creates Options.threads - 1 helpers and waits until each sleeps on its event.
void start_threads();
// Ends every helper thread, interrupting a search that is still running; the main
// thread searches alone afterwards.
void stop_threads();

// The helpers join the search between these two calls.
void wake_helpers();
void sleep_helpers();
