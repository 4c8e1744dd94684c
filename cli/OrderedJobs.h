#pragma once
// Runs independent jobs on several threads and hands their results back in
// job order on the calling thread, so that what one job reports is written
// whole and the output reads as if the jobs had run one after the other.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <map>
#include <string>
#include <thread>
#include <vector>

template <typename Result>
struct COrderedJobs {
  // Runs job `index` on a worker thread.
  std::function<Result(size_t index)> m_fnRun;
  // Jobs with the same non-empty key never run at the same time: a later one
  // waits until the earlier one is finished (two names of one file).
  std::function<std::string(size_t index)> m_fnKey;
  // Called on the calling thread with each result, in job order.
  std::function<void(size_t index, Result& result)> m_fnEmit;
  // Called on the calling thread about once per `m_nTickMs` while jobs run.
  std::function<void()> m_fnTick;
  int m_nTickMs = 250;
  // Once set, no further job starts; the running ones are finished.
  const std::atomic<bool>* m_pStop = nullptr;
};

// Runs jobs 0..count-1 with at most `threads` at a time. Returns how many
// were run (and emitted); fewer than `count` only after a stop.
template <typename Result>
size_t RunOrderedJobs(size_t count, int threads, COrderedJobs<Result>& jobs) {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::optional<Result>> results(count);
  // For each key, its jobs handed out and not finished, in job order: the
  // first one runs, the others wait for their turn.
  std::map<std::string, std::deque<size_t>> keyQueues;
  size_t nextJob = 0;    // the next job to hand out
  size_t started = 0;    // jobs handed out
  size_t finished = 0;   // jobs done
  auto stopped = [&] { return jobs.m_pStop && jobs.m_pStop->load(); };

  auto worker = [&] {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      if (nextJob >= count || stopped()) return;
      const size_t index = nextJob++;
      ++started;
      std::string key;
      if (jobs.m_fnKey) key = jobs.m_fnKey(index);
      if (!key.empty()) {
        std::deque<size_t>& queue = keyQueues[key];
        queue.push_back(index);
        changed.wait(lock, [&] { return queue.front() == index; });
      }
      lock.unlock();
      Result result = jobs.m_fnRun(index);
      lock.lock();
      if (!key.empty()) {
        auto it = keyQueues.find(key);
        it->second.pop_front();
        if (it->second.empty()) keyQueues.erase(it);
      }
      results[index] = std::move(result);
      ++finished;
      changed.notify_all();
    }
  };

  const int workerCount = static_cast<int>(std::min<size_t>(count, static_cast<size_t>(std::max(threads, 1))));
  std::vector<std::thread> workers;
  workers.reserve(static_cast<size_t>(workerCount));
  for (int i = 0; i < workerCount; ++i) workers.emplace_back(worker);

  size_t emitted = 0;
  for (;;) {
    std::vector<std::pair<size_t, Result>> ready;
    bool done;
    {
      std::unique_lock<std::mutex> lock(mutex);
      changed.wait_for(lock, std::chrono::milliseconds(jobs.m_nTickMs), [&] {
        return (emitted < count && results[emitted].has_value()) || (finished == started && (nextJob >= count || stopped()));
      });
      for (size_t i = emitted; i < count && results[i].has_value(); ++i) {
        ready.emplace_back(i, std::move(*results[i]));
        results[i].reset();
      }
      emitted += ready.size();
      done = finished == started && (nextJob >= count || stopped()) && emitted == finished;
    }
    for (auto& [index, result] : ready) jobs.m_fnEmit(index, result);
    if (done) break;
    if (jobs.m_fnTick) jobs.m_fnTick();
  }
  for (std::thread& t : workers) t.join();
  return emitted;
}