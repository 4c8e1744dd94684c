#include "bench/ChildProcess.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

CStepResult RunStep(const std::vector<std::string>& argv) {
  CStepResult result;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  auto start = std::chrono::steady_clock::now();
  pid_t pid = ::fork();
  if (pid < 0) {
    result.m_strError = std::string("fork: ") + std::strerror(errno);
    return result;
  }
  if (pid == 0) {
    int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) ::dup2(null, STDOUT_FILENO);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage;
  std::memset(&usage, 0, sizeof usage);
  while (::wait4(pid, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      result.m_strError = std::string("wait: ") + std::strerror(errno);
      return result;
    }
  }
  auto end = std::chrono::steady_clock::now();
  result.m_fSeconds = std::chrono::duration<double>(end - start).count();
  result.m_fCpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  result.m_fPeakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
  result.m_bOk = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!result.m_bOk) {
    result.m_strError = argv[0] + (WIFEXITED(status)
                                       ? " exited with status " + std::to_string(WEXITSTATUS(status))
                                       : std::string(" was stopped by a signal"));
  }
  return result;
}

CStepResult RunStepBest(const std::vector<std::string>& argv, int repeats) {
  CStepResult best;
  for (int i = 0; i < std::max(repeats, 1); ++i) {
    CStepResult r = RunStep(argv);
    if (!r.m_bOk) return r;
    double peak = std::max(best.m_fPeakMiB, r.m_fPeakMiB);
    if (!best.m_bOk || r.m_fSeconds < best.m_fSeconds) best = r;
    best.m_fPeakMiB = peak;
  }
  return best;
}

std::string SelfPath() {
  char buffer[4096];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "quorvel-bench";
  buffer[n] = '\0';
  return buffer;
}
