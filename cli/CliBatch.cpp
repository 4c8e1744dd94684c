// quorvel-cli batch: runs a batch file on C3D files, as the editor's Batch
// Process command does. Folders contribute their C3D files as "Find Files"
// finds them; several files run at a time, each in a session of its own, and
// what each file reports is written whole, in the order of the file list.
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <sstream>
#include <thread>

#include "app/BatchFile.h"
#include "app/BatchFileSearch.h"
#include "app/BatchRun.h"
#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/LinePrefixStream.h"
#include "cli/OrderedJobs.h"
#include "document/EditorDoc.h"

namespace {

// More threads than this would only hold more files in memory at once.
constexpr int kMaxJobs = 256;

struct CBatchArguments {
  std::string m_strBatchFile;
  std::vector<std::string> m_paths;
  bool m_bAlwaysSave = false;
  bool m_bLockedEdit = false;
  bool m_bRescale = false;
  bool m_bRecursive = false;
  int m_nJobs = 0;  // 0: one per core
};

bool ParseJobs(const std::string& text, int& jobs) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  jobs = std::stoi(text);
  return jobs >= 1 && jobs <= kMaxJobs;
}

bool ParseBatchArguments(const std::vector<std::string>& args, CBatchArguments& parsed, std::string& error) {
  std::vector<std::string> operands;
  bool options = true;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      if (arg == "--always-save") parsed.m_bAlwaysSave = true;
      else if (arg == "--locked-edit") parsed.m_bLockedEdit = true;
      else if (arg == "--rescale") parsed.m_bRescale = true;
      else if (arg == "--recursive") parsed.m_bRecursive = true;
      else if (arg == "--jobs" || arg.rfind("--jobs=", 0) == 0) {
        std::string value;
        if (arg == "--jobs") {
          if (i + 1 < args.size()) value = args[++i];
        } else {
          value = arg.substr(7);
        }
        if (!ParseJobs(value, parsed.m_nJobs)) {
          error = "--jobs needs the number of files to run at a time, 1 to " + std::to_string(kMaxJobs);
          return false;
        }
      } else {
        error = "unknown option '" + arg + "'";
        return false;
      }
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.size() < 2) {
    error = operands.empty() ? "batch needs a batch file and at least one C3D file or folder"
                             : "batch needs at least one C3D file or folder after the batch file";
    return false;
  }
  parsed.m_strBatchFile = operands[0];
  parsed.m_paths.assign(operands.begin() + 1, operands.end());
  return true;
}

// The cores this process may run on (a job scheduler may grant fewer than
// the machine has).
int CoresAvailable() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) {
    int n = CPU_COUNT(&set);
    if (n > 0) return n;
  }
  unsigned n = std::thread::hardware_concurrency();
  return n > 0 ? static_cast<int>(n) : 1;
}

// The files of the command line: files as given, folders by their C3D
// files. False when a folder could not be searched (said on standard error).
bool CollectFiles(const CBatchArguments& arguments, std::vector<std::string>& files) {
  bool complete = true;
  for (const std::string& path : arguments.m_paths) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      files.push_back(path);  // a file that cannot be opened is reported as it runs
      continue;
    }
    std::string reason;
    if (!CanSearchFolder(path, reason)) {
      CliError("cannot search the folder '" + path + "': " + reason);
      complete = false;
      continue;
    }
    CFileSearchResult found = FindC3dFiles(path, arguments.m_bRecursive);
    for (const std::string& folder : found.m_unsearchable) {
      CliError("cannot search the folder " + folder);
      complete = false;
    }
    if (found.m_files.empty())
      CliError("no C3D files in '" + path + "'" + (arguments.m_bRecursive ? "" : " (--recursive searches its sub-folders)"));
    files.insert(files.end(), found.m_files.begin(), found.m_files.end());
  }
  return complete;
}

// Names of one file in the file system: two paths of one file share it.
std::string FileKey(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::string();
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

enum class FileResult { Saved, NotSaved, Failed };

struct CFileOutput {
  FileResult m_result = FileResult::Failed;
  std::string m_strMessages;  // for standard error, each line with the file's name
  std::string m_strLine;      // for standard output
};

CFileOutput Finish(const std::string& file, FileResult result, const std::string& text) {
  CFileOutput out;
  out.m_result = result;
  out.m_strLine = file + ": " + text + "\n";
  return out;
}

// Opens one file in a session of its own, runs the batch file on it and
// closes it.
CFileOutput RunOnFile(const CBatchArguments& arguments, const CBatchFile& batch, const std::string& file) {
  std::ostringstream captured;
  CFileOutput out;
  try {
    CLinePrefixStream messages(captured, file + ": ");
    CCliSession session(false, &messages);
    CHeadlessApp& app = session.App();
    // Batch Mode stays off: the messages that operations keep quiet in Batch
    // Mode are shown, as the Batch Process command shows them.
    app.m_settings.m_strBatchFile = arguments.m_strBatchFile;
    app.m_settings.m_nRescaleConversion = arguments.m_bRescale ? 1 : 0;
    app.LockedEditFlag = arguments.m_bLockedEdit ? 1 : 0;

    CEditorDoc* doc = session.Open(file);
    if (!doc) {
      out = Finish(file, FileResult::Failed, "failed: the file could not be opened");
    } else {
      CBatchOutcome outcome = RunBatch(*doc, batch, arguments.m_bAlwaysSave);
      app.CloseDocument(doc);
      if (outcome.m_bRejected)
        out = Finish(file, FileResult::Failed, "failed: the batch file was refused");
      else if (!outcome.m_bSaveAsked)
        out = Finish(file, FileResult::NotSaved, "not saved");
      else if (outcome.m_bSaved)
        out = Finish(file, FileResult::Saved, "saved");
      else
        out = Finish(file, FileResult::Failed, "failed: the file could not be saved");
    }
  } catch (const std::bad_alloc&) {
    out = Finish(file, FileResult::Failed, "failed: not enough memory");
  } catch (const std::exception& e) {
    out = Finish(file, FileResult::Failed, std::string("failed: ") + e.what());
  }
  out.m_strMessages = captured.str();
  return out;
}

// Why a refused batch file was refused, in a user's words.
std::string ProblemDetail(const CBatchFile& batch, bool readable, int error) {
  if (!readable) return std::string("it cannot be read: ") + std::strerror(error);
  if (batch.GeneralString("File") != "BATCH FILE") return "its [General] section needs the line File=BATCH FILE";
  return "its [General] section needs Operations=N, the number of [OperationN] sections to run";
}

// ---- Stopping on Ctrl-C ------------------------------------------------------

std::atomic<bool> g_bStop{false};
std::atomic<int> g_nSignal{0};

extern "C" void OnStopSignal(int signal) {
  if (g_bStop.exchange(true)) {
    // The second request ends the program at once.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  g_nSignal.store(signal);
}

// While it lives, Ctrl-C (or a job scheduler's SIGTERM) lets the files in
// progress finish and starts no more.
class CStopSignals {
 public:
  CStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_oldInt);
    sigaction(SIGTERM, &action, &m_oldTerm);
  }
  ~CStopSignals() {
    sigaction(SIGINT, &m_oldInt, nullptr);
    sigaction(SIGTERM, &m_oldTerm, nullptr);
  }

 private:
  struct sigaction m_oldInt {};
  struct sigaction m_oldTerm {};
};

// ---- The progress line ---------------------------------------------------------

// "batch: 12 of 40 files, 0:37" on standard error, redrawn in place; only
// when standard error is a terminal.
class CProgressLine {
 public:
  explicit CProgressLine(size_t total)
      : m_nTotal(total), m_bEnabled(::isatty(STDERR_FILENO) == 1), m_start(std::chrono::steady_clock::now()) {}

  void Clear() {
    if (!m_bShown) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    m_bShown = false;
  }
  void Draw(size_t done) {
    if (!m_bEnabled) return;
    const long seconds = static_cast<long>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - m_start).count());
    char text[160];
    std::snprintf(text, sizeof text, "batch: %zu of %zu files, %ld:%02ld%s", done, m_nTotal, seconds / 60,
                  seconds % 60, g_bStop.load() ? " (stopping after the files in progress)" : "");
    if (m_bShown && m_strShown == text) return;
    std::fprintf(stderr, "\r\033[K%s", text);
    std::fflush(stderr);
    m_strShown = text;
    m_bShown = true;
  }

 private:
  size_t m_nTotal;
  bool m_bEnabled;
  bool m_bShown = false;
  std::string m_strShown;
  std::chrono::steady_clock::time_point m_start;
};

}  // namespace

int CliBatchMain(const std::vector<std::string>& args) {
  CBatchArguments arguments;
  std::string error;
  if (!ParseBatchArguments(args, arguments, error)) {
    CliError(error);
    std::fputs(CliUsageText(), stderr);
    return kExitUsage;
  }

  std::vector<std::string> files;
  const bool searched = CollectFiles(arguments, files);
  if (files.empty()) {
    CliError("no C3D files to run the batch file on");
    return kExitFailed;
  }

  // The batch file is the same for every file: refuse a broken one once,
  // before any file is opened.
  CBatchFile batch;
  errno = 0;
  bool readable = batch.Load(arguments.m_strBatchFile);
  const int loadError = errno;
  std::string problem = BatchFileProblem(batch);
  if (!problem.empty()) {
    std::cerr << arguments.m_strBatchFile << ": " << problem << '\n'
              << arguments.m_strBatchFile << ": (" << ProblemDetail(batch, readable, loadError) << ")\n";
    for (const std::string& file : files) std::printf("%s: failed: the batch file was refused\n", file.c_str());
    std::fflush(stdout);
    return kExitFailed;
  }

  const int jobs = arguments.m_nJobs > 0 ? arguments.m_nJobs : CoresAvailable();
  size_t counts[3] = {0, 0, 0};
  CProgressLine progress(files.size());
  size_t done = 0;

  COrderedJobs<CFileOutput> run;
  run.m_fnRun = [&](size_t i) { return RunOnFile(arguments, batch, files[i]); };
  // Two names of one file (or a file named twice) run one after the other,
  // in list order, as they would with --jobs 1.
  run.m_fnKey = [&](size_t i) { return FileKey(files[i]); };
  run.m_fnEmit = [&](size_t, CFileOutput& out) {
    progress.Clear();
    std::fputs(out.m_strMessages.c_str(), stderr);
    std::fflush(stderr);
    std::fputs(out.m_strLine.c_str(), stdout);
    std::fflush(stdout);
    ++counts[static_cast<int>(out.m_result)];
    progress.Draw(++done);
  };
  run.m_fnTick = [&] { progress.Draw(done); };
  run.m_pStop = &g_bStop;

  size_t ran;
  {
    CStopSignals signals;
    progress.Draw(0);
    ran = RunOrderedJobs(files.size(), jobs, run);
    progress.Clear();
  }

  const size_t saved = counts[static_cast<int>(FileResult::Saved)];
  const size_t notSaved = counts[static_cast<int>(FileResult::NotSaved)];
  const size_t failed = counts[static_cast<int>(FileResult::Failed)];
  std::string summary = std::to_string(files.size()) + (files.size() == 1 ? " file: " : " files: ") +
                        std::to_string(saved) + " saved, " + std::to_string(notSaved) + " not saved, " +
                        std::to_string(failed) + " failed";
  if (ran < files.size()) summary += ", " + std::to_string(files.size() - ran) + " not run (stopped)";
  std::fprintf(stderr, "%s\n", summary.c_str());

  if (ran < files.size()) return 128 + g_nSignal.load();
  return failed == 0 && searched ? kExitOk : kExitFailed;
}
