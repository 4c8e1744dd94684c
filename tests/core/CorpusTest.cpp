// Every real file of the corpus: opens (or fails with the reader's message
// where it is really broken), survives a save unchanged, and keeps its values
// through a change of processor format.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "C3dTestUtil.h"
#include "TestSupport.h"

using c3dtest::ExpectSameContent;
using c3dtest::OpenC3d;
using c3dtest::SaveC3d;
using testsupport::CorpusFile;
using testsupport::CorpusFiles;
using testsupport::CTempDir;
using testsupport::ReadAll;

namespace {

// Files that are really broken, with the message their open shows.
const std::map<std::string, std::string> kBrokenFiles = {
    {"btk_empty.c3d", "Header : Could not read data from file"},
    {"c3dio_simple_skeleton.c3d", "Header: Could not determine file format"},
};

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

TEST(Corpus, BrokenFilesFailWithTheirMessage) {
  REQUIRE_CORPUS();
  for (const auto& [name, message] : kBrokenFiles) {
    SCOPED_TRACE(name);
    auto opened = OpenC3d(CorpusFile(name));
    EXPECT_FALSE(opened->m_c3d.IsOpen());
    ASSERT_EQ(opened->m_prompt.m_messages.size(), 1u);
    EXPECT_EQ(opened->m_prompt.m_messages[0], message);
    // Nothing stays after a failed open.
    EXPECT_TRUE(opened->m_c3d.m_params.empty());
    EXPECT_TRUE(opened->m_c3d.m_points.empty());
  }
}

TEST(Corpus, EveryFileSurvivesSavingUnchanged) {
  REQUIRE_CORPUS();
  CTempDir dir;
  int opened = 0;
  for (const std::string& path : CorpusFiles()) {
    std::string name = BaseName(path);
    if (kBrokenFiles.count(name)) continue;
    SCOPED_TRACE(name);
    auto original = OpenC3d(path);
    ASSERT_TRUE(original->m_c3d.IsOpen()) << (original->m_prompt.m_messages.empty()
                                                  ? std::string()
                                                  : original->m_prompt.m_messages[0]);
    ++opened;
    EXPECT_TRUE(original->m_prompt.m_messages.empty());

    std::string first = dir.File("first.c3d");
    std::string second = dir.File("second.c3d");
    ASSERT_TRUE(SaveC3d(original->m_c3d, first));
    auto reread = OpenC3d(first);
    ASSERT_TRUE(reread->m_c3d.IsOpen());
    EXPECT_TRUE(reread->m_c3d.m_OpenErrors.empty());
    ExpectSameContent(original->m_c3d, reread->m_c3d);
    EXPECT_EQ(reread->m_c3d.m_nProcessor, original->m_c3d.m_nProcessor);

    ASSERT_TRUE(SaveC3d(reread->m_c3d, second));
    EXPECT_TRUE(ReadAll(first) == ReadAll(second)) << "second save differs";
  }
  EXPECT_GT(opened, 100);
}

TEST(Corpus, ResavingInAnotherProcessorFormatKeepsEveryValue) {
  REQUIRE_CORPUS();
  CTempDir dir;
  for (const std::string& path : CorpusFiles()) {
    std::string name = BaseName(path);
    if (kBrokenFiles.count(name)) continue;
    auto original = OpenC3d(path);
    ASSERT_TRUE(original->m_c3d.IsOpen()) << name;
    for (int processor : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
      if (processor == original->m_c3d.m_nProcessor) continue;
      SCOPED_TRACE(name + " as " + ProcessorName(processor));
      auto converted = OpenC3d(path);
      converted->m_c3d.m_nProcessor = processor;
      std::string target = dir.File("converted.c3d");
      ASSERT_TRUE(SaveC3d(converted->m_c3d, target));
      auto reread = OpenC3d(target);
      ASSERT_TRUE(reread->m_c3d.IsOpen());
      EXPECT_EQ(reread->m_c3d.m_nProcessor, processor);
      ExpectSameContent(original->m_c3d, reread->m_c3d);
    }
  }
}

TEST(Corpus, SixFormatVariantsOfOneRecordingReadTheSame) {
  REQUIRE_CORPUS();
  const char* variants[] = {"pc_int", "dec_int", "sgi_int", "pc_real", "dec_real", "sgi_real"};
  auto reference = OpenC3d(CorpusFile("c3dorg_s01_eb015_pc_int.c3d"));
  auto realReference = OpenC3d(CorpusFile("c3dorg_s01_eb015_pc_real.c3d"));
  ASSERT_TRUE(reference->m_c3d.IsOpen());
  ASSERT_TRUE(realReference->m_c3d.IsOpen());
  double scale = std::fabs(reference->m_c3d.m_header.m_fScale);
  for (const char* variant : variants) {
    SCOPED_TRACE(variant);
    auto other = OpenC3d(CorpusFile(std::string("c3dorg_s01_eb015_") + variant + ".c3d"));
    ASSERT_TRUE(other->m_c3d.IsOpen());
    const CC3d& same = other->m_c3d.IsReal() ? realReference->m_c3d : reference->m_c3d;
    ExpectSameContent(same, other->m_c3d);
    // Integer and real storage agree within the resolution of the scale.
    ExpectSameContent(reference->m_c3d, other->m_c3d, scale, false);
  }
}

TEST(Corpus, ParameterChainsPastTheDeclaredBlocksAreKept) {
  REQUIRE_CORPUS();
  struct Case {
    const char* name;
    int blocks;
    int gap;
    const char* group;
    const char* param;
  };
  // Records beyond the declared block count, before the data start.
  const Case cases[] = {
      {"btk_parameter_overflow.c3d", 49, 0, nullptr, nullptr},
      {"c3dorg_s35_mega_emg.c3d", 2, 0, nullptr, nullptr},
      {"c3dorg_s13_dance.c3d", 6, 0, "ANALOG", "LABELS"},
      {"c3dorg_s15_fp1.c3d", 5, 0, "FORCE_PLATFORM", "USED"},
      // Chains that end inside the declared section, or jump into garbage
      // beyond the data start, keep the declared count and their gap blocks.
      {"c3dorg_s08_testcpi.c3d", 9, 9, "POINT", "LABELS"},
      {"c3dorg_s02_sgi_int.c3d", 11, 0, "POINT", "LABELS"},
      {"c3dorg_s20_phasespace.c3d", 0, 1, nullptr, nullptr},
      {"c3dorg_s18_bad_parameter_section.c3d", 12, 0, "POINT", "LABELS"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto opened = OpenC3d(CorpusFile(c.name));
    ASSERT_TRUE(opened->m_c3d.IsOpen());
    EXPECT_EQ(opened->m_c3d.m_nParamBlocks, c.blocks);
    EXPECT_EQ(opened->m_c3d.m_nGapBlocks, c.gap);
    if (c.group) {
      EXPECT_GE(opened->m_c3d.FindParameter(c.group, c.param), 0);
    }
  }
  // The last parameters of the overflowing file are there.
  auto overflow = OpenC3d(CorpusFile("btk_parameter_overflow.c3d"));
  EXPECT_EQ(overflow->m_c3d.m_params.size(), 115u);
}

TEST(Corpus, ChannelCountInHeaderWordThreeIsReadByAnalogUsed) {
  REQUIRE_CORPUS();
  // Word 3 holds 16 (the channel count) with 7 samples per frame; the data
  // are 16 channels x 7 samples and fill the file exactly.
  auto opened = OpenC3d(CorpusFile("c3dorg_s24_motionmonitor.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  EXPECT_EQ(opened->m_c3d.AnalogCount(), 16);
  EXPECT_EQ(opened->m_c3d.m_header.m_nAnalogPerFrame, 112);
  EXPECT_TRUE(opened->m_c3d.m_trailing.empty());
  // Its labels are padded with zero bytes, not blanks.
  EXPECT_EQ(opened->m_c3d.FindParam("ANALOG", "LABELS")->m_strings[7], "A8");
}

TEST(Corpus, TruncatedFileOpensWithItsMessage) {
  REQUIRE_CORPUS();
  auto opened = OpenC3d(CorpusFile("ezc3d_optotrak_truncated.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  ASSERT_EQ(opened->m_c3d.m_OpenErrors.size(), 1u);
  EXPECT_EQ(opened->m_c3d.m_OpenErrors[0], "Found 0 bytes of data but expected 864 bytes");
  EXPECT_EQ(opened->m_c3d.FrameCount(), 1149);
  // Frames past the end of the file are zero.
  EXPECT_EQ(opened->m_c3d.m_points[0].Get(4 * 1000), 0.0f);
  EXPECT_NE(opened->m_c3d.m_points[0].Get(4 * 10 + 3), 0.0f);
}
