// quorvel-bench: times opening and saving large C3D files against reading
// and copying the same bytes, times the resampling, filtering and gap
// filling commands against a plain copy of the samples, times quorvel-cli
// batch over a folder of small files with one and with several jobs, times
// the graph view's paint (in builds with the GUI), and makes the bundled
// sample file.
//
//   quorvel-bench [--dir FOLDER] [--repeat N] [--keep] [--resampling-only] [--processing-only]
//                 [--batch-only] [--batch-files N] [--cli PATH] [--painting-only]
//   quorvel-bench --make-sample PATH
//
// Every measured open and save runs in a child process of its own (this
// program with "--step ..."), so that its time and its peak memory are its
// own; resampling and processing are timed in this process on a trial built
// in memory.
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BatchBench.h"
#include "bench/ChildProcess.h"
#include "bench/ResampleBench.h"
#include "bench/TrialBuilder.h"
#include "bench/Trials.h"
#include "c3d/C3d.h"
#include "c3d/SampleMemory.h"

int RunProcessingBench(int repeats);
#ifdef QUORVEL_BENCH_PAINT
int RunPaintBench(int repeats);
#else
int RunPaintBench(int) { return 0; }
#endif

namespace {

const char* kUsage =
    "usage: quorvel-bench [--dir FOLDER] [--repeat N] [--keep] [--resampling-only] [--processing-only]\n"
    "                     [--batch-only] [--batch-files N] [--cli PATH] [--painting-only]\n"
    "       quorvel-bench --make-sample PATH\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "quorvel-bench: %s\n", message.c_str());
  return 1;
}

// ---- Steps run in a child process ------------------------------------------

int MakeTrial(const std::string& path, const std::string& kind) {
  CC3d c3d;
  bool built = kind == "sample" ? BuildSampleTrial(c3d)
                                : BuildLargeTrial(c3d, kind == "integer" ? StorageKind::Integer
                                                                         : StorageKind::Real);
  if (!built) return Fail("not enough memory to build the " + kind + " trial");
  std::string error;
  if (!CTrialBuilder(c3d).Save(path, error)) return Fail("could not write " + path + ": " + error);
  return 0;
}

bool OpenModel(CC3d& c3d, const std::string& path) {
  c3d.m_strFileName = path;
  if (c3d.Open() == 1) return true;
  for (const std::string& m : c3d.m_OpenErrors) std::fprintf(stderr, "%s\n", m.c_str());
  return false;
}

int StepOpen(const std::string& path) {
  CC3d c3d;
  return OpenModel(c3d, path) ? 0 : Fail("could not open " + path);
}

int StepOpenSave(const std::string& path, const std::string& out) {
  CC3d c3d;
  if (!OpenModel(c3d, path)) return Fail("could not open " + path);
  std::string error;
  if (!c3d.SaveToFile(out, error)) return Fail("could not save " + out + ": " + error);
  return 0;
}

// Maps as many fresh bytes as the file holds, asks the system to back them
// at once, and writes once to every page: the least any program pays to hold
// the file's samples in memory. On virtual machines where the first touch of
// a page is costly, this floor dominates the time of opening.
int StepTouch(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return Fail("cannot read " + path);
  size_t bytes = static_cast<size_t>(st.st_size);
  void* map = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE,
                     -1, 0);
  if (map == MAP_FAILED) return Fail("not enough memory");
  volatile char* page = static_cast<char*>(map);
  for (size_t i = 0; i < bytes; i += 4096) page[i] = 1;
  ::munmap(map, bytes);
  return 0;
}

// Obtains as much memory as the file holds the way the sample stores get it
// (one region, 2 MiB-aligned, huge pages, populated in one request) and
// writes once to every page: what holding the samples costs at the least.
int StepMemory(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return Fail("cannot read " + path);
  const size_t bytes = static_cast<size_t>(st.st_size);
  CSampleRegion region(CSampleRegion::RegionBytes(bytes));
  volatile char* block = static_cast<char*>(AllocateSampleMemory(bytes));
  for (size_t i = 0; i < bytes; i += 4096) block[i] = 1;
  FreeSampleMemory(const_cast<char*>(block));
  return 0;
}

// quorvel-cli beside this program (build/bench and build/cli), or empty.
std::string CliPath() {
  std::filesystem::path cli = std::filesystem::path(SelfPath()).parent_path().parent_path() / "cli" / "quorvel-cli";
  std::error_code ec;
  return std::filesystem::exists(cli, ec) ? cli.string() : std::string();
}

int RunChildStep(int argc, char** argv) {
  std::string step = argc > 2 ? argv[2] : "";
  if (step == "touch" && argc == 4) return StepTouch(argv[3]);
  if (step == "memory" && argc == 4) return StepMemory(argv[3]);
  if (step == "make" && argc == 5) return MakeTrial(argv[3], argv[4]);
  if (step == "open" && argc == 4) return StepOpen(argv[3]);
  if (step == "save" && argc == 5) return StepOpenSave(argv[3], argv[4]);
  return Fail("unknown step");
}

// ---- The measured run --------------------------------------------------------

struct CFileFigures {
  std::string m_strName;
  double m_fSizeMiB = 0;
  CStepResult m_cat, m_pipe, m_touch, m_memory, m_open, m_copy, m_save, m_convert;
};

double FileMiB(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? static_cast<double>(st.st_size) / (1024.0 * 1024.0) : 0.0;
}

bool Measure(CFileFigures& fig, const std::string& path, const std::string& scratch, int repeats) {
  const std::string self = SelfPath();
  fig.m_fSizeMiB = FileMiB(path);
  RunStep({"cat", path});  // brings the file into the cache
  fig.m_cat = RunStepBest({"cat", path}, repeats);
  // The same bytes through a pipe, as a program reading them from cat would
  // see them: the slower and more common reference.
  fig.m_pipe = RunStepBest({"sh", "-c", "cat \"$0\" | cat", path}, repeats);
  fig.m_touch = RunStepBest({self, "--step", "touch", path}, repeats);
  fig.m_memory = RunStepBest({self, "--step", "memory", path}, repeats);
  fig.m_open = RunStepBest({self, "--step", "open", path}, repeats);
  std::string copy = scratch + "/copy.c3d";
  fig.m_copy = RunStepBest({"dd", "if=" + path, "of=" + copy, "bs=4M", "conv=fsync", "status=none"},
                           repeats);
  std::remove(copy.c_str());
  std::string saved = scratch + "/saved.c3d";
  fig.m_save = RunStepBest({self, "--step", "save", path, saved}, repeats);
  std::remove(saved.c_str());
  // quorvel-cli convert: open, save, and read the written file back.
  const std::string cli = CliPath();
  if (cli.empty()) {
    fig.m_convert.m_bOk = true;  // not built: the row stays empty
  } else {
    std::string converted = scratch + "/converted.c3d";
    fig.m_convert = RunStepBest({cli, "convert", path, converted}, repeats);
    std::remove(converted.c_str());
  }
  for (const CStepResult* r : {&fig.m_cat, &fig.m_pipe, &fig.m_touch, &fig.m_memory, &fig.m_open, &fig.m_copy,
                               &fig.m_save, &fig.m_convert}) {
    if (!r->m_bOk) {
      std::fprintf(stderr, "quorvel-bench: %s: %s\n", fig.m_strName.c_str(), r->m_strError.c_str());
      return false;
    }
  }
  return true;
}

void PrintRow(const char* caption, const std::vector<std::string>& cells) {
  std::printf("%-38s", caption);
  for (const std::string& c : cells) std::printf("%-30s", c.c_str());
  std::printf("\n");
}

std::string Seconds(const CStepResult& r) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f s (cpu %.3f s)", r.m_fSeconds, r.m_fCpuSeconds);
  return text;
}

std::string Format(const char* format, double a, double b = 0, double c = 0) {
  char text[128];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

void Report(const std::vector<CFileFigures>& figures) {
  std::vector<std::string> cells;
  auto row = [&](const char* caption, auto cell) {
    cells.clear();
    for (const CFileFigures& f : figures) cells.push_back(cell(f));
    PrintRow(caption, cells);
  };
  std::printf("\n");
  row("", [](const CFileFigures& f) { return f.m_strName; });
  row("file size", [](const CFileFigures& f) { return Format("%.1f MiB", f.m_fSizeMiB); });
  row("cat of the cached file (/dev/null)",
      [](const CFileFigures& f) { return Seconds(f.m_cat); });
  row("cat of the cached file through a pipe",
      [](const CFileFigures& f) { return Seconds(f.m_pipe); });
  row("fresh memory of that size, touched",
      [](const CFileFigures& f) { return Seconds(f.m_touch); });
  row("  as the stores get it (huge pages)",
      [](const CFileFigures& f) { return Seconds(f.m_memory); });
  row("open", [](const CFileFigures& f) { return Seconds(f.m_open); });
  row("durable copy (dd bs=4M conv=fsync)",
      [](const CFileFigures& f) { return Seconds(f.m_copy); });
  row("open + save", [](const CFileFigures& f) { return Seconds(f.m_save); });
  row("quorvel-cli convert (read back)", [](const CFileFigures& f) { return Seconds(f.m_convert); });
  row("peak memory, open", [](const CFileFigures& f) { return Format("%.1f MiB", f.m_open.m_fPeakMiB); });
  row("peak memory, open + save",
      [](const CFileFigures& f) { return Format("%.1f MiB", f.m_save.m_fPeakMiB); });
  row("peak memory, quorvel-cli convert",
      [](const CFileFigures& f) { return Format("%.1f MiB", f.m_convert.m_fPeakMiB); });

  std::printf("\nGoals (on wall time; cpu time shows how much a busy machine added)\n");
  auto verdict = [](bool ok) { return ok ? "ok    " : "MISSED"; };
  row("open <= 8 x cat", [&](const CFileFigures& f) {
    double ratio = f.m_cat.m_fSeconds > 0 ? f.m_open.m_fSeconds / f.m_cat.m_fSeconds : 0;
    return std::string(verdict(ratio <= 8.0)) + Format(" %.1f x cat", ratio);
  });
  row("  against cat through a pipe", [&](const CFileFigures& f) {
    double ratio = f.m_pipe.m_fSeconds > 0 ? f.m_open.m_fSeconds / f.m_pipe.m_fSeconds : 0;
    return Format("       %.1f x cat | cat", ratio);
  });
  row("  without the fresh memory", [&](const CFileFigures& f) {
    double work = std::max(0.0, f.m_open.m_fSeconds - f.m_memory.m_fSeconds);
    double ratio = f.m_cat.m_fSeconds > 0 ? work / f.m_cat.m_fSeconds : 0;
    return Format("       %.1f x cat", ratio);
  });
  row("open <= 3 x (memory + cat)", [&](const CFileFigures& f) {
    double floor = f.m_memory.m_fSeconds + f.m_cat.m_fSeconds;
    return std::string(verdict(f.m_open.m_fSeconds <= 3.0 * floor)) +
           Format(" %.3f <= 3 x %.3f s", f.m_open.m_fSeconds, floor);
  });
  row("convert <= open + 2 x durable copy", [&](const CFileFigures& f) {
    double limit = f.m_open.m_fSeconds + 2.0 * f.m_copy.m_fSeconds;
    return std::string(verdict(f.m_convert.m_fSeconds <= limit)) +
           Format(" %.3f <= %.3f s", f.m_convert.m_fSeconds, limit);
  });
  row("open+save <= open + 2 x durable copy", [&](const CFileFigures& f) {
    double limit = f.m_open.m_fSeconds + 2.0 * f.m_copy.m_fSeconds;
    return std::string(verdict(f.m_save.m_fSeconds <= limit)) +
           Format(" %.3f <= %.3f s", f.m_save.m_fSeconds, limit);
  });
  row("peak memory <= 1.2 x size + 64 MiB", [&](const CFileFigures& f) {
    double peak = std::max({f.m_open.m_fPeakMiB, f.m_save.m_fPeakMiB, f.m_convert.m_fPeakMiB});
    double limit = 1.2 * f.m_fSizeMiB + 64.0;
    return std::string(verdict(peak <= limit)) + Format(" %.1f <= %.1f MiB", peak, limit);
  });
}

int RunResampling(int repeats) {
  std::printf("\nMeasuring the resampling ...\n");
  std::fflush(stdout);
  std::vector<CResampleFigures> resampling;
  for (StorageKind storage : {StorageKind::Real, StorageKind::Integer}) {
    CResampleFigures fig;
    fig.m_strName = storage == StorageKind::Real ? "real storage" : "integer storage";
    if (!MeasureResampling(storage, repeats, fig)) return Fail("the resampling of the " + fig.m_strName + " trial failed");
    resampling.push_back(fig);
  }
  ReportResampling(resampling);
  return 0;
}

// quorvel-cli beside this program in the build tree (bench/ and cli/).
std::string DefaultCliPath() {
  std::filesystem::path self(SelfPath());
  return (self.parent_path().parent_path() / "cli" / "quorvel-cli").string();
}

struct CBenchOptions {
  std::string m_strDir;
  int m_nRepeats = 3;
  bool m_bKeep = false;
  bool m_bResamplingOnly = false;
  bool m_bBatchOnly = false;
  int m_nBatchFiles = 1000;
  std::string m_strCli;
};

int RunBatchBench(const CBenchOptions& options, const std::string& scratch) {
  std::printf("\nMeasuring quorvel-cli batch over %d files ...\n", options.m_nBatchFiles);
  std::fflush(stdout);
  const std::string cli = options.m_strCli.empty() ? DefaultCliPath() : options.m_strCli;
  if (::access(cli.c_str(), X_OK) != 0) return Fail("quorvel-cli not found at " + cli + " (use --cli PATH)");
  CBatchFigures figures;
  if (!MeasureBatch(cli, scratch + "/batch", options.m_nBatchFiles, options.m_nRepeats, figures)) return 1;
  ReportBatch(figures);
  return 0;
}

int RunBench(const CBenchOptions& options) {
  const std::string& dirOption = options.m_strDir;
  const int repeats = options.m_nRepeats;
  const bool keep = options.m_bKeep;
  std::string scratch = dirOption;
  bool ownFolder = scratch.empty();
  if (ownFolder) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-bench-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) return Fail("cannot create a scratch folder in " + pattern);
    scratch = buffer.data();
  } else {
    std::error_code ec;
    std::filesystem::create_directories(scratch, ec);
    if (ec) return Fail("cannot use the folder " + scratch + ": " + ec.message());
  }
  std::printf("Scratch folder: %s\n", scratch.c_str());
  if (options.m_bBatchOnly) {
    int status = RunBatchBench(options, scratch);
    std::error_code ec;
    if (ownFolder) std::filesystem::remove_all(scratch, ec);
    return status;
  }
  std::printf("Each file: 65000 frames at 100 Hz, 120 points, 64 analog channels x 10 samples.\n");
  std::printf("Times are the best of %d runs.\n", repeats);

  const std::string self = SelfPath();
  std::vector<CFileFigures> figures;
  std::vector<std::string> made;
  bool ok = true;
  for (const char* kind : {"real", "integer"}) {
    std::string path = scratch + "/bench-" + kind + ".c3d";
    std::printf("Generating %s ...\n", path.c_str());
    std::fflush(stdout);
    CStepResult gen = RunStep({self, "--step", "make", path, kind});
    if (!gen.m_bOk) {
      ok = false;
      break;
    }
    made.push_back(path);
    CFileFigures fig;
    fig.m_strName = std::string(kind) + " storage";
    std::printf("Measuring %s ...\n", fig.m_strName.c_str());
    std::fflush(stdout);
    if (!Measure(fig, path, scratch, repeats)) {
      ok = false;
      break;
    }
    figures.push_back(fig);
  }
  if (!figures.empty()) Report(figures);
  if (ok) ok = RunResampling(repeats) == 0;
  if (ok) ok = RunBatchBench(options, scratch) == 0;
  if (!keep) {
    for (const std::string& p : made) std::remove(p.c_str());
    std::error_code ec;
    std::filesystem::remove_all(scratch + "/batch", ec);
    if (ownFolder) ::rmdir(scratch.c_str());
  }
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--step") == 0) return RunChildStep(argc, argv);
  CBenchOptions options;
  bool processingOnly = false;
  bool paintingOnly = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--make-sample" && i + 1 < argc && argc == 3) return MakeTrial(argv[i + 1], "sample");
    if (arg == "--dir" && i + 1 < argc) {
      options.m_strDir = argv[++i];
    } else if (arg == "--repeat" && i + 1 < argc) {
      options.m_nRepeats = std::atoi(argv[++i]);
      if (options.m_nRepeats < 1) return Fail("--repeat needs a number of 1 or more");
    } else if (arg == "--keep") {
      options.m_bKeep = true;
    } else if (arg == "--resampling-only") {
      options.m_bResamplingOnly = true;
    } else if (arg == "--processing-only") {
      processingOnly = true;
    } else if (arg == "--painting-only") {
      paintingOnly = true;
    } else if (arg == "--batch-only") {
      options.m_bBatchOnly = true;
    } else if (arg == "--batch-files" && i + 1 < argc) {
      options.m_nBatchFiles = std::atoi(argv[++i]);
      if (options.m_nBatchFiles < 1) return Fail("--batch-files needs a number of 1 or more");
    } else if (arg == "--cli" && i + 1 < argc) {
      options.m_strCli = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      std::printf("%s", kUsage);
      return 0;
    } else {
      std::fprintf(stderr, "%s", kUsage);
      return 2;
    }
  }
  if (options.m_bResamplingOnly) return RunResampling(options.m_nRepeats);
  if (processingOnly) return RunProcessingBench(options.m_nRepeats);
  if (paintingOnly) return RunPaintBench(options.m_nRepeats);
  if (options.m_bBatchOnly) return RunBench(options);
  int status = RunBench(options);
  if (RunProcessingBench(options.m_nRepeats) != 0) status = 1;
  return RunPaintBench(options.m_nRepeats) == 0 ? status : 1;
}
