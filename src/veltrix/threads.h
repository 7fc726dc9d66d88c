// The helper threads of veltrix: created by the Threads option, asleep between
// searches, sharing the main thread's nodes at split points while one runs.
#pragma once

// The Threads option: a value equal to the current count changes nothing;
// otherwise the helpers of the old count are stopped, the count becomes the value
// within 1..min(processors, 16), and count - 1 helpers are started when it is 2 or
// more.
void set_thread_count(int requested);
// Ends the helper threads; between searches only (shutdown, a new count).
void stop_helpers();

// Between these two calls the helpers spin, ready to join split points.
void wake_helpers();
void park_helpers();
