#include "support/engine_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
long long now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

std::string make_temp_dir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "veltrix-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

EngineProcess::EngineProcess(const std::string& program, const std::vector<std::string>& args,
                             const std::string& workDir, size_t addressSpaceBytes)
    : workDir_(workDir) {
  if (workDir_.empty()) {
    workDir_ = make_temp_dir();
    ownsDir_ = true;
  }
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe failed");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    close(in[0]);
    close(in[1]);
    close(out[0]);
    close(out[1]);
    if (chdir(workDir_.c_str()) != 0) _exit(126);
    if (addressSpaceBytes) {
      rlimit limit{addressSpaceBytes, addressSpaceBytes};
      setrlimit(RLIMIT_AS, &limit);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  toChild_ = in[1];
  fromChild_ = out[0];
}

EngineProcess::~EngineProcess() {
  if (toChild_ >= 0) close(toChild_);
  if (!reaped_ && pid_ > 0) {
    if (wait_exit(2000) == -1 && !reaped_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  if (fromChild_ >= 0) close(fromChild_);
  if (ownsDir_) {
    std::error_code ec;
    std::filesystem::remove_all(workDir_, ec);
  }
}

void EngineProcess::send(const std::string& line) { send_raw(line + "\n"); }

void EngineProcess::send_raw(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(toChild_, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return;  // the engine has gone; the reads will tell
    }
    done += static_cast<size_t>(n);
  }
}

void EngineProcess::close_input() {
  if (toChild_ >= 0) close(toChild_);
  toChild_ = -1;
}

bool EngineProcess::fill(int timeoutMs) {
  if (eof_) return false;
  pollfd p{fromChild_, POLLIN, 0};
  int r = poll(&p, 1, timeoutMs);
  if (r <= 0) return false;
  char chunk[65536];
  ssize_t n = read(fromChild_, chunk, sizeof chunk);
  if (n <= 0) {
    eof_ = true;
    return false;
  }
  buffer_.append(chunk, static_cast<size_t>(n));
  return true;
}

std::string EngineProcess::read_until(const std::string& marker, int timeoutMs) {
  long long deadline = now_ms() + timeoutMs;
  size_t pos;
  while ((pos = buffer_.find(marker)) == std::string::npos) {
    long long left = deadline - now_ms();
    if (left <= 0 || eof_) break;
    fill(static_cast<int>(left));
  }
  std::string out;
  if (pos == std::string::npos) {
    out.swap(buffer_);
  } else {
    out = buffer_.substr(0, pos + marker.size());
    buffer_.erase(0, pos + marker.size());
  }
  return out;
}

std::string EngineProcess::read_to_end(int timeoutMs) {
  long long deadline = now_ms() + timeoutMs;
  while (!eof_) {
    long long left = deadline - now_ms();
    if (left <= 0) break;
    fill(static_cast<int>(left));
  }
  std::string out;
  out.swap(buffer_);
  return out;
}

int EngineProcess::wait_exit(int timeoutMs) {
  long long deadline = now_ms() + timeoutMs;
  while (!reaped_) {
    int st;
    pid_t r = waitpid(pid_, &st, WNOHANG);
    if (r == pid_) {
      reaped_ = true;
      status_ = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
      break;
    }
    if (now_ms() >= deadline) return -1;
    usleep(2000);
  }
  return status_;
}

bool EngineProcess::exited() { return wait_exit(0) != -1 || reaped_; }
