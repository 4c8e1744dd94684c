// Inputs that the reader/writer fuzzer found to break reading or saving,
// reduced to what matters.
#include <gtest/gtest.h>

#include <filesystem>

#include "C3dFileBuilder.h"
#include "C3dTestUtil.h"
#include "TestSupport.h"
#include "c3d/C3d.h"

using testsupport::CTempDir;

// A parameter with many large dimensions and one of 0 holds no values; its
// dimension product must come out as 0 rather than overflow on the way.
TEST(FuzzRegression, ManyDimensionsWithAZeroRoundTrip) {
  CTempDir dir;
  CC3dFileBuilder b;
  b.AddStandardParameters();
  std::vector<int> dims(20, 255);
  dims.push_back(0);
  b.AddByte(1, "WIDE", {}, dims);
  b.Write(dir.File("in.c3d"));

  auto in = c3dtest::OpenC3d(dir.File("in.c3d"));
  ASSERT_TRUE(in->m_c3d.IsOpen());
  const CParam* wide = in->m_c3d.FindParam("POINT", "WIDE");
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide->DimensionProduct(), 0);
  EXPECT_EQ(wide->ElementCount(), 0);

  ASSERT_TRUE(c3dtest::SaveC3d(in->m_c3d, dir.File("out.c3d")));
  auto out = c3dtest::OpenC3d(dir.File("out.c3d"));
  ASSERT_TRUE(out->m_c3d.IsOpen());
  const CParam* again = out->m_c3d.FindParam("POINT", "WIDE");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->m_dims.size(), 21u);
  EXPECT_EQ(out->m_c3d.m_params.size(), in->m_c3d.m_params.size());
}

// Eight dimensions of 255 make 255^8 values, more than 64 bits count: the
// save must refuse the parameter, not write a record whose length wrapped.
TEST(FuzzRegression, HugeDimensionProductIsRefusedOnSave) {
  CTempDir dir;
  CC3dFileBuilder b;
  b.AddStandardParameters();
  b.Write(dir.File("in.c3d"));
  auto in = c3dtest::OpenC3d(dir.File("in.c3d"));
  ASSERT_TRUE(in->m_c3d.IsOpen());

  CParam huge;
  huge.m_strName = "HUGE";
  huge.m_nGroupId = 1;
  huge.m_nType = PARAM_FLOAT;
  huge.m_dims.assign(8, 255);
  EXPECT_GT(huge.DimensionProduct(), 32767);
  in->m_c3d.m_params.push_back(huge);

  std::string error;
  EXPECT_FALSE(in->m_c3d.SaveToFile(dir.File("out.c3d"), error));
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.c3d")));
}
