#include "C3dTestUtil.h"

#include <cmath>
#include <cstring>

namespace c3dtest {

std::unique_ptr<COpened> OpenC3d(const std::string& path) {
  auto opened = std::make_unique<COpened>();
  opened->m_c3d.m_strFileName = path;
  opened->m_c3d.Open();
  return opened;
}

bool SaveC3d(CC3d& c3d, const std::string& path) {
  std::string error;
  bool ok = c3d.SaveToFile(path, error);
  EXPECT_TRUE(ok) << "saving " << path << ": " << error;
  return ok;
}

double PointReal(const CC3d& c3d, int point, size_t at) {
  const CVideo& store = c3d.m_points[static_cast<size_t>(point)];
  double v = store.Get(at);
  if (!store.IsReal() && at % 4 != 3) v *= std::fabs(c3d.m_header.m_fScale);
  return v;
}

double AnalogValue(const CC3d& c3d, int channel, size_t at) {
  return c3d.m_analogs[static_cast<size_t>(channel)].Get(at);
}

namespace {

bool SameFloatBits(float a, float b) {
  return std::memcmp(&a, &b, 4) == 0 || (std::isnan(a) && std::isnan(b));
}

}  // namespace

void ExpectSameContent(const CC3d& a, const CC3d& b, double tolerance, bool compareParameters) {
  const HeaderRecord& ha = a.m_header;
  const HeaderRecord& hb = b.m_header;
  EXPECT_EQ(ha.m_nPoints, hb.m_nPoints);
  EXPECT_EQ(ha.m_nAnalogChannels, hb.m_nAnalogChannels);
  EXPECT_EQ(ha.m_nSamplesPerFrame, hb.m_nSamplesPerFrame);
  EXPECT_EQ(ha.m_nFirstFrame, hb.m_nFirstFrame);
  EXPECT_EQ(ha.m_nLastFrame, hb.m_nLastFrame);
  EXPECT_EQ(ha.m_nMaxGap, hb.m_nMaxGap);
  EXPECT_TRUE(SameFloatBits(ha.m_fFrameRate, hb.m_fFrameRate)) << ha.m_fFrameRate << " " << hb.m_fFrameRate;
  EXPECT_EQ(std::fabs(ha.m_fHeaderScale), std::fabs(hb.m_fHeaderScale));
  EXPECT_EQ(a.m_trailing, b.m_trailing);

  ASSERT_EQ(a.m_events.size(), b.m_events.size());
  for (size_t i = 0; i < a.m_events.size(); ++i) {
    EXPECT_EQ(a.m_events[i].m_strLabel, b.m_events[i].m_strLabel);
    EXPECT_TRUE(SameFloatBits(a.m_events[i].m_fTime, b.m_events[i].m_fTime));
    EXPECT_EQ(a.m_events[i].m_nDisplay, b.m_events[i].m_nDisplay);
    EXPECT_EQ(a.m_events[i].m_nFrame, b.m_events[i].m_nFrame);
  }

  if (compareParameters) {
    ASSERT_EQ(a.m_groups.size(), b.m_groups.size());
    for (size_t i = 0; i < a.m_groups.size(); ++i) {
      EXPECT_EQ(a.m_groups[i].m_strName, b.m_groups[i].m_strName);
      EXPECT_EQ(a.m_groups[i].m_nId, b.m_groups[i].m_nId);
      EXPECT_EQ(a.m_groups[i].m_bLocked, b.m_groups[i].m_bLocked);
      EXPECT_EQ(a.m_groups[i].m_strDescription, b.m_groups[i].m_strDescription);
    }
    ASSERT_EQ(a.m_params.size(), b.m_params.size());
    for (size_t i = 0; i < a.m_params.size(); ++i) {
      const CParam& pa = a.m_params[i];
      const CParam& pb = b.m_params[i];
      SCOPED_TRACE(pa.m_strName);
      EXPECT_EQ(pa.m_strName, pb.m_strName);
      EXPECT_EQ(pa.m_nGroupId, pb.m_nGroupId);
      EXPECT_EQ(pa.m_bLocked, pb.m_bLocked);
      EXPECT_EQ(pa.m_strDescription, pb.m_strDescription);
      EXPECT_EQ(pa.m_nType, pb.m_nType);
      EXPECT_EQ(pa.m_dims, pb.m_dims);
      EXPECT_EQ(pa.m_strings, pb.m_strings);
      if (pa.m_strName == "DATA_START") continue;
      ASSERT_EQ(pa.m_cells.size(), pb.m_cells.size());
      for (size_t k = 0; k < pa.m_cells.size(); ++k) {
        if (pa.m_nType == PARAM_FLOAT)
          EXPECT_TRUE(SameFloatBits(pa.FloatAt(static_cast<int>(k)), pb.FloatAt(static_cast<int>(k))))
              << "element " << k;
        else
          EXPECT_EQ(pa.m_cells[k], pb.m_cells[k]) << "element " << k;
      }
    }
  }

  ASSERT_EQ(a.m_points.size(), b.m_points.size());
  ASSERT_EQ(a.m_analogs.size(), b.m_analogs.size());
  bool sameKind = a.IsReal() == b.IsReal();
  int failures = 0;
  for (size_t j = 0; j < a.m_points.size() && failures < 5; ++j) {
    ASSERT_EQ(a.m_points[j].Size(), b.m_points[j].Size());
    for (size_t at = 0; at < a.m_points[j].Size() && failures < 5; ++at) {
      if (sameKind) {
        float va = a.m_points[j].Get(at), vb = b.m_points[j].Get(at);
        if (!SameFloatBits(va, vb)) {
          ADD_FAILURE() << "point " << j << " value " << at << ": " << va << " vs " << vb;
          ++failures;
        }
      } else {
        double va = PointReal(a, static_cast<int>(j), at), vb = PointReal(b, static_cast<int>(j), at);
        if (std::isnan(va) && std::isnan(vb)) continue;
        if (!(std::fabs(va - vb) <= tolerance)) {
          ADD_FAILURE() << "point " << j << " value " << at << ": " << va << " vs " << vb;
          ++failures;
        }
      }
    }
  }
  for (size_t i = 0; i < a.m_analogs.size() && failures < 5; ++i) {
    ASSERT_EQ(a.m_analogs[i].Size(), b.m_analogs[i].Size());
    for (size_t at = 0; at < a.m_analogs[i].Size() && failures < 5; ++at) {
      float va = a.m_analogs[i].Get(at), vb = b.m_analogs[i].Get(at);
      bool same = sameKind ? SameFloatBits(va, vb) : std::fabs(va - vb) <= tolerance;
      if (!same) {
        ADD_FAILURE() << "analog " << i << " sample " << at << ": " << va << " vs " << vb;
        ++failures;
      }
    }
  }
}

}  // namespace c3dtest
