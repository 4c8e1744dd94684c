// The DST reader on files written here (including damaged ones), and Read
// From DST on a document: what is replaced, what is left alone, the
// messages, and Undo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocModel.h"
#include "FakeHost.h"
#include "ModelFixture.h"
#include "TestSupport.h"
#include "c3d/Gcd.h"
#include "document/DstImport.h"

using testsupport::CTempDir;
using Lines = std::vector<std::string>;

namespace {

std::vector<float> Floats(std::initializer_list<float> values) { return values; }

}  // namespace

TEST(GcdReader, RecognisesDstFilesAndIndexesSections) {
  CTempDir dir;
  CRecordingPrompt prompt;
  CGcd gcd;
  gcd.SetPrompt(&prompt);

  testsupport::WriteText(dir.File("a.dst"),
                         "\r\n   \r\n#!dst-2.0 lower case\r\n!LASI-3 x\r\n1 2 3\r\n$GCD\r\n"
                         "!R_KNEE  \r\n\r\n");
  ASSERT_TRUE(gcd.Open(dir.File("a.dst")));
  gcd.IndexSections();
  EXPECT_EQ(gcd.SectionNames(), (Lines{"!LASI", "$GCD", "!R_KNEE"}));
  EXPECT_TRUE(prompt.m_messages.empty());

  testsupport::WriteText(dir.File("b.dst"), "\n !DST\n!A\n1\n");
  EXPECT_FALSE(gcd.Open(dir.File("b.dst")));
  EXPECT_FALSE(gcd.Open(dir.File("missing.dst")));
  testsupport::WriteAll(dir.File("c.dst"), {0x00, 0xff, '#', '!', 'D', 'S', 'T', '\n'});
  EXPECT_FALSE(gcd.Open(dir.File("c.dst")));
  EXPECT_EQ(prompt.m_messages, (Lines{"Selected file is not a GCD file", "Could not open file",
                                      "Selected file is not a GCD file"}));
  EXPECT_FALSE(gcd.IsOpen());
}

TEST(GcdReader, SplitsFieldsAtSingleBlanks) {
  float v[6] = {9, 9, 9, 9, 9, 9};
  EXPECT_EQ(CGcd::SplitNumbers("  1.5 -2e1  +3 x .25", v, 6), 6);
  EXPECT_EQ(std::vector<float>(v, v + 6), Floats({1.5f, -20.0f, 0.0f, 3.0f, 0.0f, 0.25f}));
  EXPECT_EQ(CGcd::SplitNumbers("1 2 3 4 5", v, 3), 3);
  EXPECT_EQ(CGcd::SplitNumbers("   ", v, 3), 0);
  EXPECT_EQ(CGcd::SectionName("!L ASI-3"), "!L");
  EXPECT_EQ(CGcd::SectionName("!LASI-3 extra"), "!LASI");
}

TEST(GcdReader, ReadsRowsAndSpreadValues) {
  CTempDir dir;
  CRecordingPrompt prompt;
  CGcd gcd;
  gcd.SetPrompt(&prompt);
  testsupport::WriteText(dir.File("a.dst"),
                         "#!DST\r\n"
                         "!P1-3\r\n1 2 3 \r\n\r\n4 5 6 7\r\n"
                         "!P2-3\r\n1 2 3\r\n4 5\r\n7 8 9\r\n"
                         "!A1\r\n1 2 3\r\n4 5 6\r\n7\r\n"
                         "!Short\r\n1 2 3\r\n");
  ASSERT_TRUE(gcd.Open(dir.File("a.dst")));
  gcd.IndexSections();

  std::vector<float> rows(6, -1.0f);
  EXPECT_TRUE(gcd.ReadRows("!p1", rows.data(), 2, 3));
  EXPECT_EQ(rows, Floats({1, 2, 3, 4, 5, 6}));

  // A short row fails with its message; the rows before it are kept.
  std::vector<float> shortRow(9, -1.0f);
  EXPECT_FALSE(gcd.ReadRows("!P2", shortRow.data(), 3, 3));
  EXPECT_EQ(shortRow, Floats({1, 2, 3, -1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(prompt.m_messages, Lines{"Not enough data in a line"});

  // Values may be spread over lines; at most `columns` come from one line,
  // and the next section header ends the section.
  std::vector<float> values(6, -1.0f);
  EXPECT_FALSE(gcd.ReadValues("!A1", values.data(), 3, 2));
  EXPECT_EQ(values, Floats({1, 2, 4, 5, 7, -1}));
  std::vector<float> spread(7, -1.0f);
  EXPECT_TRUE(gcd.ReadValues("!A1", spread.data(), 1, 7));
  EXPECT_EQ(spread, Floats({1, 2, 3, 4, 5, 6, 7}));

  // A section that ends early, or none at all, is not a complete read.
  std::vector<float> few(6, -1.0f);
  EXPECT_FALSE(gcd.ReadRows("!Short", few.data(), 2, 3));
  EXPECT_FALSE(gcd.ReadValues("!Short", few.data(), 2, 3));
  EXPECT_FALSE(gcd.ReadRows("!None", few.data(), 1, 3));
  EXPECT_EQ(prompt.m_messages.size(), 1u);
}

// Whatever a file holds, the reader stores only what it was asked for and
// looks at no more than the first kMaxLineLength bytes of a line.
TEST(GcdReader, LongLinesAndBinaryDataStayInBounds) {
  CTempDir dir;
  std::string text = "#!DST\n!" + std::string(CGcd::kMaxLineLength + 10, 'N') + "\n";
  text += "!Long-3\n";
  std::string longLine = "1 2 3";
  while (longLine.size() < CGcd::kMaxLineLength + 1000) longLine += " 9";
  text += longLine + "\n4 5 6\n";
  text += "!Bin\n";
  text += std::string("\x01\xff\x00 7 \x00\x00\x00 8\r\r\n", 14);
  text += std::string(100000, '\0') + "\n";
  std::vector<unsigned char> bytes(text.begin(), text.end());
  testsupport::WriteAll(dir.File("big.dst"), bytes);

  CRecordingPrompt prompt;
  CGcd gcd;
  gcd.SetPrompt(&prompt);
  ASSERT_TRUE(gcd.Open(dir.File("big.dst")));
  gcd.IndexSections();
  Lines names = gcd.SectionNames();
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0].size(), CGcd::kMaxLineLength);
  EXPECT_EQ(names[1], "!Long");

  std::vector<float> rows(6 + 1, -1.0f);
  EXPECT_TRUE(gcd.ReadRows("!Long", rows.data(), 2, 3));
  EXPECT_EQ(rows, Floats({1, 2, 3, 4, 5, 6, -1}));

  std::vector<float> bin(5, -1.0f);
  EXPECT_TRUE(gcd.ReadValues("!Bin", bin.data(), 1, 4));
  EXPECT_EQ(bin, Floats({0, 7, 0, 8, -1}));
  EXPECT_TRUE(prompt.m_messages.empty());
}

// ---- Read From DST on a document ----------------------------------------------

class ReadDst : public ::testing::Test {
 protected:
  // Integer storage, point scale 0.5; 3 analog channels A1..A3 at 4 samples
  // per frame (scale 0.5 (c + 1), general scale 2, offset 10 c); points P1,
  // P2; 3 frames.
  void SetUp() override {
    docmodel::CModelSpec spec;
    spec.m_nFrames = 3;
    spec.m_nSamplesPerFrame = 4;
    CC3d model;
    docmodel::BuildModel(model, spec);
    ASSERT_TRUE(docmodel::SaveModel(model, m_dir.File("trial.c3d")));
    m_pDoc = m_host.OpenDocumentFile(m_dir.File("trial.c3d"));
    ASSERT_TRUE(m_pDoc);
    m_before = docmodel::AllSamples(m_pDoc->m_c3d);
  }

  CReadDstRequest Request(const std::string& text, int kind, std::vector<int> channels) {
    testsupport::WriteText(m_dir.File("in.dst"), text);
    return CReadDstRequest{m_dir.File("in.dst"), kind, std::move(channels)};
  }

  float Analog(int channel, size_t k) const { return m_pDoc->m_c3d.m_analogs[channel].Get(k); }
  float Point(int point, int frame, int word) const {
    return m_pDoc->m_c3d.m_points[point].Get(static_cast<size_t>(frame) * 4 + word);
  }

  CTempDir m_dir;
  CFakeHost m_host;
  CEditorDoc* m_pDoc = nullptr;
  std::vector<float> m_before;
};

TEST_F(ReadDst, ReplacesOnlyChannelsReadCompletelyAndUndoRestores) {
  // A2: physical value v is stored as v / (1.0 x 2) + 10, rounded.
  CReadDstRequest request = Request(
      "#!DST-2.0\r\n!A2\r\n2 4 6\r\n8 10 12\r\n14 16 18\r\n-20 1e2 -22\r\n"
      "!A3\r\n1 2 3\r\n",
      DST_ANALOG, {0, 1, 2});
  CReadDstResult result = ReadFromDst(*m_pDoc, request);
  EXPECT_EQ(result.m_lines, (Lines{"A1 could not be read", "A2 Read succesfully", "A3 could not be read"}));
  EXPECT_EQ(m_host.m_prompt.TakeMessages(),
            Lines{"Results of Reading from DST\n\nA1 could not be read\nA2 Read succesfully\n"
                  "A3 could not be read\n"});
  const float a2[] = {11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 60, -1};
  for (size_t k = 0; k < 12; ++k) EXPECT_EQ(Analog(1, k), a2[k]) << k;
  std::vector<float> after = docmodel::AllSamples(m_pDoc->m_c3d);
  after.erase(after.begin() + 12, after.begin() + 24);
  std::vector<float> expected = m_before;
  expected.erase(expected.begin() + 12, expected.begin() + 24);
  EXPECT_EQ(after, expected);  // A1, A3 and the points are exactly as they were
  EXPECT_TRUE(m_pDoc->IsModified());
  EXPECT_EQ(m_pDoc->m_nUndoKind, UNDO_READ_DST);

  m_pDoc->OnEditUndo();
  EXPECT_EQ(docmodel::AllSamples(m_pDoc->m_c3d), m_before);
}

TEST_F(ReadDst, PointsBecomeValidAndShortRowsAreReported) {
  // Points in integer storage with scale 0.5: coordinate v is stored as 2 v.
  CReadDstRequest request =
      Request("#!DST\n!P1-3\n1 2 3 \n-4 5.25 6\n7 8 9\n!P2-3\n1 2 3\n4 5\n", DST_POINTS, {0, 1});
  CReadDstResult result = ReadFromDst(*m_pDoc, request);
  EXPECT_EQ(result.m_lines, (Lines{"P1 Read succesfully", "P2 could not be read"}));
  EXPECT_EQ(m_host.m_prompt.TakeMessages(),
            (Lines{"Not enough data in a line",
                   "Results of Reading from DST\n\nP1 Read succesfully\nP2 could not be read\n"}));
  const float p1[] = {2, 4, 6, 0, -8, 11, 12, 0, 14, 16, 18, 0};
  for (int f = 0; f < 3; ++f)
    for (int w = 0; w < 4; ++w) EXPECT_EQ(Point(0, f, w), p1[f * 4 + w]) << f << " " << w;
  for (int f = 0; f < 3; ++f)
    for (int w = 0; w < 4; ++w) EXPECT_EQ(Point(1, f, w), docmodel::PointValue(1, f, w));
}

// Labels with blanks or "-", and channels without labels, are found under
// the names the DST export gives them.
TEST_F(ReadDst, FindsSectionsUnderTheExportedNames) {
  testsupport::SetStrings(m_pDoc->m_c3d, "ANALOG", "LABELS", {"EMG - L"});
  testsupport::SetStrings(m_pDoc->m_c3d, "POINT", "LABELS", {"R KNEE"});
  EXPECT_EQ(DstChannelNames(m_pDoc->m_c3d, DST_ANALOG), (Lines{"EMG - L", "Channel 2", "Channel 3"}));
  EXPECT_EQ(DstChannelNames(m_pDoc->m_c3d, DST_POINTS), (Lines{"R KNEE", "Marker 2"}));
  ReadFromDst(*m_pDoc, Request("#!DST\n!EMG___L\n" + std::string(12, '1') + "\n!Chan_3\n", DST_ANALOG,
                               {0, 2}));
  EXPECT_EQ(m_host.m_prompt.TakeMessages(),
            Lines{"Results of Reading from DST\n\nEMG - L could not be read\nChannel 3 could not be read\n"});
  CReadDstResult result = ReadFromDst(
      *m_pDoc, Request("#!DST\n!EMG___L\n2 2 2 2\n2 2 2 2\n2 2 2 2\n!R_KNEE-3\n1 1 1\n1 1 1\n1 1 1\n",
                       DST_ANALOG, {0}));
  EXPECT_EQ(result.m_lines, Lines{"EMG - L Read succesfully"});
  EXPECT_EQ(Analog(0, 11), 2.0f);
  result = ReadFromDst(*m_pDoc, Request("#!DST\n!RKNEE-3\n1 1 1\n1 1 1\n1 1 1\n", DST_POINTS, {0}));
  EXPECT_EQ(result.m_lines, Lines{"R KNEE Read succesfully"});
}

TEST_F(ReadDst, BrokenFilesChangeNothing) {
  m_pDoc->m_nUndoKind = UNDO_VALUES;
  ReadFromDst(*m_pDoc, Request("no header\n!A1\n1\n", DST_ANALOG, {0}));
  CReadDstResult result = ReadFromDst(*m_pDoc, CReadDstRequest{m_dir.File("none.dst"), DST_ANALOG, {0}});
  EXPECT_FALSE(result.m_bOpened);
  EXPECT_EQ(m_host.m_prompt.TakeMessages(),
            (Lines{"Selected file is not a GCD file", "Could not open file"}));
  result = ReadFromDst(*m_pDoc, Request("#!DST\n!P1-3\n1 2\n", DST_POINTS, {0, 1}));
  EXPECT_EQ(result.m_nFailed, 2);
  EXPECT_EQ(docmodel::AllSamples(m_pDoc->m_c3d), m_before);
  EXPECT_FALSE(m_pDoc->IsModified());
  EXPECT_EQ(m_pDoc->m_nUndoKind, UNDO_VALUES);
}
