// Conversion between integer and real storage, and the optimum point scale.
#include <gtest/gtest.h>

#include <cmath>

#include "ModelFixture.h"

using namespace testsupport;

TEST(ConvertStorage, IntegerToRealScalesPointsAndKeepsWords) {
  auto c3d = CModelBuilder().Points(1).Analogs(1).Frames(3).SamplesPerFrame(2).Build();
  SetPointFrame(*c3d, 0, 0, 123, -7, 0, 0x0305);
  SetPointFrame(*c3d, 0, 1, 1, 2, 3, -1);
  SetAnalogValue(*c3d, 0, 2, 1, -32768);

  ASSERT_TRUE(c3d->ConvertStorage(false));
  EXPECT_TRUE(c3d->IsReal());
  EXPECT_TRUE(c3d->m_points[0].IsReal());
  EXPECT_TRUE(c3d->m_analogs[0].IsReal());
  EXPECT_EQ(PointValue(*c3d, 0, 0, 0), 12.3f);
  EXPECT_EQ(PointValue(*c3d, 0, 0, 1), static_cast<float>(-7 * 0.1f));
  EXPECT_EQ(PointValue(*c3d, 0, 0, 3), 773.0f);  // residual word unchanged
  EXPECT_EQ(PointValue(*c3d, 0, 1, 3), -1.0f);
  EXPECT_EQ(AnalogValue(*c3d, 0, 2, 1), -32768.0f);
  EXPECT_EQ(c3d->m_header.m_fScale, -0.1f);
  EXPECT_EQ(Values(*c3d, "POINT", "SCALE")[0], -0.1f);
  // Residual and cameras read the same after the conversion.
  std::string mask;
  EXPECT_FLOAT_EQ(c3d->GetCameraMask(0, 0, mask), 0.5f);
  EXPECT_EQ(mask, "1100000");
}

TEST(ConvertStorage, RealToIntegerTruncatesTowardZero) {
  auto c3d = CModelBuilder().Points(1).Analogs(1).Frames(3).Real().Build();
  SetPointFrame(*c3d, 0, 0, 12.34, -12.34, 0.09, 773.0);
  SetPointFrame(*c3d, 0, 1, 0, 0, 0, -1.0);
  // A marker missing as "not a number" becomes invalid, not a valid origin.
  SetPointFrame(*c3d, 0, 2, 5.0, std::nan(""), 5.0, 0.0);
  SetAnalogValue(*c3d, 0, 0, 0, -3.9);
  SetAnalogValue(*c3d, 0, 0, 1, 2.9);

  ASSERT_TRUE(c3d->ConvertStorage(true));
  EXPECT_FALSE(c3d->IsReal());
  EXPECT_FALSE(c3d->m_points[0].IsReal());
  EXPECT_EQ(PointValue(*c3d, 0, 0, 0), 123);
  EXPECT_EQ(PointValue(*c3d, 0, 0, 1), -123);
  EXPECT_EQ(PointValue(*c3d, 0, 0, 2), 0);
  EXPECT_EQ(PointValue(*c3d, 0, 0, 3), 773);
  EXPECT_EQ(PointValue(*c3d, 0, 1, 3), -1);
  EXPECT_EQ(PointValue(*c3d, 0, 2, 0), 0);
  EXPECT_EQ(PointValue(*c3d, 0, 2, 3), -1);
  EXPECT_EQ(AnalogValue(*c3d, 0, 0, 0), -3);
  EXPECT_EQ(AnalogValue(*c3d, 0, 0, 1), 2);
  EXPECT_EQ(c3d->m_header.m_fScale, 0.1f);
  EXPECT_EQ(Values(*c3d, "POINT", "SCALE")[0], 0.1f);
}

TEST(ConvertStorage, IntegerRoundTripIsExactAtAwkwardScales) {
  // Every 16-bit count must come back after integer -> real -> integer, even
  // where counts x scale rounds to a float just below the true product.
  for (float scale : {0.1f, 0.07f, 1.0f / 3.0f, 0.5834f, 3.7f}) {
    SCOPED_TRACE(scale);
    const int frames = 65536 / 3 + 1;
    auto c3d = CModelBuilder().Points(1).Analogs(0).Frames(frames).Scale(scale).Build();
    for (int i = 0; i < frames * 3; ++i)
      SetPointValue(*c3d, 0, i / 3, i % 3, std::min(-32768 + i, 32767));
    ASSERT_TRUE(c3d->ConvertStorage(false));
    ASSERT_TRUE(c3d->ConvertStorage(false));
    int wrong = 0;
    for (int i = 0; i < frames * 3; ++i)
      if (PointValue(*c3d, 0, i / 3, i % 3) != std::min(-32768 + i, 32767)) ++wrong;
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(c3d->m_header.m_fScale, scale);
  }
}

TEST(ConvertStorage, OutOfRangeAnalogRescaledOnlyWhenAllowedAndRecordable) {
  auto make = [] {
    auto c3d = CModelBuilder().Points(0).Analogs(2).Frames(2).SamplesPerFrame(1).Real().Build();
    SetAnalogValue(*c3d, 0, 0, 0, 65535.0);
    SetAnalogValue(*c3d, 0, 1, 0, -1000.0);
    SetAnalogValue(*c3d, 1, 0, 0, 100.5);
    return c3d;
  };

  // Option on, scale and general scale 1: the peak becomes 29490 counts and
  // ANALOG:SCALE records the factor; the channel that fits is untouched.
  auto c3d = make();
  ASSERT_TRUE(c3d->ConvertStorage(true));
  EXPECT_EQ(AnalogValue(*c3d, 0, 0, 0), 29490);
  EXPECT_EQ(AnalogValue(*c3d, 0, 1, 0), -449);  // -1000 x 0.44999 truncated
  EXPECT_NEAR(Values(*c3d, "ANALOG", "SCALE")[0], 65535.0 / 29490.3, 1e-4);
  EXPECT_EQ(Values(*c3d, "ANALOG", "SCALE")[1], 1.0);
  EXPECT_EQ(AnalogValue(*c3d, 1, 0, 0), 100);

  // Option off: samples wrap to 16 bits (the bits of unsigned data survive).
  c3d = make();
  ASSERT_TRUE(c3d->ConvertStorage(false));
  EXPECT_EQ(AnalogValue(*c3d, 0, 0, 0), -1);
  EXPECT_EQ(Values(*c3d, "ANALOG", "SCALE")[0], 1.0);

  // A calibrated channel is never rescaled.
  c3d = make();
  SetScalar(*c3d, "ANALOG", "GEN_SCALE", PARAM_FLOAT, 2.0);
  ASSERT_TRUE(c3d->ConvertStorage(true));
  EXPECT_EQ(AnalogValue(*c3d, 0, 0, 0), -1);

  // Without a float ANALOG:SCALE element to hold the factor, rescaling would
  // lose the channel's units: the samples wrap instead.
  c3d = make();
  SetList(*c3d, "ANALOG", "SCALE", PARAM_INTEGER, {1, 1});
  ASSERT_TRUE(c3d->ConvertStorage(true));
  EXPECT_EQ(AnalogValue(*c3d, 0, 0, 0), -1);
  EXPECT_EQ(Values(*c3d, "ANALOG", "SCALE")[0], 1.0);
  c3d = make();
  DropParam(*c3d, "ANALOG", "SCALE");
  ASSERT_TRUE(c3d->ConvertStorage(true));
  EXPECT_EQ(AnalogValue(*c3d, 0, 0, 0), -1);
}

TEST(ConvertStorage, ZeroScaleIsRefusedWithoutChange) {
  for (bool real : {false, true}) {
    SCOPED_TRACE(real ? "real" : "integer");
    auto c3d = CModelBuilder().Points(1).Analogs(1).Frames(2).Real(real).Scale(0.0f).Build();
    SetPointValue(*c3d, 0, 0, 0, 250);
    EXPECT_FALSE(c3d->ConvertStorage(true));
    EXPECT_EQ(c3d->IsReal(), real);
    EXPECT_EQ(c3d->m_points[0].IsReal(), real);
    EXPECT_EQ(c3d->m_analogs[0].IsReal(), real);
    EXPECT_EQ(PointValue(*c3d, 0, 0, 0), 250);
    EXPECT_EQ(c3d->m_header.m_fScale, 0.0f);
  }
}

TEST(ConvertStorage, PointScaleParameterInItsOwnTypeOrAbsent) {
  auto c3d = CModelBuilder().Points(1).Analogs(0).Frames(1).Scale(2.0f).Build();
  SetScalar(*c3d, "POINT", "SCALE", PARAM_INTEGER, 2);
  ASSERT_TRUE(c3d->ConvertStorage(false));
  EXPECT_EQ(Values(*c3d, "POINT", "SCALE")[0], -2);

  DropParam(*c3d, "POINT", "SCALE");
  ASSERT_TRUE(c3d->ConvertStorage(false));
  EXPECT_EQ(c3d->m_header.m_fScale, 2.0f);
}

TEST(OptimumScale, LargestCoordinateMapsTo32000Counts) {
  auto c3d = CModelBuilder().Points(2).Analogs(0).Frames(3).Real().Scale(-1.0f).Build();
  for (int j = 0; j < 2; ++j)
    for (int f = 0; f < 3; ++f) SetPointFrame(*c3d, j, f, 10, -20, 30, 0);
  // Invalid samples count too.
  SetPointFrame(*c3d, 1, 2, 0, -1600.0, 5, -1);

  c3d->ComputeOptimumScale();
  EXPECT_FLOAT_EQ(c3d->m_header.m_fScale, -0.05f);
  EXPECT_FLOAT_EQ(c3d->m_header.m_fHeaderScale, -0.05f);
  EXPECT_EQ(c3d->GetValueText("POINT", "SCALE", 0, 6), "-0.050000");
  EXPECT_EQ(Values(*c3d, "POINT", "SCALE")[0], c3d->m_header.m_fScale);

  ASSERT_TRUE(c3d->ConvertStorage(false));
  EXPECT_EQ(PointValue(*c3d, 1, 2, 1), -32000);
  EXPECT_EQ(PointValue(*c3d, 0, 0, 2), 600);
}

TEST(OptimumScale, OnlyInRealStorageAndWithSomethingToFit) {
  auto c3d = CModelBuilder().Points(1).Analogs(0).Frames(2).Build();
  c3d->ComputeOptimumScale();
  EXPECT_EQ(c3d->m_header.m_fScale, 0.1f);

  // All coordinates zero: a zero scale would make the file unconvertible.
  c3d = CModelBuilder().Points(1).Analogs(0).Frames(2).Real().Scale(-1.0f).Build();
  for (int f = 0; f < 2; ++f) SetPointFrame(*c3d, 0, f, 0, 0, 0, 0);
  c3d->ComputeOptimumScale();
  EXPECT_EQ(c3d->m_header.m_fScale, -1.0f);
  EXPECT_TRUE(c3d->ConvertStorage(false));

  // A tiny scale is kept exactly rather than rounded to six decimals.
  c3d = CModelBuilder().Points(1).Analogs(0).Frames(1).Real().Build();
  SetPointFrame(*c3d, 0, 0, 0.004, 0, 0, 0);
  c3d->ComputeOptimumScale();
  EXPECT_FLOAT_EQ(Values(*c3d, "POINT", "SCALE")[0], -0.004f * 0.00003125f);

  CRecordingPrompt prompt;
  c3d = CModelBuilder().Points(1).Analogs(0).Frames(1).Real().Build();
  c3d->SetPrompt(&prompt);
  DropParam(*c3d, "POINT", "SCALE");
  c3d->ComputeOptimumScale();
  ASSERT_EQ(prompt.m_messages.size(), 1u);
  EXPECT_EQ(prompt.m_messages[0], "Warning : The parameter POINT:SCALE was not found");
  EXPECT_FLOAT_EQ(c3d->m_header.m_fScale, -(PointPattern(0, 0, 2) * 0.00003125f));
}

TEST(ConvertStorage, MisfitsNameEachStoreThatDoesNotFitOnce) {
  auto c3d = CModelBuilder().Points(2).Analogs(3).Frames(3).SamplesPerFrame(2).Real().Scale(-0.01f).Build();
  for (int p = 0; p < 2; ++p)
    for (int f = 0; f < 3; ++f) SetPointFrame(*c3d, p, f, 1.0, 2.0, 3.0, 0.0);
  for (int c = 0; c < 3; ++c)
    for (int f = 0; f < 3; ++f) SetAnalogValue(*c3d, c, f, 0, 5.0);
  SetPointValue(*c3d, 1, 1, 2, 327.68);  // 32768 counts: one too many
  SetPointValue(*c3d, 1, 2, 0, -500.0);
  SetPointValue(*c3d, 0, 0, 0, 327.67);  // 32767 counts: fits
  SetAnalogValue(*c3d, 0, 2, 1, -32768.9);  // truncates to -32768: fits
  SetAnalogValue(*c3d, 2, 1, 1, 32768.0);
  SetAnalogValue(*c3d, 2, 2, 0, 99999.0);
  SetAnalogValue(*c3d, 1, 0, 0, std::nan(""));  // stored as 0, as always

  std::vector<CIntegerMisfit> misfits = c3d->IntegerMisfits();
  ASSERT_EQ(misfits.size(), 2u);
  EXPECT_TRUE(misfits[0].m_bPoint);
  EXPECT_EQ(misfits[0].m_nIndex, 1);
  EXPECT_FLOAT_EQ(misfits[0].m_fValue, 327.68f);
  EXPECT_FALSE(misfits[1].m_bPoint);
  EXPECT_EQ(misfits[1].m_nIndex, 2);
  EXPECT_EQ(misfits[1].m_fValue, 32768.0f);

  ASSERT_TRUE(c3d->ConvertStorage(false));
  EXPECT_TRUE(c3d->IntegerMisfits().empty()) << "integer storage always fits";
}

namespace {

// (sample - offset) x scale x general scale of every sample of a channel.
std::vector<double> Physical(const CC3d& c3d, int channel) {
  std::vector<double> out;
  const CAnalog& a = c3d.m_analogs[channel];
  const double o = c3d.GetAnalogOffset(channel), s = c3d.GetAnalogScale(channel);
  const double g = c3d.GetAnalogGenScale();
  for (size_t i = 0; i < a.Size(); ++i) out.push_back((a.Get(i) - o) * s * g);
  return out;
}

// One real channel of two samples per frame over two frames.
std::unique_ptr<CC3d> Channel(const std::vector<double>& samples, double scale, double offset,
                              double genScale) {
  auto c3d = CModelBuilder().Points(0).Analogs(1).Frames(2).SamplesPerFrame(2).Real().Build();
  for (size_t i = 0; i < samples.size(); ++i) SetAnalogValue(*c3d, 0, int(i / 2), int(i % 2), samples[i]);
  SetList(*c3d, "ANALOG", "SCALE", PARAM_FLOAT, {scale});
  SetList(*c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {offset});
  SetScalar(*c3d, "ANALOG", "GEN_SCALE", PARAM_FLOAT, genScale);
  return c3d;
}

}  // namespace

TEST(ConvertStorage, FittedAnalogChannelsKeepTheirValues) {
  // Offset 0, scale and general scale 1: the very numbers of the option's
  // own rescale inside ConvertStorage.
  {
    auto fitted = Channel({65535.0, -1000.0, 12.5, 0.0}, 1.0, 0.0, 1.0);
    auto reference = Channel({65535.0, -1000.0, 12.5, 0.0}, 1.0, 0.0, 1.0);
    ASSERT_TRUE(fitted->FitAnalogToIntegers(0));
    ASSERT_TRUE(fitted->ConvertStorage(false));
    ASSERT_TRUE(reference->ConvertStorage(true));
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(AnalogValue(*fitted, 0, i / 2, i % 2), AnalogValue(*reference, 0, i / 2, i % 2));
    EXPECT_EQ(Values(*fitted, "ANALOG", "SCALE"), Values(*reference, "ANALOG", "SCALE"));
  }
  struct CCase {
    const char* m_pszName;
    std::vector<double> m_samples;
    double m_fScale, m_fOffset, m_fGen;
    bool m_bScaleKept;  // an offset shift alone suffices
  };
  const CCase cases[] = {
      {"calibrated, offset 100", {65535.0, -1000.0, 40000.7, 100.0}, 0.5, 100.0, 2.0, false},
      // Unsigned data around an offset at the top of the range: samples and
      // offset move together, every value exact.
      {"unsigned, offset 32767", {32757.0, 32809.0, 32767.0, 32790.0}, -0.01158, 32767.0, 1.0, true},
      // A spread of 65536 counts between offset and samples needs a scale too.
      {"unsigned, offset -32768", {32768.0, 32768.0, -100.0, 0.0}, 1.0, -32768.0, 1.0, false},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.m_pszName);
    auto c3d = Channel(c.m_samples, c.m_fScale, c.m_fOffset, c.m_fGen);
    const std::vector<double> before = Physical(*c3d, 0);
    ASSERT_FALSE(c3d->IntegerMisfits().empty());
    ASSERT_TRUE(c3d->FitAnalogToIntegers(0));
    EXPECT_TRUE(c3d->IntegerMisfits().empty());
    ASSERT_TRUE(c3d->ConvertStorage(false));
    const double resolution = std::fabs(c3d->GetAnalogScale(0) * c3d->GetAnalogGenScale());
    if (c.m_bScaleKept) {
      EXPECT_FLOAT_EQ(c3d->GetAnalogScale(0), float(c.m_fScale));
    }
    const std::vector<double> after = Physical(*c3d, 0);
    for (size_t i = 0; i < before.size(); ++i) {
      EXPECT_LE(std::fabs(after[i] - before[i]), c.m_bScaleKept ? 1e-9 : resolution * 1.0001)
          << "sample " << i << ": " << before[i] << " became " << after[i];
      EXPECT_LE(std::fabs(AnalogValue(*c3d, 0, int(i / 2), int(i % 2))), 29491.0);
    }
  }
}

TEST(ConvertStorage, FitIsRefusedWhenAnalogScaleCannotRecordIt) {
  // The new scale needs a float element of ANALOG:SCALE for the channel.
  auto integerScale = Channel({65535.0, 0.0, 0.0, 0.0}, 1.0, 0.0, 1.0);
  SetList(*integerScale, "ANALOG", "SCALE", PARAM_INTEGER, {1});
  auto noScale = Channel({65535.0, 0.0, 0.0, 0.0}, 1.0, 0.0, 1.0);
  DropParam(*noScale, "ANALOG", "SCALE");
  for (CC3d* c3d : {integerScale.get(), noScale.get()}) {
    const std::vector<CParam> params = c3d->m_params;
    EXPECT_FALSE(c3d->FitAnalogToIntegers(0));
    EXPECT_EQ(AnalogValue(*c3d, 0, 0, 0), 65535.0f);
    ASSERT_EQ(c3d->m_params.size(), params.size());
    for (size_t i = 0; i < params.size(); ++i) EXPECT_EQ(c3d->m_params[i].m_cells, params[i].m_cells);
    EXPECT_EQ(c3d->IntegerMisfits().size(), 1u);
  }
}
