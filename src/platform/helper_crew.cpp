#include "platform/helper_crew.h"

#include <system_error>

namespace {
// Waits for another thread that may first have to be scheduled: on a busy machine
// it needs the processor we would spin on.
template <typename Condition>
void wait_until(Condition done) {
  while (!done()) std::this_thread::yield();
}

// Between searches a member sleeps; during one it spins so that it can start on
// work the moment it is handed some, giving its turn away only when another thread
// needs the processor. Work handed to it is always done, even when it is told to
// leave meanwhile: whoever handed it out waits for it.
void crew_loop(HelperCrew* crew, int slot, CrewWork work) {
  CrewMember& self = crew->members[slot];
  while (!(crew->exitFlag && !self.hasWork)) {
    if (self.hasWork) {
      // Taken up at once: a member waiting inside its work for others (a master
      // at its own split point) may be handed more work meanwhile.
      self.hasWork = false;
      work(slot);
      self.idle = true;
    } else if (crew->sleepFlag) {
      self.idle = false;
      self.waiting = true;
      self.event.wait();
      self.waiting = false;
      self.hasWork = false;
      self.idle = true;
    } else {
      std::this_thread::yield();
    }
  }
}

void reset_member(CrewMember& member) { member.waiting = member.idle = member.hasWork = false; }
}  // namespace

bool crew_member_running(const HelperCrew& crew, int slot) { return crew.members[slot].handle.joinable(); }

void start_crew(HelperCrew& crew, int threadCount, CrewWork work) {
  crew.sleepFlag = true;
  crew.exitFlag = false;
  reset_member(crew.members[0]);
  for (int slot = 1; slot < threadCount && slot < MaxCrewThreads; slot++) {
    CrewMember& member = crew.members[slot];
    reset_member(member);
    member.event.reset();
    try {
      member.handle = std::thread(crew_loop, &crew, slot, work);
    } catch (const std::system_error&) {
      continue;
    }
    wait_until([&] { return member.waiting.load(); });
  }
}

void wake_crew(HelperCrew& crew) {
  CrewMember& main = crew.members[0];
  main.idle = main.hasWork = false;
  crew.sleepFlag = false;
  for (int slot = 1; slot < MaxCrewThreads; slot++) {
    if (!crew_member_running(crew, slot)) continue;
    CrewMember& member = crew.members[slot];
    member.event.set();
    wait_until([&] { return !member.waiting; });
  }
}

void park_crew(HelperCrew& crew) {
  crew.sleepFlag = true;
  for (int slot = 1; slot < MaxCrewThreads; slot++) {
    if (!crew_member_running(crew, slot)) continue;
    CrewMember& member = crew.members[slot];
    member.event.reset();
    wait_until([&] { return member.waiting.load(); });
  }
}

void end_crew(HelperCrew& crew) {
  if (crew.sleepFlag) wake_crew(crew);
  for (int slot = 1; slot < MaxCrewThreads; slot++)
    if (crew_member_running(crew, slot)) crew.members[slot].handle.join();
}
