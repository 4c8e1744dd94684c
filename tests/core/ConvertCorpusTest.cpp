// Storage conversion on real files: the same recording in every processor
// format and storage kind converts there and back without losing samples,
// and no file of the corpus can make the conversion crash.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "c3d/C3d.h"
#include "document/StorageFit.h"

using namespace testsupport;

namespace {

const char* const kVariants[] = {
    "c3dorg_s01_eb015_pc_int.c3d",  "c3dorg_s01_eb015_pc_real.c3d",
    "c3dorg_s01_eb015_dec_int.c3d", "c3dorg_s01_eb015_dec_real.c3d",
    "c3dorg_s01_eb015_sgi_int.c3d", "c3dorg_s01_eb015_sgi_real.c3d",
    "c3dorg_s02_pc_int.c3d",        "c3dorg_s02_pc_real.c3d",
    "c3dorg_s02_dec_int.c3d",       "c3dorg_s02_dec_real.c3d",
    "c3dorg_s02_sgi_int.c3d",       "c3dorg_s02_sgi_real.c3d",
};

bool OpenFile(CC3d& c3d, const std::string& path) {
  c3d.m_strFileName = path;
  return c3d.Open() == 1;
}

// Every sample of every store, points first, as held (floats of the value).
std::vector<float> AllSamples(const CC3d& c3d) {
  std::vector<float> out;
  for (const CVideo& p : c3d.m_points)
    for (size_t i = 0; i < p.Size(); ++i) out.push_back(p.Get(i));
  for (const CAnalog& a : c3d.m_analogs)
    for (size_t i = 0; i < a.Size(); ++i) out.push_back(a.Get(i));
  return out;
}

}  // namespace

TEST(ConvertCorpus, SameRecordingRoundTripsInEveryFormat) {
  REQUIRE_CORPUS();
  for (const char* name : kVariants) {
    SCOPED_TRACE(name);
    CC3d c3d;
    ASSERT_TRUE(OpenFile(c3d, CorpusFile(name)));
    const bool real = c3d.IsReal();
    const float scale = c3d.m_header.m_fScale;
    const double s = std::fabs(scale);
    const std::vector<float> before = AllSamples(c3d);
    const size_t pointValues = before.size() - [&] {
      size_t n = 0;
      for (const CAnalog& a : c3d.m_analogs) n += a.Size();
      return n;
    }();

    ASSERT_TRUE(c3d.ConvertStorage(false));
    EXPECT_NE(c3d.IsReal(), real);
    ASSERT_TRUE(c3d.ConvertStorage(false));
    EXPECT_EQ(c3d.IsReal(), real);
    EXPECT_EQ(c3d.m_header.m_fScale, scale);
    const std::vector<float> after = AllSamples(c3d);
    ASSERT_EQ(after.size(), before.size());

    int wrong = 0;
    for (size_t i = 0; i < before.size(); ++i) {
      const float b = before[i], a = after[i];
      if (!real) {
        // Integer counts survive the trip through floats exactly.
        if (a != b) ++wrong;
        continue;
      }
      const bool coordinate = i < pointValues && i % 4 != 3;
      // Integer storage keeps whole counts only: a coordinate comes back
      // within one count (the scale), an analog sample or residual word
      // within one unit, unless it never fitted 16 bits.
      const double limit = coordinate ? s : 1.0;
      const double counts = coordinate ? b / s : b;
      if (std::fabs(counts) > 32767.0) continue;
      if (!(std::fabs(static_cast<double>(a) - b) <= limit * 1.0001)) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(ConvertCorpus, EveryFileConvertsWithoutCrashing) {
  REQUIRE_CORPUS();
  for (const std::string& path : CorpusFiles()) {
    SCOPED_TRACE(path);
    CC3d c3d;
    if (!OpenFile(c3d, path)) continue;
    for (bool rescale : {true, false}) {
      if (c3d.IsReal()) c3d.ComputeOptimumScale();
      bool first = c3d.ConvertStorage(rescale);
      bool second = c3d.ConvertStorage(rescale);
      // Only a zero scale is refused, and then both ways.
      EXPECT_EQ(first, second);
    }
  }
}

namespace {

// Coordinates and calibrated analog samples, each with the resolution of
// integer storage in `c3d` (one count) and whether it is a coordinate of an
// invalid sample.
struct CValues {
  std::vector<double> m_values, m_resolution;
  std::vector<bool> m_invalid;
};

CValues PhysicalValues(const CC3d& c3d) {
  CValues out;
  const double s = std::fabs(c3d.m_header.m_fScale);
  for (const CVideo& p : c3d.m_points)
    for (size_t i = 0; i + 3 < p.Size(); i += 4)
      for (size_t a = 0; a < 3; ++a) {
        out.m_values.push_back(c3d.IsReal() ? p.Get(i + a) : p.Get(i + a) * s);
        out.m_resolution.push_back(s);
        out.m_invalid.push_back(p.Get(i + 3) < 0.0f);
      }
  for (int c = 0; c < c3d.AnalogCount(); ++c) {
    const double o = c3d.GetAnalogOffset(c), k = c3d.GetAnalogScale(c) * c3d.GetAnalogGenScale();
    for (size_t i = 0; i < c3d.m_analogs[c].Size(); ++i) {
      out.m_values.push_back((c3d.m_analogs[c].Get(i) - o) * k);
      out.m_resolution.push_back(std::fabs(k));
      out.m_invalid.push_back(false);
    }
  }
  return out;
}

// Values of `before` that `after` (integer storage) does not hold within
// one count (and the float rounding of a new scale); a coordinate that was
// not a number must have become an invalid sample.
int ValuesLost(const CValues& before, const CValues& after) {
  if (before.m_values.size() != after.m_values.size()) return -1;
  int lost = 0;
  for (size_t i = 0; i < before.m_values.size(); ++i) {
    const double b = before.m_values[i];
    if (!std::isfinite(b)) {
      if (!after.m_invalid[i]) ++lost;
      continue;
    }
    const double d = std::fabs(b - after.m_values[i]);
    if (!(d <= after.m_resolution[i] * 1.0001 + 1e-6 * std::fabs(b))) ++lost;
  }
  return lost;
}

}  // namespace

TEST(ConvertCorpus, RealFilesGoToIntegersWithTheirValuesOrAreRefused) {
  REQUIRE_CORPUS();
  int refused = 0, real = 0;
  for (const std::string& path : CorpusFiles()) {
    SCOPED_TRACE(path);
    CC3d c3d;
    if (!OpenFile(c3d, path) || !c3d.IsReal()) continue;
    ++real;
    const CValues before = PhysicalValues(c3d);
    // Without rescaling: what fits converts with its values, the rest is
    // refused before anything changes.
    if (c3d.IntegerMisfits().empty()) {
      ASSERT_TRUE(c3d.ConvertStorage(false));
      EXPECT_EQ(ValuesLost(before, PhysicalValues(c3d)), 0);
      continue;
    }
    ++refused;
    // Rescaled: every file fits and keeps its values.
    EXPECT_TRUE(PrepareIntegerConversion(c3d, true).empty());
    ASSERT_TRUE(c3d.ConvertStorage(true));
    EXPECT_EQ(ValuesLost(before, PhysicalValues(c3d)), 0);
  }
  EXPECT_GT(real, 0);
  EXPECT_GT(refused, 0);
}
