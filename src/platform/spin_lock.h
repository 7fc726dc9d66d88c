// The short locks of the parallel search: a split point is held only for the
// moment it takes to hand out a move or record a result, so waiting threads spin
// instead of going to sleep.
#pragma once

#include <atomic>

// Tells the processor that this is a busy-wait loop, so the other hardware thread
// of the core runs faster while we wait.
inline void spin_pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#elif defined(__aarch64__)
  __asm__ __volatile__("yield");
#endif
}

struct SpinLock {
  std::atomic<int> taken{0};

  void lock() {
    while (taken.exchange(1, std::memory_order_acquire))
      while (taken.load(std::memory_order_relaxed)) spin_pause();
  }
  void unlock() { taken.store(0, std::memory_order_release); }
};
