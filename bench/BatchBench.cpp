// quorvel-cli batch over a folder of small files: each run opens every file,
// runs a batch file that converts it (real PC to real DEC) and saves it
// through its temporary file, one file at a time and one per core.
#include "bench/BatchBench.h"

#include <sched.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "bench/TrialBuilder.h"
#include "bench/Trials.h"

namespace fs = std::filesystem;

namespace {

int Cores() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
  unsigned n = std::thread::hardware_concurrency();
  return n > 0 ? static_cast<int>(n) : 1;
}

bool MakeOriginals(const std::string& folder, int files, double& fileKiB) {
  CC3d c3d;
  if (!BuildSampleTrial(c3d)) return false;
  const std::string first = folder + "/trial0000.c3d";
  std::string error;
  if (!CTrialBuilder(c3d).Save(first, error)) {
    std::fprintf(stderr, "quorvel-bench: could not write %s: %s\n", first.c_str(), error.c_str());
    return false;
  }
  fileKiB = static_cast<double>(fs::file_size(first)) / 1024.0;
  for (int i = 1; i < files; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/trial%04d.c3d", i);
    std::error_code ec;
    fs::copy_file(first, folder + name, fs::copy_options::overwrite_existing, ec);
    if (ec) return false;
  }
  return true;
}

// One timed run on fresh copies; checks from the summary line that every
// file was saved.
CStepResult TimedRun(const std::string& cli, const std::string& scratch, int files, int jobs) {
  const std::string work = scratch + "/work";
  std::error_code ec;
  fs::remove_all(work, ec);
  fs::copy(scratch + "/originals", work, ec);
  const std::string log = scratch + "/batch.log";
  CStepResult r = RunStep({"sh", "-c", "exec \"$0\" batch \"$1\" \"$2\" --jobs \"$3\" 2>\"$4\"", cli,
                           scratch + "/convert.cfg", work, std::to_string(jobs), log});
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  const std::string expected = std::to_string(files) + " files: " + std::to_string(files) + " saved";
  if (r.m_bOk && text.str().find(expected) == std::string::npos) {
    r.m_bOk = false;
    r.m_strError = "not every file was saved: " + text.str();
  }
  return r;
}

CStepResult BestRun(const std::string& cli, const std::string& scratch, int files, int jobs, int repeats) {
  CStepResult best;
  for (int i = 0; i < repeats; ++i) {
    CStepResult r = TimedRun(cli, scratch, files, jobs);
    if (!r.m_bOk) return r;
    if (!best.m_bOk || r.m_fSeconds < best.m_fSeconds) best = r;
  }
  return best;
}

double Rate(const CBatchFigures& f, const CStepResult& r) { return r.m_fSeconds > 0 ? f.m_nFiles / r.m_fSeconds : 0; }

}  // namespace

bool MeasureBatch(const std::string& cli, const std::string& scratch, int files, int repeats, CBatchFigures& figures) {
  figures.m_nFiles = files;
  figures.m_nCores = Cores();
  std::error_code ec;
  fs::create_directories(scratch + "/originals", ec);
  if (ec || !MakeOriginals(scratch + "/originals", files, figures.m_fFileKiB)) return false;
  {
    std::ofstream cfg(scratch + "/convert.cfg");
    cfg << "[General]\nFile=BATCH FILE\nOperations=0\nSave=true,real,dec\n";
  }
  figures.m_one = BestRun(cli, scratch, files, 1, repeats);
  if (!figures.m_one.m_bOk) {
    std::fprintf(stderr, "quorvel-bench: batch --jobs 1: %s\n", figures.m_one.m_strError.c_str());
    return false;
  }
  figures.m_many = BestRun(cli, scratch, files, figures.m_nCores, repeats);
  if (!figures.m_many.m_bOk) {
    std::fprintf(stderr, "quorvel-bench: batch --jobs %d: %s\n", figures.m_nCores, figures.m_many.m_strError.c_str());
    return false;
  }
  fs::remove_all(scratch + "/work", ec);
  fs::remove_all(scratch + "/originals", ec);
  fs::remove(scratch + "/convert.cfg", ec);
  fs::remove(scratch + "/batch.log", ec);
  return true;
}

void ReportBatch(const CBatchFigures& f) {
  std::printf("\nquorvel-cli batch over %d files of %.1f KiB (open, convert to DEC, save)\n", f.m_nFiles,
              f.m_fFileKiB);
  const double one = Rate(f, f.m_one), many = Rate(f, f.m_many);
  std::printf("%-38s%.3f s (cpu %.3f s), %.0f files/s\n", "--jobs 1", f.m_one.m_fSeconds, f.m_one.m_fCpuSeconds, one);
  char caption[40];
  std::snprintf(caption, sizeof caption, "--jobs %d (one per core)", f.m_nCores);
  std::printf("%-38s%.3f s (cpu %.3f s), %.0f files/s\n", caption, f.m_many.m_fSeconds, f.m_many.m_fCpuSeconds,
              many);
  const double goal = 0.8 * f.m_nCores * one;
  std::printf("%-38s%s %.0f >= %.0f files/s (%.2f x the single-job rate)\n", "goal: >= 0.8 x cores x --jobs 1",
              many >= goal ? "ok    " : "MISSED", many, goal, one > 0 ? many / one : 0.0);
}
