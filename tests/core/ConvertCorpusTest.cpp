// Storage conversion on real files: the same recording in every processor
// format and storage kind converts there and back without losing samples,
// and no file of the corpus can make the conversion crash.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "c3d/C3d.h"

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
