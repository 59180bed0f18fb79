#include "os/child_process.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace tellwright {

#ifndef _WIN32

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Reads what the child writes until it closes its end or time runs out.
void Collect(int fd, pid_t pid, std::chrono::milliseconds timeout, ProgramRun& run) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  char buffer[4096];
  while (true) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd watch{fd, POLLIN, 0};
    int ready = left.count() > 0 ? ::poll(&watch, 1, static_cast<int>(left.count())) : 0;
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      run.timedOut = ready == 0;
      ::kill(pid, SIGKILL);
      return;
    }
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;
    size_t room = kMaxCapturedOutput - run.output.size();
    run.output.append(buffer, std::min(room, static_cast<size_t>(got)));
  }
}

void Wait(pid_t pid, ProgramRun& run) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return;
  }
  if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
}

}  // namespace

std::optional<std::string> FindOnPath(std::string_view name, const EnvironmentLookup& environment) {
  if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
  std::string path = environment("PATH").value_or("/usr/local/bin:/usr/bin:/bin");
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = std::min(path.find(':', start), path.size());
    std::string folder = path.substr(start, end - start);
    if (!folder.empty()) {
      std::string candidate = folder + (folder.back() == '/' ? "" : "/") + std::string(name);
      if (IsExecutableFile(candidate)) return candidate;
    }
    start = end + 1;
  }
  return std::nullopt;
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      std::chrono::milliseconds timeout) {
  ProgramRun run;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    run.output = std::strerror(errno);
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (error != 0) {
    ::close(fds[0]);
    run.output = std::strerror(error);
    return run;
  }
  run.started = true;
  Collect(fds[0], pid, timeout, run);
  ::close(fds[0]);
  Wait(pid, run);
  return run;
}

#else

std::optional<std::string> FindOnPath(std::string_view, const EnvironmentLookup&) { return std::nullopt; }

ProgramRun RunProgram(const std::string&, const std::vector<std::string>&, std::chrono::milliseconds) {
  ProgramRun run;
  run.output = "not supported on this system";
  return run;
}

#endif

std::string DescribeRunFailure(const ProgramRun& run) {
  std::string reason;
  if (!run.started) {
    reason = "could not be started";
  } else if (run.timedOut) {
    reason = "did not finish in time and was stopped";
  } else if (run.signal != 0) {
    reason = "was ended by signal " + std::to_string(run.signal);
  } else if (run.exitStatus != 0) {
    reason = "failed with exit status " + std::to_string(run.exitStatus);
  } else {
    return "";
  }
  size_t end = run.output.find_last_not_of(" \t\r\n");
  if (end != std::string::npos) reason += ": " + run.output.substr(0, end + 1);
  return reason;
}

}  // namespace tellwright
