#pragma once
// Throughput of quorvel-cli batch over a folder of many small files, with one
// file at a time and with one file per core.

#include <string>

#include "bench/ChildProcess.h"

struct CBatchFigures {
  int m_nFiles = 0;
  int m_nCores = 1;
  double m_fFileKiB = 0;
  CStepResult m_one;   // --jobs 1
  CStepResult m_many;  // --jobs <cores>
};

// Makes `files` copies of the sample trial in `scratch`, and times a batch
// run that converts every one of them (fresh copies before each run), best
// of `repeats`. `cli` is the quorvel-cli program.
bool MeasureBatch(const std::string& cli, const std::string& scratch, int files, int repeats, CBatchFigures& figures);
void ReportBatch(const CBatchFigures& figures);
