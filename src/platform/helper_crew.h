// The helper threads of a parallel search, whatever the search: each sleeps on its
// own event between searches and, while a search runs, spins until a share of the
// work is handed to it. What a share is belongs to the search; the crew only runs
// the search's `work` for it.
#pragma once

#include <atomic>
#include <thread>

#include "platform/platform.h"

// Slots of a crew; slot 0 stands for the thread that runs the search itself.
constexpr int MaxCrewThreads = 64;

struct alignas(64) CrewMember {
  // Blocked on its event, between searches.
  std::atomic<bool> waiting{false};
  // Free to be handed work.
  std::atomic<bool> idle{false};
  // Work was handed to it and waits to be taken up.
  std::atomic<bool> hasWork{false};
  AutoResetEvent event;
  std::thread handle;
};

struct HelperCrew {
  std::atomic<bool> sleepFlag{true};  // the members go back to their events
  std::atomic<bool> exitFlag{false};  // the members leave their loops
  CrewMember members[MaxCrewThreads];
};

// What a member does when it finds work handed to it.
using CrewWork = void (*)(int slot);

// Starts members 1 .. threadCount - 1 and waits until each sleeps on its event. A
// member whose thread cannot be created stays out: it is never idle, so never
// handed work.
void start_crew(HelperCrew& crew, int threadCount, CrewWork work);
// The members spin, ready for work, until park_crew.
void wake_crew(HelperCrew& crew);
void park_crew(HelperCrew& crew);
// Wakes the members so that they see exitFlag, which the caller has set, and waits
// for every thread to end. Work already handed out is finished first.
void end_crew(HelperCrew& crew);
bool crew_member_running(const HelperCrew& crew, int slot);
