#pragma once
// Runs one measured step in a child process: its wall time and the largest
// resident size it reached.

#include <string>
#include <vector>

struct CStepResult {
  bool m_bOk = false;
  double m_fSeconds = 0.0;     // wall time
  double m_fCpuSeconds = 0.0;  // user + system time of the child
  double m_fPeakMiB = 0.0;  // maximum resident set size of the child
  std::string m_strError;
};

// Runs `argv` (argv[0] is the program, searched in PATH); its standard output
// goes to /dev/null. Success means exit status 0.
CStepResult RunStep(const std::vector<std::string>& argv);

// Runs the step `repeats` times and keeps the fastest run (and the largest
// peak memory seen), which is the least disturbed by other work on the
// machine.
CStepResult RunStepBest(const std::vector<std::string>& argv, int repeats);

// Path of the running program, to start its own measured steps.
std::string SelfPath();
