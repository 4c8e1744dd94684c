// The parameter section: record layout in both directions, the section
// framing on save (block count, padding, gap blocks, DATA_START), and chains
// that are damaged or run past the declared blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "C3dFileBuilder.h"
#include "C3dTestUtil.h"
#include "TestSupport.h"
#include "c3d/FileStream.h"
#include "processing/TextExport.h"

using c3dtest::OpenC3d;
using c3dtest::SaveC3d;
using testsupport::CTempDir;
using testsupport::ReadAll;
using testsupport::WriteAll;

namespace {

CC3dFileBuilder Base() {
  CC3dFileBuilder b;
  b.m_nPoints = 1;
  b.m_nChannels = 1;
  b.m_nLastFrame = 3;
  b.AddStandardParameters();
  return b;
}

// Offset of the first byte of `text` in `bytes` from `from`, or -1.
long Find(const std::vector<unsigned char>& bytes, const std::string& text, size_t from = 0) {
  for (size_t i = from; i + text.size() <= bytes.size(); ++i)
    if (std::memcmp(&bytes[i], text.data(), text.size()) == 0) return static_cast<long>(i);
  return -1;
}

}  // namespace

TEST(ParameterRecords, CharacterParameterWithShortText) {
  CTempDir dir;
  CC3dFileBuilder b = Base();
  CC3dFileBuilder::Param p;
  p.m_nGroupId = 1;
  p.m_strName = "NAMES";
  p.m_nType = -1;
  p.m_dims = {4, 3};
  p.m_strData = std::string("ABCDEFGH\0xyz", 12);  // 8 letters, then a zero byte
  b.m_params.push_back(p);
  // Labels padded with zeros instead of blanks, the first one empty.
  p.m_strName = "ZEROPAD";
  p.m_strData = std::string("\0\0\0\0M1\0\0M2\0\0", 12);
  b.m_params.push_back(p);
  b.Write(dir.File("c.c3d"));
  auto opened = OpenC3d(dir.File("c.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  const CParam* names = opened->m_c3d.FindParam("point", "names");
  ASSERT_NE(names, nullptr);
  EXPECT_EQ(names->m_strings, (std::vector<std::string>{"ABCD", "EFGH", ""}));
  EXPECT_EQ(names->ElementCount(), 3);
  EXPECT_EQ(opened->m_c3d.FindParam("POINT", "ZEROPAD")->m_strings,
            (std::vector<std::string>{"", "M1", "M2"}));

  ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("saved.c3d")));
  std::vector<unsigned char> bytes = ReadAll(dir.File("saved.c3d"));
  long at = Find(bytes, "NAMES");
  ASSERT_GT(at, 0);
  // name, offset (2), type, dimension count, 2 dimensions, then the data.
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[static_cast<size_t>(at) + 5 + 6]), 12),
            "ABCDEFGH    ");
  at = Find(bytes, "ZEROPAD");
  ASSERT_GT(at, 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[static_cast<size_t>(at) + 7 + 6]), 12),
            "    M1  M2  ");
}

TEST(ParameterRecords, StringsAreStrippedAndWrittenAtTheirWidth) {
  CTempDir dir;
  CC3dFileBuilder b = Base();
  b.AddStrings(1, "UNITS", {"  mm", "deg "}, 4);
  b.Write(dir.File("c.c3d"));
  auto opened = OpenC3d(dir.File("c.c3d"));
  CParam* units = opened->m_c3d.FindParam("POINT", "UNITS");
  ASSERT_NE(units, nullptr);
  EXPECT_EQ(units->m_strings, (std::vector<std::string>{"mm", "deg"}));
  units->m_strings[1] = "radians";  // longer than the width: cut on writing
  ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("saved.c3d")));
  auto reread = OpenC3d(dir.File("saved.c3d"));
  EXPECT_EQ(reread->m_c3d.FindParam("POINT", "UNITS")->m_strings,
            (std::vector<std::string>{"mm", "radi"}));
}

TEST(ParameterRecords, EveryByteOfDescriptionsAndCharacterValuesSurvives) {
  // A description is its length's worth of bytes, a zero byte included;
  // character values lose their padding blanks only, not tabs or line ends.
  CTempDir dir;
  CC3dFileBuilder b = Base();
  const std::string groupText("walk\0trial 3", 12);
  const std::string paramText("side\0L", 6);
  b.AddGroup("SUBJECT", -3, groupText);
  CC3dFileBuilder::Param p;
  p.m_nGroupId = 3;
  p.m_strName = "NOTES";
  p.m_nType = -1;
  p.m_dims = {8, 2};
  p.m_strData = std::string("\tleft\r\n ") + std::string("  x\ty   ", 8);
  p.m_strDescription = paramText;
  b.m_params.push_back(p);
  b.Write(dir.File("c.c3d"));

  auto opened = OpenC3d(dir.File("c.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  const std::vector<std::string> values = {"\tleft\r\n", "x\ty"};
  auto check = [&](const CC3d& c3d) {
    ASSERT_GE(c3d.FindGroup("SUBJECT"), 0);
    EXPECT_EQ(c3d.m_groups[c3d.FindGroup("SUBJECT")].m_strDescription, groupText);
    const CParam* notes = c3d.FindParam("SUBJECT", "NOTES");
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->m_strDescription, paramText);
    EXPECT_EQ(notes->m_strings, values);
  };
  check(opened->m_c3d);
  ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("saved.c3d")));
  check(OpenC3d(dir.File("saved.c3d"))->m_c3d);

  ASSERT_EQ(ExportParameters(opened->m_c3d, dir.File("p.dst"), ParameterExportKind::DstText),
            ExportResult::Written);
  const std::vector<unsigned char> text = ReadAll(dir.File("p.dst"));
  EXPECT_GE(Find(text, groupText + "\r\n"), 0);
  EXPECT_GE(Find(text, paramText + "\r\n"), 0);
  EXPECT_GE(Find(text, "\tleft\r\n\r\n"), 0);
}

TEST(ParameterRecords, LockedNamesGroupsWithoutNamesAndOrphans) {
  CTempDir dir;
  CC3dFileBuilder b = Base();
  b.m_groups[1].m_bLocked = true;
  b.AddGroup(std::string("\0XYZ", 4), -5, "nameless");  // skipped, offset followed
  b.AddByte(2, "GAIN", {200});
  b.m_params.back().m_bLocked = true;
  b.AddInt(9, "ORPHAN", {7, -3});  // no group 9: kept and written back
  b.Write(dir.File("p.c3d"));
  auto opened = OpenC3d(dir.File("p.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  CC3d& c3d = opened->m_c3d;
  ASSERT_EQ(c3d.m_groups.size(), 2u);
  EXPECT_TRUE(c3d.m_groups[1].m_bLocked);
  const CParam* gain = c3d.FindParam("ANALOG", "GAIN");
  ASSERT_NE(gain, nullptr);
  EXPECT_TRUE(gain->m_bLocked);
  EXPECT_EQ(gain->NumericValue(0), 200);
  EXPECT_EQ(c3d.GetValueText("ANALOG", "GAIN", 0, 0), "200");
  c3d.SetValueText("ANALOG", "GAIN", 0, "-1");
  EXPECT_EQ(gain->NumericValue(0), 255);
  EXPECT_EQ(c3d.m_params.back().m_strName, "ORPHAN");

  ASSERT_TRUE(SaveC3d(c3d, dir.File("saved.c3d")));
  std::vector<unsigned char> bytes = ReadAll(dir.File("saved.c3d"));
  long at = Find(bytes, "GAIN");
  ASSERT_GT(at, 2);
  EXPECT_EQ(bytes[static_cast<size_t>(at) - 2], 0xFC);  // -4: locked
  EXPECT_EQ(bytes[static_cast<size_t>(at) - 1], 2);
  at = Find(bytes, "ANALOG");
  EXPECT_EQ(bytes[static_cast<size_t>(at) - 2], 0xFA);  // -6: locked group
  EXPECT_LT(Find(bytes, "nameless"), 0);
  auto reread = OpenC3d(dir.File("saved.c3d"));
  ASSERT_EQ(reread->m_c3d.m_params.back().m_strName, "ORPHAN");
  EXPECT_EQ(reread->m_c3d.m_params.back().NumericValue(1), -3);
}

TEST(ParameterRecords, AllTypesInEveryProcessorFormat) {
  CTempDir dir;
  for (int processor : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
    SCOPED_TRACE(processor);
    CC3dFileBuilder b = Base();
    b.m_nProcessor = processor;
    b.AddFloat(2, "SCALE", {1.5, -0.001, 0, 3.0e10}, {2, 2});
    b.AddInt(2, "OFFSET", {-32768, 32767, 2048});
    b.AddByte(2, "BITS", {12});
    b.Write(dir.File("t.c3d"));
    auto opened = OpenC3d(dir.File("t.c3d"));
    ASSERT_TRUE(opened->m_c3d.IsOpen());
    CC3d& c3d = opened->m_c3d;
    const CParam* scale = c3d.FindParam("ANALOG", "SCALE");
    ASSERT_NE(scale, nullptr);
    EXPECT_EQ(scale->m_dims, (std::vector<uint8_t>{2, 2}));
    EXPECT_EQ(scale->FloatAt(0), 1.5f);
    EXPECT_EQ(scale->FloatAt(1), -0.001f);
    EXPECT_EQ(scale->FloatAt(2), 0.0f);
    EXPECT_EQ(scale->FloatAt(3), 3.0e10f);
    EXPECT_EQ(c3d.GetValueText("ANALOG", "SCALE", 0, 3), "1.500");
    EXPECT_EQ(c3d.FindParam("ANALOG", "OFFSET")->NumericValue(0), -32768);
    EXPECT_EQ(c3d.FindParam("ANALOG", "OFFSET")->NumericValue(1), 32767);
    EXPECT_EQ(c3d.FindParam("ANALOG", "BITS")->NumericValue(0), 12);
    // Written back in each of the formats, the values stay.
    for (int target : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
      c3d.m_nProcessor = target;
      ASSERT_TRUE(SaveC3d(c3d, dir.File("t2.c3d")));
      auto reread = OpenC3d(dir.File("t2.c3d"));
      c3dtest::ExpectSameContent(c3d, reread->m_c3d);
    }
  }
}

TEST(ParameterSection, DamagedRecordsEndReadingInAnOrderlyWay) {
  CTempDir dir;
  CC3dFileBuilder b = Base();
  b.AddInt(2, "AFTER", {1});
  std::vector<unsigned char> good = b.Build();
  long used = Find(good, "USED", 512);  // POINT:USED, the first parameter
  ASSERT_GT(used, 0);
  size_t offsetAt = static_cast<size_t>(used) + 4;

  // A negative offset stops reading: that parameter and the rest are dropped.
  std::vector<unsigned char> bytes = good;
  bytes[offsetAt] = 0xFF;
  bytes[offsetAt + 1] = 0xFF;
  WriteAll(dir.File("neg.c3d"), bytes);
  auto opened = OpenC3d(dir.File("neg.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  EXPECT_EQ(opened->m_c3d.m_groups.size(), 2u);
  EXPECT_TRUE(opened->m_c3d.m_params.empty());

  // Unknown types and impossible dimensions are skipped; the chain goes on.
  bytes = good;
  bytes[offsetAt + 2] = 3;  // type 3
  WriteAll(dir.File("type.c3d"), bytes);
  opened = OpenC3d(dir.File("type.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  EXPECT_EQ(opened->m_c3d.FindParameter("POINT", "USED"), -1);
  EXPECT_GE(opened->m_c3d.FindParameter("ANALOG", "AFTER"), 0);

  // Dimensions whose product is far beyond what a record can hold.
  CC3dFileBuilder big = Base();
  CC3dFileBuilder::Param p;
  p.m_nGroupId = 1;
  p.m_strName = "HUGE";
  p.m_nType = 4;
  p.m_dims = {255, 255, 255, 255};
  p.m_bRaw = true;
  p.m_strData = "junk";
  big.m_params.insert(big.m_params.begin(), p);
  big.Write(dir.File("dims.c3d"));
  opened = OpenC3d(dir.File("dims.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  EXPECT_EQ(opened->m_c3d.FindParameter("POINT", "HUGE"), -1);
  EXPECT_GE(opened->m_c3d.FindParameter("ANALOG", "RATE"), 0);

  // A name that runs off the end of the file.
  bytes = std::vector<unsigned char>(good.begin(), good.begin() + used + 2);
  bytes[static_cast<size_t>(used) - 2] = 100;
  WriteAll(dir.File("cut.c3d"), bytes);
  opened = OpenC3d(dir.File("cut.c3d"));
  EXPECT_TRUE(opened->m_c3d.IsOpen());  // with zero frames and the short-data message
  EXPECT_TRUE(opened->m_c3d.m_params.empty());
}

TEST(ParameterSection, ChainPastTheDeclaredBlocksIsFollowedBeforeTheData) {
  CTempDir dir;
  CC3dFileBuilder b = Base();
  std::vector<std::string> labels;
  for (int i = 0; i < 40; ++i) labels.push_back("LABEL" + std::to_string(i));
  b.AddStrings(3, "LONG", labels, 30);  // 1200 bytes: the section needs 3 blocks
  b.AddGroup("EXTRA", -3, "after the long one");
  b.AddInt(3, "LAST", {42});
  b.m_nDeclaredBlocks = 1;
  b.Write(dir.File("chain.c3d"));
  ASSERT_EQ(b.m_nBuiltDataStart, 5);
  auto opened = OpenC3d(dir.File("chain.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  CC3d& c3d = opened->m_c3d;
  EXPECT_GE(c3d.FindParameter("EXTRA", "LAST"), 0);
  EXPECT_EQ(c3d.m_nParamBlocks, 3);
  EXPECT_EQ(c3d.m_nGapBlocks, 0);
  ASSERT_TRUE(SaveC3d(c3d, dir.File("saved.c3d")));
  auto reread = OpenC3d(dir.File("saved.c3d"));
  c3dtest::ExpectSameContent(c3d, reread->m_c3d);

  // When the chain jumps beyond the data start, reading stops as declared.
  CC3dFileBuilder far = Base();
  far.m_nDeclaredBlocks = 1;
  far.m_nGapBlocks = 2;
  std::vector<unsigned char> bytes = far.Build();
  long rate = Find(bytes, "RATE", 512);  // POINT:RATE
  ASSERT_GT(rate, 0);
  bytes[static_cast<size_t>(rate) + 4] = 0x00;  // offset 0x4000: far into the data
  bytes[static_cast<size_t>(rate) + 5] = 0x40;
  WriteAll(dir.File("far.c3d"), bytes);
  opened = OpenC3d(dir.File("far.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  EXPECT_EQ(opened->m_c3d.m_params.size(), 3u);  // USED, SCALE, RATE
  EXPECT_EQ(opened->m_c3d.m_nParamBlocks, 1);
  EXPECT_EQ(opened->m_c3d.m_nGapBlocks, 2);
}

TEST(ParameterSection, GapBlocksAreKeptAndWrittenAfterTheSection) {
  CTempDir dir;
  CC3dFileBuilder b = Base();
  b.m_nGapBlocks = 2;
  b.m_nGapFill = 0x5A;
  b.Write(dir.File("gap.c3d"));
  auto opened = OpenC3d(dir.File("gap.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  CC3d& c3d = opened->m_c3d;
  EXPECT_EQ(c3d.m_nGapBlocks, 2);
  ASSERT_EQ(c3d.m_gapBuffer.size(), 1024u);
  EXPECT_EQ(c3d.m_gapBuffer[0], 0x5A);
  // Grow the section to two blocks: the gap follows it and the data start
  // counts it.
  c3d.FindParam("POINT", "LABELS")->m_strDescription = std::string(255, 'd');
  c3d.FindParam("ANALOG", "LABELS")->m_strDescription = std::string(255, 'e');
  ASSERT_TRUE(SaveC3d(c3d, dir.File("saved.c3d")));
  EXPECT_EQ(c3d.m_nParamBlocks, 2);
  EXPECT_EQ(c3d.m_header.m_nDataStart, 2 + 2 + 2);
  std::vector<unsigned char> bytes = ReadAll(dir.File("saved.c3d"));
  EXPECT_EQ(bytes[3 * 512], 0x5A);
  EXPECT_EQ(bytes[5 * 512 - 1], 0x5A);
  auto reread = OpenC3d(dir.File("saved.c3d"));
  c3dtest::ExpectSameContent(c3d, reread->m_c3d);
  EXPECT_EQ(reread->m_c3d.m_gapBuffer, c3d.m_gapBuffer);
}

TEST(ParameterSection, BlockCountNeverShrinksAndDataStartIsFixedUp) {
  CTempDir dir;
  for (int processor : {PROCESSOR_PC, PROCESSOR_SGI}) {
    CC3dFileBuilder b = Base();
    b.m_nProcessor = processor;
    b.m_nDeclaredBlocks = 10;
    b.Write(dir.File("ten.c3d"));
    ASSERT_EQ(b.m_nBuiltDataStart, 12);
    auto opened = OpenC3d(dir.File("ten.c3d"));
    ASSERT_TRUE(opened->m_c3d.IsOpen());
    CC3d& c3d = opened->m_c3d;
    c3d.SetValueText("POINT", "DATA_START", 0, "99");  // wrong on purpose
    ASSERT_TRUE(SaveC3d(c3d, dir.File("saved.c3d")));
    EXPECT_EQ(c3d.m_nParamBlocks, 10);
    EXPECT_EQ(c3d.m_header.m_nDataStart, 12);
    EXPECT_EQ(c3d.GetValueText("POINT", "DATA_START", 0, 0), "12");
    std::vector<unsigned char> bytes = ReadAll(dir.File("saved.c3d"));
    EXPECT_EQ(bytes[512 + 2], 10);
    for (size_t i = 2 * 512; i < 11 * 512; ++i) ASSERT_EQ(bytes[i], 0) << i;
    auto reread = OpenC3d(dir.File("saved.c3d"));
    EXPECT_EQ(reread->m_c3d.m_header.m_nDataStart, 12);
    EXPECT_EQ(reread->m_c3d.GetValueText("POINT", "DATA_START", 0, 0), "12");
    c3dtest::ExpectSameContent(c3d, reread->m_c3d);
  }
}

TEST(ParameterSection, SectionEndingOnABlockBoundaryGrowsByOneBlock) {
  CTempDir dir;
  CC3dFileBuilder b = Base();
  // Pad a description so that the closing zero byte is the block's last byte.
  b.Build();
  size_t room = (512 - b.m_nBuiltSectionBytes % 512) % 512;
  size_t first = std::min<size_t>(room, 200);
  b.m_groups[0].m_strDescription += std::string(first, '.');
  b.m_groups[1].m_strDescription += std::string(room - first, '.');
  b.Build();
  ASSERT_EQ(b.m_nBuiltSectionBytes, 512u);
  b.Write(dir.File("edge.c3d"));
  ASSERT_EQ(b.m_nBuiltBlocks, 1);
  auto opened = OpenC3d(dir.File("edge.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("saved.c3d")));
  EXPECT_EQ(opened->m_c3d.m_nParamBlocks, 2);
  EXPECT_EQ(opened->m_c3d.m_header.m_nDataStart, b.m_nBuiltDataStart + 1);
  auto reread = OpenC3d(dir.File("saved.c3d"));
  c3dtest::ExpectSameContent(opened->m_c3d, reread->m_c3d);
}

TEST(ParameterSection, StandAloneSectionForExport) {
  CTempDir dir;
  CC3dFileBuilder b = Base();
  b.m_nProcessor = PROCESSOR_DEC;
  b.Write(dir.File("p.c3d"));
  auto opened = OpenC3d(dir.File("p.c3d"));
  CFileStream stream;
  ASSERT_TRUE(stream.Open(dir.File("params.bin"), CFileStream::READ_WRITE_CREATE));
  ASSERT_TRUE(opened->m_c3d.WriteParameterStream(stream));
  ASSERT_TRUE(stream.Close());
  std::vector<unsigned char> bytes = ReadAll(dir.File("params.bin"));
  ASSERT_EQ(bytes.size(), 512u);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[1], 80);
  EXPECT_EQ(bytes[2], opened->m_c3d.m_header.m_nDataStart - 2);
  EXPECT_EQ(bytes[3], 85);
  EXPECT_EQ(std::memcmp(&bytes[6], "POINT", 5), 0);
}

TEST(ParameterSection, OversizedParameterRefusesTheSave) {
  CTempDir dir;
  CC3dFileBuilder b = Base();
  b.Write(dir.File("p.c3d"));
  auto opened = OpenC3d(dir.File("p.c3d"));
  CParam* scale = opened->m_c3d.FindParam("POINT", "SCALE");
  scale->m_dims = {255, 40};  // 10200 floats: more than a record can hold
  scale->ResizeToDimensions();
  std::string error;
  EXPECT_FALSE(opened->m_c3d.SaveToFile(dir.File("p.c3d"), error));
  EXPECT_TRUE(error.empty());
  ASSERT_EQ(opened->m_prompt.m_messages.size(), 1u);
  EXPECT_NE(opened->m_prompt.m_messages[0].find("SCALE"), std::string::npos);
  EXPECT_EQ(ReadAll(dir.File("p.c3d")), b.Build());  // the file is untouched
}
