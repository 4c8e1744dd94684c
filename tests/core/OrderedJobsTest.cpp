// The parallel runner of quorvel-cli batch: results in job order, jobs of
// one key one after the other, and a stop that finishes what was started.
#include <gtest/gtest.h>

#include <map>
#include <mutex>

#include "cli/OrderedJobs.h"

TEST(OrderedJobs, KeepsJobOrderAndNeverOverlapsJobsOfOneKey) {
  const size_t count = 60;
  std::mutex mutex;
  std::map<std::string, int> running;  // jobs of each key running now
  std::vector<size_t> keyedStarts;     // start order of the jobs of key "k"
  bool overlapped = false;

  COrderedJobs<size_t> jobs;
  jobs.m_fnKey = [](size_t i) { return i % 3 == 0 ? std::string("k") : std::string(); };
  jobs.m_fnRun = [&](size_t i) {
    const std::string key = i % 3 == 0 ? "k" : "";
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (!key.empty()) {
        overlapped = overlapped || running[key] > 0;
        ++running[key];
        keyedStarts.push_back(i);
      }
    }
    for (int spin = 0; spin < 2000; ++spin) std::this_thread::yield();
    std::lock_guard<std::mutex> lock(mutex);
    if (!key.empty()) --running[key];
    return i * i;
  };
  std::vector<size_t> emitted;
  jobs.m_fnEmit = [&](size_t i, size_t& result) {
    EXPECT_EQ(result, i * i);
    emitted.push_back(i);
  };

  EXPECT_EQ(RunOrderedJobs(count, 4, jobs), count);
  EXPECT_FALSE(overlapped);
  for (size_t i = 0; i < count; ++i) ASSERT_EQ(emitted[i], i);
  ASSERT_EQ(keyedStarts.size(), count / 3);
  for (size_t k = 0; k < keyedStarts.size(); ++k) EXPECT_EQ(keyedStarts[k], 3 * k);
}

TEST(OrderedJobs, StopLetsStartedJobsFinishAndStartsNoMore) {
  std::atomic<bool> stop{false};
  std::atomic<size_t> ran{0};
  COrderedJobs<int> jobs;
  jobs.m_pStop = &stop;
  jobs.m_fnRun = [&](size_t i) {
    ++ran;
    if (i == 5) stop = true;
    // Jobs after the sixth hold their thread until the stop, so each of the
    // other two threads has at most one of them in hand.
    while (i > 5 && !stop) std::this_thread::yield();
    return 0;
  };
  size_t emitted = 0;
  jobs.m_fnEmit = [&](size_t i, int&) { EXPECT_EQ(i, emitted++); };
  const size_t done = RunOrderedJobs(100, 3, jobs);
  EXPECT_EQ(done, ran.load());
  EXPECT_EQ(done, emitted);
  EXPECT_GE(done, 6u);
  EXPECT_LE(done, 8u);  // at most the jobs already handed to the other two threads
}
