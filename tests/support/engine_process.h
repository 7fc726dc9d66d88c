// Runs a built engine as a child process, talking to it through pipes the way a
// chess interface does, so protocol behaviour can be checked byte for byte.
#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

class EngineProcess {
 public:
  // Starts `program` with `args` in `workDir` (a fresh temporary directory when empty),
  // its address space limited to `addressSpaceBytes` when that is not 0.
  explicit EngineProcess(const std::string& program, const std::vector<std::string>& args = {},
                         const std::string& workDir = "", size_t addressSpaceBytes = 0);
  ~EngineProcess();
  EngineProcess(const EngineProcess&) = delete;
  EngineProcess& operator=(const EngineProcess&) = delete;

  void send(const std::string& line);  // writes the line and "\n"
  void send_raw(const std::string& bytes);
  void close_input();

  // Output read so far plus whatever arrives until `marker` has been seen (or the
  // timeout passes, or the engine closes its output). Returns everything up to and
  // including the marker and keeps the rest for the next read.
  std::string read_until(const std::string& marker, int timeoutMs = 10000);
  // Everything the engine writes until it closes its output.
  std::string read_to_end(int timeoutMs = 10000);
  // Waits for the exit: the exit status, or -1 after the timeout (or a signal).
  int wait_exit(int timeoutMs = 10000);
  bool exited();

  const std::string& work_dir() const { return workDir_; }

 private:
  bool fill(int timeoutMs);
  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  bool eof_ = false;
  int status_ = -1;
  bool reaped_ = false;
  bool ownsDir_ = false;
  std::string buffer_;
  std::string workDir_;
};

// A fresh empty directory under the system's temporary directory.
std::string make_temp_dir();

// Sanitizer builds reserve huge address ranges, so address-space limits don't work
// there; and filling the tables at start-up, one instrumented store at a time, takes
// them seconds, more on a busy machine.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool AddressLimitsWork = false;
constexpr int StartupTimeoutMs = 60000;
#else
constexpr bool AddressLimitsWork = true;
constexpr int StartupTimeoutMs = 10000;
#endif
