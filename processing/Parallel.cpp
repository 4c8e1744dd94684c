#include "processing/Parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::atomic<int> g_nThreads{0};

template <typename Run>
void RunOnWorkers(int workers, Run run) {
  std::vector<std::thread> threads;
  threads.reserve(static_cast<size_t>(workers - 1));
  for (int w = 1; w < workers; ++w) threads.emplace_back(run, w);
  run(0);
  for (std::thread& t : threads) t.join();
}

}  // namespace

int ProcessingThreads() {
  int set = g_nThreads.load();
  if (set > 0) return set;
  unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(cores) : 1;
}

void SetProcessingThreads(int count) { g_nThreads.store(std::max(count, 0)); }

int ProcessingWorkers(int count) { return std::max(1, std::min(ProcessingThreads(), count)); }

void ParallelFor(int count, const std::function<void(int, int)>& work) {
  const int workers = ProcessingWorkers(count);
  if (workers <= 1) {
    for (int i = 0; i < count; ++i) work(i, 0);
    return;
  }
  std::atomic<int> next{0};
  RunOnWorkers(workers, [&](int worker) {
    for (int i = next++; i < count; i = next++) work(i, worker);
  });
}

void ParallelForOrdered(int count, const std::function<void(int, int)>& work,
                        const std::function<bool(int, int)>& commit) {
  const int workers = ProcessingWorkers(count);
  if (workers <= 1) {
    for (int i = 0; i < count; ++i) {
      work(i, 0);
      if (!commit(i, 0)) return;
    }
    return;
  }
  std::mutex mutex;
  std::condition_variable turnChanged;
  int next = 0;   // the next index to take
  int turn = 0;   // the index whose commit is due
  bool stopped = false;
  RunOnWorkers(workers, [&](int worker) {
    for (;;) {
      int index;
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (stopped || next >= count) return;
        index = next++;
      }
      work(index, worker);
      bool skip;
      {
        std::unique_lock<std::mutex> lock(mutex);
        turnChanged.wait(lock, [&] { return turn == index; });
        skip = stopped;
      }
      // Only the thread holding the due index runs here, so commits never
      // overlap.
      bool ok = skip || commit(index, worker);
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (!ok) stopped = true;
        turn = index + 1;
      }
      turnChanged.notify_all();
    }
  });
}
