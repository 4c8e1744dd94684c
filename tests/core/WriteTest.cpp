// Saving: every format and storage kind, the exact bytes of conversions, and
// saves that fail without harming the file on disk.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "C3dFileBuilder.h"
#include "C3dTestUtil.h"
#include "TestSupport.h"

using c3dtest::OpenC3d;
using c3dtest::SaveC3d;
using testsupport::CTempDir;
using testsupport::ReadAll;
using testsupport::WriteAll;

namespace {

CC3dFileBuilder Sample(int processor, bool real) {
  CC3dFileBuilder b;
  b.m_nProcessor = processor;
  b.m_bReal = real;
  b.m_nPoints = 5;
  b.m_nChannels = 3;
  b.m_nSamplesPerFrame = 4;
  b.m_nFirstFrame = 1;
  b.m_nLastFrame = 37;
  b.m_events = {{"HS", 0.25f, 1}, {"TO", 0.5f, 0}};
  b.m_trailing = {9, 8, 7};
  b.AddStandardParameters();
  return b;
}

size_t FileCount(const std::string& folder) {
  size_t n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    (void)entry;
    ++n;
  }
  return n;
}

}  // namespace

TEST(Write, SavingUnchangedGivesTheSameFileInEveryFormat) {
  CTempDir dir;
  for (int processor : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
    for (bool real : {false, true}) {
      SCOPED_TRACE(testing::Message() << processor << (real ? " real" : " integer"));
      CC3dFileBuilder b = Sample(processor, real);
      b.Write(dir.File("in.c3d"));
      auto opened = OpenC3d(dir.File("in.c3d"));
      ASSERT_TRUE(opened->m_c3d.IsOpen());
      ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("out.c3d")));
      // The builder writes what the program writes, so the bytes agree.
      EXPECT_EQ(ReadAll(dir.File("out.c3d")), ReadAll(dir.File("in.c3d")));
      EXPECT_EQ(opened->m_c3d.m_strFileName, dir.File("out.c3d"));
      ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("again.c3d")));
      EXPECT_EQ(ReadAll(dir.File("again.c3d")), ReadAll(dir.File("out.c3d")));
    }
  }
}

TEST(Write, ChangingTheProcessorConvertsEveryNumber) {
  CTempDir dir;
  for (bool real : {false, true}) {
    CC3dFileBuilder pc = Sample(PROCESSOR_PC, real);
    pc.Write(dir.File("pc.c3d"));
    for (int processor : {PROCESSOR_DEC, PROCESSOR_SGI}) {
      SCOPED_TRACE(testing::Message() << processor << (real ? " real" : " integer"));
      auto opened = OpenC3d(dir.File("pc.c3d"));
      ASSERT_TRUE(opened->m_c3d.IsOpen());
      opened->m_c3d.m_nProcessor = processor;
      ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("converted.c3d")));
      // A file built directly in the target format has the same bytes.
      CC3dFileBuilder expected = Sample(processor, real);
      EXPECT_EQ(ReadAll(dir.File("converted.c3d")), expected.Build());
      auto reread = OpenC3d(dir.File("converted.c3d"));
      c3dtest::ExpectSameContent(opened->m_c3d, reread->m_c3d);
    }
  }
  // Spot checks of the rules themselves: 1.0 as DEC is 80 40 00 00, and SGI
  // swaps the 16-bit header words and record offsets.
  CC3dFileBuilder dec = Sample(PROCESSOR_DEC, true);
  dec.m_pointValues = {std::vector<double>(37 * 4, 1.0)};
  std::vector<unsigned char> bytes = dec.Build();
  size_t data = static_cast<size_t>(dec.m_nBuiltDataStart - 1) * 512;
  EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + static_cast<long>(data),
                                       bytes.begin() + static_cast<long>(data) + 4),
            (std::vector<unsigned char>{0x80, 0x40, 0x00, 0x00}));
  std::vector<unsigned char> sgi = Sample(PROCESSOR_SGI, false).Build();
  EXPECT_EQ(sgi[2], 0);
  EXPECT_EQ(sgi[3], 5);
  EXPECT_EQ(sgi[512 + 4 + 2 + 5], 0);  // offset of the POINT group record, high byte first
}

TEST(Write, AFailedSaveLeavesTheTargetAlone) {
  CTempDir dir;
  CC3dFileBuilder b = Sample(PROCESSOR_PC, false);
  b.Write(dir.File("source.c3d"));
  std::vector<unsigned char> before = ReadAll(dir.File("source.c3d"));

  // The blocks before the parameters were kept when the file was read: the
  // source may be gone.
  auto opened = OpenC3d(dir.File("source.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  opened->m_c3d.m_strFileName = dir.File("gone.c3d");
  std::string error = "x";
  EXPECT_TRUE(opened->m_c3d.SaveToFile(dir.File("copy.c3d"), error)) << error;
  EXPECT_TRUE(opened->m_prompt.m_messages.empty());

  // A model that was never read takes them from its file; one too short is
  // refused before anything is written.
  WriteAll(dir.File("target.c3d"), {1, 2, 3});
  opened->m_c3d.m_leadingBlocks.clear();
  WriteAll(dir.File("stub.c3d"), std::vector<unsigned char>(100, 0));
  opened->m_c3d.m_strFileName = dir.File("stub.c3d");
  EXPECT_FALSE(opened->m_c3d.SaveToFile(dir.File("target.c3d"), error));
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(opened->m_prompt.m_messages,
            std::vector<std::string>{"Insufficient data present in the header of the source file"});
  EXPECT_EQ(ReadAll(dir.File("target.c3d")), (std::vector<unsigned char>{1, 2, 3}));

  // A folder that does not exist: the system's reason comes back.
  opened->m_c3d.m_strFileName = dir.File("source.c3d");
  EXPECT_FALSE(opened->m_c3d.SaveToFile(dir.File("no/such/folder.c3d"), error));
  EXPECT_FALSE(error.empty());

  // No temporary file stays behind; the source is unchanged.
  EXPECT_EQ(FileCount(dir.Path()), 4u);
  EXPECT_EQ(ReadAll(dir.File("source.c3d")), before);
}

TEST(Write, SavingOverTheSourceKeepsItsPermissions) {
  CTempDir dir;
  CC3dFileBuilder b = Sample(PROCESSOR_SGI, true);
  b.Write(dir.File("self.c3d"));
  ::chmod(dir.File("self.c3d").c_str(), 0640);
  auto opened = OpenC3d(dir.File("self.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  // Grow the parameter section so that everything after it moves.
  opened->m_c3d.m_groups[0].m_strDescription = std::string(250, 'x');
  opened->m_c3d.m_groups[1].m_strDescription = std::string(250, 'y');
  ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("self.c3d")));
  struct stat st;
  ASSERT_EQ(::stat(dir.File("self.c3d").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(FileCount(dir.Path()), 1u);
  auto reread = OpenC3d(dir.File("self.c3d"));
  ASSERT_TRUE(reread->m_c3d.IsOpen());
  EXPECT_EQ(reread->m_c3d.m_nParamBlocks, 2);
  c3dtest::ExpectSameContent(opened->m_c3d, reread->m_c3d);
}

TEST(Write, StoresShorterThanTheHeaderAreWrittenAsZeros) {
  CTempDir dir;
  CC3dFileBuilder b = Sample(PROCESSOR_PC, true);
  b.Write(dir.File("in.c3d"));
  auto opened = OpenC3d(dir.File("in.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  opened->m_c3d.m_points[1].Resize(10);
  opened->m_c3d.m_analogs.pop_back();
  ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("out.c3d")));
  auto reread = OpenC3d(dir.File("out.c3d"));
  ASSERT_TRUE(reread->m_c3d.IsOpen());
  EXPECT_EQ(reread->m_c3d.AnalogCount(), 3);
  EXPECT_EQ(reread->m_c3d.m_points[1].Get(9), opened->m_c3d.m_points[1].Get(9));
  EXPECT_EQ(reread->m_c3d.m_points[1].Get(10), 0.0f);
  EXPECT_EQ(reread->m_c3d.m_analogs[2].Get(5), 0.0f);
  EXPECT_EQ(reread->m_c3d.m_points[4].Get(100), opened->m_c3d.m_points[4].Get(100));
}

TEST(Write, SavingThroughALinkReplacesTheLinkedFile) {
  CTempDir dir;
  Sample(PROCESSOR_PC, false).Write(dir.File("real.c3d"));
  std::filesystem::create_symlink(dir.File("real.c3d"), dir.File("link.c3d"));
  auto opened = OpenC3d(dir.File("link.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  opened->m_c3d.m_events.clear();
  ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("link.c3d")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.c3d")));
  EXPECT_TRUE(OpenC3d(dir.File("real.c3d"))->m_c3d.m_events.empty());
}

TEST(Write, RecordsWithoutANameAreLeftOut) {
  CTempDir dir;
  Sample(PROCESSOR_PC, false).Write(dir.File("in.c3d"));
  auto opened = OpenC3d(dir.File("in.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  size_t params = opened->m_c3d.m_params.size();
  // Its zero name length would end the section before the parameters after it.
  opened->m_c3d.m_params[0].m_strName.clear();
  ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("out.c3d")));
  auto reread = OpenC3d(dir.File("out.c3d"));
  EXPECT_EQ(reread->m_c3d.m_params.size(), params - 1);
  EXPECT_EQ(reread->m_c3d.m_params.back().m_strName, opened->m_c3d.m_params.back().m_strName);
}
