// Processing figures of quorvel-bench: filtering and gap filling of the large
// trial's channels, on one thread and on all cores, beside a plain copy of
// the same samples.
#include <algorithm>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "bench/Trials.h"
#include "c3d/C3d.h"
#include "processing/Filtering.h"
#include "processing/Interpolation.h"
#include "processing/Parallel.h"

namespace {

// Processor time of all threads of this process.
double CpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct CTiming {
  double m_fSeconds = 1e300;  // wall time
  double m_fCpu = 0.0;        // processor time of all threads
};

// The fastest of `repeats` runs (the least disturbed by other work).
CTiming Best(int repeats, const std::function<void()>& prepare, const std::function<void()>& run) {
  CTiming best;
  for (int i = 0; i < repeats; ++i) {
    if (prepare) prepare();
    const double cpu = CpuSeconds();
    auto start = std::chrono::steady_clock::now();
    run();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (took.count() < best.m_fSeconds) best = CTiming{took.count(), CpuSeconds() - cpu};
  }
  return best;
}

// Copies every sample out of its store and back, as the filters do around
// their work: the floor any per-channel operation pays.
void CopyAnalog(CC3d& c3d, std::vector<float>& buffer) {
  for (CAnalog& store : c3d.m_analogs) {
    const size_t n = store.Size();
    buffer.resize(n);
    for (size_t i = 0; i < n; ++i) buffer[i] = store.Get(i);
    for (size_t i = 0; i < n; ++i) store.Set(i, buffer[i]);
  }
}

void CopyPoints(CC3d& c3d, std::vector<float>& buffer) {
  const size_t frames = static_cast<size_t>(c3d.FrameCount());
  buffer.resize(frames);
  for (CVideo& store : c3d.m_points)
    for (size_t axis = 0; axis < 3; ++axis) {
      for (size_t f = 0; f < frames; ++f) buffer[f] = store.Get(f * 4 + axis);
      for (size_t f = 0; f < frames; ++f) store.Set(f * 4 + axis, buffer[f]);
    }
}

// Three invalid frames every hundred frames in every point.
void MakeGaps(CC3d& c3d) {
  const int frames = c3d.FrameCount();
  for (int p = 0; p < c3d.PointCount(); ++p)
    for (int f = 50 + p % 7; f + 3 < frames; f += 100)
      for (int g = 0; g < 3; ++g) c3d.SetResidual(p, f + g, -1.0f);
}

void PrintRow(const char* name, double samples, const CTiming& one, const CTiming& all) {
  std::printf("%-40s %6.1f M  %7.3f s (cpu %6.3f s) %6.1f M/s  %7.3f s (cpu %6.3f s) %6.1f M/s\n", name,
              samples / 1e6, one.m_fSeconds, one.m_fCpu, samples / one.m_fSeconds / 1e6, all.m_fSeconds,
              all.m_fCpu, samples / all.m_fSeconds / 1e6);
}

}  // namespace

int RunProcessingBench(int repeats) {
  std::printf("\nProcessing (the real-storage trial in memory; best of %d runs)\n", repeats);
  std::fflush(stdout);
  CC3d c3d;
  if (!BuildLargeTrial(c3d, StorageKind::Real)) {
    std::fprintf(stderr, "quorvel-bench: not enough memory to build the trial\n");
    return 1;
  }
  CRecordingPrompt prompt;
  CFilterMessages messages{prompt, false};
  std::vector<int> channels(static_cast<size_t>(c3d.AnalogCount()));
  std::iota(channels.begin(), channels.end(), 0);
  std::vector<int> points(static_cast<size_t>(c3d.PointCount()));
  std::iota(points.begin(), points.end(), 0);
  const double analogSamples = static_cast<double>(c3d.m_analogs.size()) * c3d.m_analogs[0].Size();
  const double pointSamples = 3.0 * c3d.PointCount() * c3d.FrameCount();
  const int cores = ProcessingThreads();

  CFilterRequest analog;
  analog.m_nType = 0;
  analog.m_fLowFreq = 10.0f;
  analog.m_channels = channels;
  CFilterRequest point = analog;
  point.m_fLowFreq = 6.0f;
  point.m_channels = points;

  std::vector<float> buffer;
  struct Row {
    const char* name;
    double samples;
    std::function<void()> prepare, run;
  };
  std::vector<Row> rows = {
      {"analog: plain copy", analogSamples, nullptr, [&] { CopyAnalog(c3d, buffer); }},
      {"analog: Butterworth low-pass, order 4", analogSamples, nullptr,
       [&] {
         analog.m_nOrder = 4;
         FilterAnalogChannels(c3d, FILTER_BUTTERWORTH, analog, messages);
       }},
      {"analog: FIR low-pass, order 20", analogSamples, nullptr,
       [&] {
         analog.m_nOrder = 20;
         FilterAnalogChannels(c3d, FILTER_FIR, analog, messages);
       }},
      {"3D: plain copy", pointSamples, nullptr, [&] { CopyPoints(c3d, buffer); }},
      {"3D: Butterworth low-pass, order 4", pointSamples, nullptr,
       [&] {
         point.m_nOrder = 4;
         FilterPointChannels(c3d, FILTER_BUTTERWORTH, point, messages);
       }},
      {"3D: FIR low-pass, order 20", pointSamples, nullptr,
       [&] {
         point.m_nOrder = 20;
         FilterPointChannels(c3d, FILTER_FIR, point, messages);
       }},
      {"3D: gap filling (3 of every 100 frames)", pointSamples, [&] { MakeGaps(c3d); },
       [&] { InterpolateGapsInPoints(c3d, points, 10, nullptr); }},
  };
  std::printf("%-40s %8s  %-38s %-38s\n", "", "samples", "1 thread", (std::to_string(cores) + " threads").c_str());
  CTiming butterworthOne;
  for (const Row& row : rows) {
    SetProcessingThreads(1);
    const CTiming one = Best(repeats, row.prepare, row.run);
    SetProcessingThreads(cores);
    const CTiming all = Best(repeats, row.prepare, row.run);
    PrintRow(row.name, row.samples, one, all);
    std::fflush(stdout);
    if (std::string(row.name) == "analog: Butterworth low-pass, order 4") butterworthOne = one;
  }
  SetProcessingThreads(0);
  std::printf("\nGoal: Butterworth low-pass of all analog channels on one core < 1 s: %s %.3f s (cpu %.3f s)\n",
              butterworthOne.m_fSeconds < 1.0 ? "ok    " : "MISSED", butterworthOne.m_fSeconds,
              butterworthOne.m_fCpu);
  std::printf("(Wall times; with other work on the machine the threads share the cores with it.)\n");
  if (!prompt.m_messages.empty()) std::printf("(messages: %s)\n", prompt.m_messages.front().c_str());
  return 0;
}
