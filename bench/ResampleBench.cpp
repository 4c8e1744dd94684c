// Resampling of the large trial: the batch forms of Sampling Frequency and
// Analog to Video Ratio (no undo snapshot, which is a file write of its own),
// timed in this process on a trial built in memory, against a plain copy of
// every store into a fresh store of the same size.
#include "bench/ResampleBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

#include "app/HeadlessApp.h"
#include "bench/Trials.h"
#include "document/EditorDoc.h"
#include "document/SamplingCommands.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double CpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Copies every store into a fresh one and swaps it in, keeping the old
// stores until all are copied as the batch forms of the commands do (they
// keep them to put back if a step fails): the memory traffic a resampling
// cannot avoid.
void CopyStores(CC3d& c3d) {
  std::vector<CSampleStore> old;
  old.reserve(c3d.m_analogs.size() + c3d.m_points.size());
  auto copy = [&](CSampleStore& store) {
    CSampleStore fresh;
    fresh.Allocate(store.Size(), store.IsReal());
    if (store.IsReal())
      std::copy_n(store.Reals(), store.Size(), fresh.Reals());
    else
      std::copy_n(store.Ints(), store.Size(), fresh.Ints());
    old.push_back(std::move(store));
    store = std::move(fresh);
  };
  for (CAnalog& a : c3d.m_analogs) copy(a);
  for (CVideo& v : c3d.m_points) copy(v);
}

}  // namespace

bool MeasureResampling(StorageKind storage, int repeats, CResampleFigures& figures) {
  CHeadlessApp app;
  for (int run = 0; run < repeats; ++run) {
    for (int step = 0; step < 3; ++step) {
      CEditorDoc doc(app);
      if (!BuildLargeTrial(doc.m_c3d, storage)) return false;
      const CC3d& c3d = doc.m_c3d;
      const double analog = static_cast<double>(c3d.FrameCount()) * c3d.AnalogCount() *
                            c3d.m_header.m_nSamplesPerFrame;
      figures.m_fAnalogSamples = analog;
      figures.m_fSamples = analog + static_cast<double>(c3d.FrameCount()) * c3d.PointCount() * 4;
      const Clock::time_point start = Clock::now();
      const double cpuStart = CpuSeconds();
      bool ok = true;
      if (step == 0) CopyStores(doc.m_c3d);
      if (step == 1) ok = ChangeRate(doc, 60.0f, true);
      if (step == 2) ok = ChangeRatio(doc, 16, true);
      const double seconds = Since(start);
      const double cpu = CpuSeconds() - cpuStart;
      if (!ok) return false;
      CTiming& best = step == 0 ? figures.m_copy : (step == 1 ? figures.m_rate : figures.m_ratio);
      if (seconds < best.m_fSeconds) best = CTiming{seconds, cpu};
    }
  }
  return true;
}

void ReportResampling(const std::vector<CResampleFigures>& figures) {
  std::printf("\nResampling in memory (batch forms, no undo snapshot; best of the runs)\n");
  auto row = [&](const char* caption, auto cell) {
    std::printf("%-38s", caption);
    for (const CResampleFigures& f : figures) {
      char text[96];
      cell(f, text, sizeof text);
      std::printf("%-30s", text);
    }
    std::printf("\n");
  };
  row("", [](const CResampleFigures& f, char* t, size_t n) { std::snprintf(t, n, "%s", f.m_strName.c_str()); });
  auto timing = [](const CTiming& time, double samples, char* t, size_t n) {
    std::snprintf(t, n, "%.3f s (cpu %.3f s), %.0f M/s", time.m_fSeconds, time.m_fCpuSeconds,
                  samples / time.m_fSeconds / 1e6);
  };
  row("plain copy of every sample", [&](const CResampleFigures& f, char* t, size_t n) {
    timing(f.m_copy, f.m_fSamples, t, n);
  });
  row("Sampling Frequency 100 -> 60 Hz", [&](const CResampleFigures& f, char* t, size_t n) {
    timing(f.m_rate, f.m_fSamples, t, n);
  });
  row("  against the plain copy", [](const CResampleFigures& f, char* t, size_t n) {
    std::snprintf(t, n, "%.1f x copy", f.m_rate.m_fSeconds / f.m_copy.m_fSeconds);
  });
  row("Analog to Video Ratio 10 -> 16", [&](const CResampleFigures& f, char* t, size_t n) {
    timing(f.m_ratio, f.m_fAnalogSamples, t, n);
  });
  row("  against the copy of its samples", [](const CResampleFigures& f, char* t, size_t n) {
    const double copy = f.m_copy.m_fSeconds * f.m_fAnalogSamples / f.m_fSamples;
    std::snprintf(t, n, "%.1f x copy", f.m_ratio.m_fSeconds / copy);
  });
}
