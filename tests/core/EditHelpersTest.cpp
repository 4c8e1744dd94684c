// The strict number texts of the parameter editor and the wave fills, against
// hand-worked values.
#include <gtest/gtest.h>

#include <cmath>

#include "c3d/NumberText.h"
#include "processing/WaveFill.h"

TEST(NumberText, OnlyTextThatPrintsBackTheSame) {
  int v;
  for (const char* good : {"0", "127", "-128", "-5"}) EXPECT_TRUE(ParseByteText(good, v)) << good;
  ParseByteText("-128", v);
  EXPECT_EQ(v, -128);
  for (const char* bad : {"128", "-129", "200", "007", "-0", "+5", "5 ", "1a", "", "-"}) {
    EXPECT_FALSE(ParseByteText(bad, v)) << bad;
    EXPECT_EQ(v, 0);
  }
  EXPECT_TRUE(ParseShortText("32767", v));
  EXPECT_TRUE(ParseShortText("-32768", v));
  EXPECT_EQ(v, -32768);
  EXPECT_FALSE(ParseShortText("32768", v));
  EXPECT_FALSE(ParseShortText("99999999999999", v));

  double d;
  EXPECT_TRUE(ParseRealText("-.5", d));
  EXPECT_EQ(d, -0.5);
  EXPECT_TRUE(ParseRealText("12.", d));
  EXPECT_EQ(d, 12.0);
  for (const char* bad : {"1.2.3", "1e5", ".", "-", " 1", "1-", "", "nan"}) EXPECT_FALSE(ParseRealText(bad, d)) << bad;
}

TEST(WaveFill, SineStartsEachCycleAtTheMiddle) {
  // 8 samples a cycle between 0 and 2: the middle, the top, the middle, the
  // bottom; a cycle of 2.5 samples restarts at samples 2, 5, 7, 10.
  float v[10];
  FillSineWave(v, 10, 8.0f, 0.0f, 2.0f, 1.0f);
  EXPECT_FLOAT_EQ(v[0], 1.0f);
  EXPECT_NEAR(v[2], 2.0f, 1e-6);
  EXPECT_NEAR(v[4], 1.0f, 1e-6);
  EXPECT_NEAR(v[6], 0.0f, 1e-6);
  EXPECT_NEAR(v[8], 1.0f, 1e-6);
  EXPECT_NEAR(v[1], 1.0f + std::sqrt(0.5f), 1e-6);

  FillSineWave(v, 10, 5.0f, -1.0f, 1.0f, 2.0f);
  const float step = 6.2831855f / 2.5f;
  const float expected[10] = {0, std::sin(step), 0, std::sin(step), std::sin(2 * step),
                              0, std::sin(step), 0, std::sin(step), std::sin(2 * step)};
  for (int i = 0; i < 10; ++i) EXPECT_NEAR(v[i], expected[i], 1e-6) << i;

  FillSineWave(v, 3, 100.0f, 4.0f, 8.0f, 0.0f);  // no frequency: the middle
  EXPECT_EQ(v[2], 6.0f);
}

TEST(WaveFill, SquareIsHighThenLowInEveryCycle) {
  float v[9];
  FillSquareWave(v, 9, 6.0f, -1.0f, 3.0f, 1.0f);  // 6 samples a cycle
  const float expected[9] = {3, 3, 3, -1, -1, -1, 3, 3, 3};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(v[i], expected[i]) << i;
  FillSquareWave(v, 9, 5.0f, 0.0f, 1.0f, 1.0f);  // 5 samples: switches at 2, 5, 7
  const float uneven[9] = {1, 1, 0, 0, 0, 1, 1, 0, 0};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(v[i], uneven[i]) << i;
}
