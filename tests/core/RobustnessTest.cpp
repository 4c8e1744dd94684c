// Damaged files: random byte changes to a small valid file never crash,
// hang or run away with memory; every outcome is an open or an orderly
// failure, and whatever opens can be saved and opened again.
#include <gtest/gtest.h>

#include <random>

#include "C3dFileBuilder.h"
#include "C3dTestUtil.h"
#include "TestSupport.h"

using c3dtest::OpenC3d;
using testsupport::CTempDir;
using testsupport::WriteAll;

TEST(Robustness, MutatedFilesOpenOrFailInAnOrderlyWay) {
  CTempDir dir;
  std::mt19937 random(20240611);
  uint64_t limit = CC3d::StoreLimit();
  CC3d::SetStoreLimit(64u << 20);  // a damaged header may ask for gigabytes
  for (int processor : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
    CC3dFileBuilder b;
    b.m_nProcessor = processor;
    b.m_bReal = processor != PROCESSOR_PC;
    b.m_nPoints = 2;
    b.m_nChannels = 2;
    b.m_nSamplesPerFrame = 2;
    b.m_nLastFrame = 6;
    b.m_events = {{"HS", 0.1f, 1}};
    b.AddStandardParameters();
    b.AddStrings(3, "NAMES", {"one", "two"}, 5);
    b.AddGroup("TRIAL", -3);
    const std::vector<unsigned char> good = b.Build();
    for (int round = 0; round < 120; ++round) {
      std::vector<unsigned char> bytes = good;
      int changes = 1 + static_cast<int>(random() % 8);
      for (int c = 0; c < changes; ++c) {
        size_t at = random() % bytes.size();
        // Header words and the parameter section are where damage matters.
        if (random() % 2) at = random() % std::min<size_t>(bytes.size(), 1536);
        bytes[at] = static_cast<unsigned char>(random());
      }
      if (random() % 10 == 0) bytes.resize(random() % bytes.size());
      WriteAll(dir.File("m.c3d"), bytes);
      auto opened = OpenC3d(dir.File("m.c3d"));
      if (!opened->m_c3d.IsOpen()) {
        EXPECT_EQ(opened->m_prompt.m_messages.size() >= 1, true);
        continue;
      }
      std::string error;
      if (round % 10 == 0 && opened->m_c3d.SaveToFile(dir.File("saved.c3d"), error)) {
        auto reread = OpenC3d(dir.File("saved.c3d"));
        EXPECT_TRUE(reread->m_c3d.IsOpen()) << "round " << round;
      }
    }
  }
  CC3d::SetStoreLimit(limit);
}
