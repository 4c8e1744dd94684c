// Frames: New Frames with its dialog, Delete, Copy and Paste of a segment,
// clipboard Import, and Undo of each on built and real files.
#include <gtest/gtest.h>

#include "EditFixture.h"
#include "document/EditSelection.h"
#include "document/FrameCommands.h"

using namespace edittest;
using B = CScriptedDialogs;

namespace {

class FrameCommands : public ::testing::Test {
 protected:
  void Open(bool real = false) { ASSERT_NE(f.OpenBuilt(StandardFile(real)), nullptr); }
  void SetUp() override { Open(); }
  CC3d& c3d() { return f.doc->m_c3d; }
  CScriptedPrompt& prompt() { return f.host.m_prompt; }
  void SelectAnalog(int channel) {
    f.doc->m_nSelNode = -2;
    f.doc->m_nSelItem = channel;
  }
  void SelectPoint(int point) {
    f.doc->m_nSelNode = -3;
    f.doc->m_nSelItem = point;
  }
  float Analog(int channel, int frame, int sample) {
    return c3d().m_analogs[channel].Get(static_cast<size_t>(frame) * c3d().m_header.m_nSamplesPerFrame + sample);
  }
  float Point(int point, int frame, int word) { return c3d().m_points[point].Get(static_cast<size_t>(frame) * 4 + word); }
  double Param(const char* group, const char* name, int index) {
    return c3d().FindParam(group, name)->NumericValue(index, ValueSign::Signed);
  }
  CEditFixture f;
};

}  // namespace

TEST(AddFramesRequest, OkChecks) {
  CRecordingPrompt prompt;
  CAddFramesRequest r(1, 100);
  EXPECT_EQ(r.InformationText(), "  First Frame  1\n  Last Frame   100");
  EXPECT_FALSE(r.Ok(prompt));
  r.m_nFrames = 65435;  // 65535 frames in all
  EXPECT_TRUE(r.Ok(prompt));
  r.m_nFrames = 65436;
  EXPECT_FALSE(r.Ok(prompt));
  EXPECT_EQ(prompt.m_messages,
            (std::vector<std::string>{"At least one frame should be added", "Please decrease the number of frames added"}));

  // Silent refusals: a wave without a frequency or with Min. not below Max.,
  // and "After Frame" at the last frame.
  prompt.m_messages.clear();
  r.m_nFrames = 5;
  r.m_nAnalogFill = CAddFramesRequest::SINE_WAVE;
  r.m_fMin = 1;
  r.m_fMax = 2;
  EXPECT_FALSE(r.Ok(prompt));
  r.m_fFrequency = 10;
  EXPECT_TRUE(r.Ok(prompt));
  r.m_fMax = 1;
  EXPECT_FALSE(r.Ok(prompt));
  r.m_nAnalogFill = CAddFramesRequest::VALUE;
  r.m_nInsertAt = CAddFramesRequest::AFTER_FRAME;
  r.m_nAfterFrame = 100;
  EXPECT_FALSE(r.Ok(prompt));
  r.m_nAfterFrame = 99;
  EXPECT_TRUE(r.Ok(prompt));
  EXPECT_TRUE(prompt.m_messages.empty());

  // Frame numbers are 16-bit: from frame 398 on the last frame can be 65535
  // (676 + 64859), whatever the frame count.
  CAddFramesRequest late(398, 676);
  late.m_nFrames = 64859;
  EXPECT_TRUE(late.Ok(prompt));
  late.m_nFrames = 64860;
  EXPECT_FALSE(late.Ok(prompt));
  EXPECT_EQ(prompt.m_messages, std::vector<std::string>{"Please decrease the number of frames added"});
}

// New Frames that would take the last frame number past 65535 is refused
// before anything is recorded: the earlier command can still be undone.
TEST(AddFramesLimit, RefusalKeepsTheEarlierUndo) {
  CEditFixture f;
  CC3dFileBuilder built = StandardFile(false);
  built.m_nFirstFrame = 65520;
  built.m_nLastFrame = 65529;
  ASSERT_NE(f.OpenBuilt(built), nullptr);
  f.doc->m_nSelNode = -2;
  f.doc->m_nSelItem = 0;
  f.ExpectUndoRestoresFile([&] {
    f.host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_YES);
    DeleteSelected(*f.doc, {2, 3});
    CAddFramesRequest r(65520, 65527);
    r.m_nFrames = 9;  // last frame 65536
    EXPECT_FALSE(AddFrames(*f.doc, r));
    EXPECT_EQ(f.host.m_prompt.TakeMessages(),
              std::vector<std::string>{"Please decrease the number of frames added"});
    EXPECT_EQ(f.doc->m_c3d.FrameCount(), 8);
  }, UNDO_DELETE_FRAMES);
}

TEST_F(FrameCommands, NewFramesAfterAFrameMoveWhatFollowsIt) {
  const float before5 = Analog(1, 4, 1);  // frame 5
  f.host.m_dialogs.AddFrames([](CAddFramesRequest& r) {
    EXPECT_EQ(r.m_nAfterFrame, 1);
    r.m_nInsertAt = CAddFramesRequest::AFTER_FRAME;
    r.m_nAfterFrame = 4;
    r.m_nFrames = 3;
    r.m_fMin = 7;
    r.m_fX = 11;
    r.m_fY = 12;
    r.m_fZ = 13;
    return B::OK;
  });
  OnNewFrames(*f.doc);
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_NEW_FRAMES);
  EXPECT_EQ(c3d().FrameCount(), 13);
  EXPECT_EQ(c3d().m_header.m_nLastFrame, 13);
  EXPECT_EQ(Param("POINT", "FRAMES", 0), 13);
  EXPECT_EQ(Param("TRIAL", "ACTUAL_END_FIELD", 0), 13);
  // Frame numbers 5 to 7 are the new ones; old frame 5 is now frame 8.
  for (int frame = 4; frame < 7; ++frame) {
    EXPECT_EQ(Analog(3, frame, 1), 7);
    EXPECT_EQ(Point(2, frame, 0), 11);
    EXPECT_EQ(Point(2, frame, 2), 13);
    EXPECT_EQ(Point(2, frame, 3), 0);  // valid, residual 0
  }
  EXPECT_EQ(Analog(1, 7, 1), before5);
  // HS (frame 3) stays; TO (frame 6) moves three frames on, its time too.
  EXPECT_EQ(c3d().m_events[0].m_nFrame, 3);
  EXPECT_FLOAT_EQ(c3d().m_events[0].m_fTime, 0.04f);
  EXPECT_EQ(c3d().m_events[1].m_nFrame, 9);
  EXPECT_FLOAT_EQ(c3d().m_events[1].m_fTime, 0.16f);
  EXPECT_FLOAT_EQ(Param("EVENT", "TIMES", 1), 0.04f);
  EXPECT_FLOAT_EQ(Param("EVENT", "TIMES", 3), 0.16f);
  // The list showed every frame and still does.
  EXPECT_EQ(f.doc->m_nListLast, 12);
}

TEST_F(FrameCommands, NewFramesAtTheStartMoveEveryEventAndFillAWave) {
  CAddFramesRequest r(1, 10);
  r.m_nFrames = 4;
  r.m_nAnalogFill = CAddFramesRequest::SQUARE_WAVE;
  r.m_fMin = -5;
  r.m_fMax = 5;
  r.m_fFrequency = 12.5;  // 100 samples a second: a cycle every 8 samples
  ASSERT_TRUE(AddFrames(*f.doc, r));
  const float expected[8] = {5, 5, 5, 5, -5, -5, -5, -5};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Analog(0, i / 2, i % 2), expected[i]) << i;
  EXPECT_EQ(c3d().m_events[0].m_nFrame, 7);
  EXPECT_FLOAT_EQ(c3d().m_events[0].m_fTime, 0.12f);
  EXPECT_FLOAT_EQ(Param("EVENT", "TIMES", 3), 0.18f);
}

TEST_F(FrameCommands, DeleteFramesDropsTheirEventsAndMovesTheOthers) {
  SelectPoint(1);
  const float kept = Point(1, 3, 0);
  prompt().ExpectQuestion(CUserPrompt::ANSWER_NO, "You are going to delete 2 frames of data.\nDo you want to continue?");
  DeleteSelected(*f.doc, {0, 2});
  EXPECT_EQ(c3d().FrameCount(), 10);

  // Frames 1 and 3: HS (frame 3) goes, TO (frame 6) becomes frame 4.
  prompt().ExpectQuestion(CUserPrompt::ANSWER_YES);
  DeleteSelected(*f.doc, {2, 0});
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_DELETE_FRAMES);
  EXPECT_EQ(c3d().FrameCount(), 8);
  EXPECT_EQ(Param("POINT", "FRAMES", 0), 8);
  EXPECT_EQ(Param("TRIAL", "ACTUAL_END_FIELD", 0), 8);
  EXPECT_EQ(Point(1, 1, 0), kept);
  ASSERT_EQ(c3d().m_events.size(), 1u);
  EXPECT_EQ(c3d().m_events[0].m_strLabel, "TO  ");
  EXPECT_EQ(c3d().m_events[0].m_nFrame, 4);
  EXPECT_FLOAT_EQ(c3d().m_events[0].m_fTime, 0.06f);
}

TEST_F(FrameCommands, CopyAndPasteASegment) {
  SelectPoint(0);
  CopySelected(*f.doc, {});
  EXPECT_EQ(prompt().TakeMessages(), std::vector<std::string>{"Please choose frame(s)"});
  CopySelected(*f.doc, {1, 3, 4});
  const CopyBuffer& buffer = f.host.m_copyBuffer;
  ASSERT_EQ(buffer.m_nKind, COPY_POINT);
  EXPECT_EQ(buffer.m_nFrames, 3);
  EXPECT_EQ(buffer.m_values[4], Point(0, 3, 0));

  // Paste near the end writes the frames that exist and no more.
  SelectPoint(2);
  const float untouched = Point(2, 7, 0);
  const std::vector<float> residualsBefore = {Point(2, 8, 3), Point(2, 9, 3)};
  SelectPoint(0);
  c3d().m_points[0].Set(3 * 4 + 3, -1.0);  // so that the pasted residual words differ
  CopySelected(*f.doc, {1, 3, 4});
  SelectPoint(2);
  PasteBuffer(*f.doc, {8});
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_VALUES);
  EXPECT_EQ(f.doc->m_hUndoValues[3], 2.0f);  // two frames recorded
  EXPECT_EQ(Point(2, 8, 0), Point(0, 1, 0));
  EXPECT_EQ(Point(2, 9, 3), -1.0f);
  EXPECT_EQ(Point(2, 7, 0), untouched);
  EXPECT_EQ(c3d().FrameCount(), 10);
  // Undo brings the coordinates and the residual words back.
  f.doc->OnEditUndo();
  EXPECT_EQ(Point(2, 8, 3), residualsBefore[0]);
  EXPECT_EQ(Point(2, 9, 3), residualsBefore[1]);

  // A 3D segment needs a point, an analog one a channel of the same ratio.
  SelectAnalog(0);
  PasteBuffer(*f.doc, {0});
  CopySelected(*f.doc, {0});
  SelectPoint(0);
  PasteBuffer(*f.doc, {0});
  SelectAnalog(1);
  PasteBuffer(*f.doc, {});
  f.host.m_copyBuffer.m_nValuesPerFrame = 3;
  PasteBuffer(*f.doc, {0});
  EXPECT_EQ(prompt().TakeMessages(),
            (std::vector<std::string>{"Choose a 3D marker channel", "Choose an analog channel",
                                      "Please select a frame where data will be pasted",
                                      "Cannot copy data as Analog to Video ratios are not the same"}));
}

// A 3D segment pasted into a file of other units keeps its real values:
// integer samples at point scale 0.5 into real storage at scale -0.25.
TEST(PasteSegmentBetweenFiles, CoordinatesAndResidualsKeepTheirRealUnits) {
  CEditFixture from, to;
  ASSERT_NE(from.OpenBuilt(StandardFile(false)), nullptr);
  CC3dFileBuilder real = StandardFile(true);
  real.m_fScale = 0.25f;
  ASSERT_NE(to.OpenBuilt(real), nullptr);
  CVideo& source = from.doc->m_c3d.m_points[0];
  source.Set(1 * 4 + 0, 40);            // 20 in real units
  source.Set(1 * 4 + 1, -6);            // -3
  source.Set(1 * 4 + 3, 3 * 256 + 4);   // cameras 1 and 2, residual 4 x 0.5
  from.doc->m_nSelNode = -3;
  from.doc->m_nSelItem = 0;
  CopySelected(*from.doc, {1});

  to.host.m_copyBuffer = from.host.m_copyBuffer;
  to.doc->m_nSelNode = -3;
  to.doc->m_nSelItem = 1;
  PasteBuffer(*to.doc, {5});
  const CC3d& c3d = to.doc->m_c3d;
  EXPECT_FLOAT_EQ(c3d.m_points[1].Get(5 * 4 + 0), 20.0f);
  EXPECT_FLOAT_EQ(c3d.m_points[1].Get(5 * 4 + 1), -3.0f);
  std::string mask;
  EXPECT_FLOAT_EQ(c3d.GetCameraMask(1, 5, mask), 2.0f);
  EXPECT_EQ(mask, "1100000");

  // Back into integer storage (scale 0.5): 20000 and -20000 do not fit in
  // 16 bits and are held at the limits, not wrapped to the other sign.
  to.doc->m_c3d.m_points[1].Set(5 * 4 + 0, 20000);
  to.doc->m_c3d.m_points[1].Set(5 * 4 + 1, -20000);
  CopySelected(*to.doc, {5});
  from.host.m_copyBuffer = to.host.m_copyBuffer;
  PasteBuffer(*from.doc, {2});
  EXPECT_EQ(from.doc->m_c3d.m_points[0].Get(2 * 4 + 0), 32767);
  EXPECT_EQ(from.doc->m_c3d.m_points[0].Get(2 * 4 + 1), -32768);
}

TEST(ClipboardText, WholeLinesAnyLengthPaddedToTheFirstLine) {
  std::string longField(300, '7');
  const CTextTable t = ParseClipboardText(" 1 \t2\t3\r\n\n" + longField + "\t5\n6\t\t8\t9\n  \n10\n\t\t");
  ASSERT_EQ(t.m_nRows, 5);
  ASSERT_EQ(t.m_nColumns, 3);
  EXPECT_EQ(t.Field(0, 0), "1");
  EXPECT_EQ(t.Field(1, 0), longField);
  EXPECT_EQ(t.Field(1, 2), "");
  EXPECT_EQ(t.Field(2, 1), "");
  EXPECT_EQ(t.Field(2, 2), "8");
  EXPECT_EQ(t.Field(3, 0), "10");
  EXPECT_EQ(t.Field(4, 0), "");
  EXPECT_EQ(ParseClipboardText("\n \n").m_nRows, 0);
}

TEST_F(FrameCommands, ImportPointColumnsExtendsTheFile) {
  SelectPoint(1);
  f.doc->m_nUndoKind = UNDO_NEW_EVENT;
  ImportClipboard(*f.doc, "1\t2\t3\n", {});
  ImportClipboard(*f.doc, "1\t2\n", {4});
  EXPECT_EQ(prompt().TakeMessages(),
            (std::vector<std::string>{"Please select the frame at which data should be imported",
                                      "There can be only three columns of video data"}));
  // Integer storage, scaled display: the numbers are divided by the scale.
  ASSERT_TRUE(ImportClipboard(*f.doc, "10\t20\t30\n\t\t\n5\t\t\n", {3, 8}));
  EXPECT_EQ(c3d().FrameCount(), 11);
  EXPECT_EQ(Param("POINT", "FRAMES", 0), 11);
  EXPECT_EQ(Param("TRIAL", "ACTUAL_END_FIELD", 0), 11);
  EXPECT_EQ(Point(1, 8, 0), 20);
  EXPECT_EQ(Point(1, 8, 2), 60);
  EXPECT_EQ(Point(1, 9, 3), -1);  // all three empty: invalid
  EXPECT_EQ(Point(1, 10, 0), 10);
  EXPECT_EQ(Point(1, 10, 1), 0);
  EXPECT_EQ(Point(1, 10, 3), 0);
  EXPECT_EQ(Point(0, 10, 0), 0);  // the added frame is blank in every point
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_NONE);
  // Beyond the 16-bit range once divided by the scale: held at the limit.
  ASSERT_TRUE(ImportClipboard(*f.doc, "17000\t-17000\t1\n", {0}));
  EXPECT_EQ(Point(1, 0, 0), 32767);
  EXPECT_EQ(Point(1, 0, 1), -32768);
}

TEST_F(FrameCommands, ImportAnalogSamplesOneColumnOrOneFrameARow) {
  SelectAnalog(2);
  f.doc->m_bScaleAnalog = true;  // channel 2: scale 1.5, offset 20, general scale 2
  ImportClipboard(*f.doc, "1\t2\t3\n", {0});
  EXPECT_EQ(prompt().TakeMessages(), std::vector<std::string>{"Not enough sub frames of data have been copied"});
  ASSERT_TRUE(ImportClipboard(*f.doc, "3\t-3\n4.5\t300\n", {0}));
  EXPECT_EQ(Analog(2, 0, 0), 21);   // 3 / 3 + 20
  EXPECT_EQ(Analog(2, 0, 1), 19);
  EXPECT_EQ(Analog(2, 1, 0), 22);   // 21.5 rounds up
  EXPECT_EQ(Analog(2, 1, 1), 120);
  // One column: the samples in a row, two to a frame, from frame 10 on.
  f.doc->m_bScaleAnalog = false;
  ASSERT_TRUE(ImportClipboard(*f.doc, "1\n2\n3\n4\n5\n", {9}));
  EXPECT_EQ(c3d().FrameCount(), 12);
  EXPECT_EQ(Analog(2, 9, 0), 1);
  EXPECT_EQ(Analog(2, 10, 1), 4);
  EXPECT_EQ(Analog(2, 11, 0), 5);
  EXPECT_EQ(Analog(2, 11, 1), 20);  // the rest of the added frame holds the offset
}

// Undo gives back the very file for Paste, Delete and New Frames.
class FrameUndo : public ::testing::TestWithParam<std::string> {};

TEST_P(FrameUndo, EveryKindRestoresTheFile) {
  CEditFixture f;
  if (GetParam() == "built" || GetParam() == "built real") {
    ASSERT_NE(f.OpenBuilt(StandardFile(GetParam() == "built real")), nullptr);
  } else {
    REQUIRE_CORPUS();
    ASSERT_NE(f.OpenCorpus(GetParam()), nullptr);
  }
  CEditorDoc& doc = *f.doc;
  CC3d& c3d = doc.m_c3d;
  const int frames = c3d.FrameCount();
  ASSERT_GE(frames, 6);
  // A channel whose first frames differ from its last ones, so that the
  // paste changes something.
  doc.m_nSelNode = -3;
  doc.m_nSelItem = 0;
  for (int c = 0; c < c3d.AnalogCount(); ++c) {
    const CAnalog& a = c3d.m_analogs[c];
    const size_t spf = c3d.m_header.m_nSamplesPerFrame;
    if (a.Get(spf) != a.Get((frames - 2) * spf)) {
      doc.m_nSelNode = -2;
      doc.m_nSelItem = c;
      break;
    }
  }

  f.ExpectUndoRestoresFile([&] {
    CopySelected(doc, {1, 2, 3});
    PasteBuffer(doc, {frames - 2});
  }, UNDO_VALUES);
  doc.m_nSelNode = -3;
  f.ExpectUndoRestoresFile([&] {
    c3d.m_points[0].Set(2 * 4 + 3, -1.0);
    CopySelected(doc, {1, 2, 3});
    c3d.m_points[0].Set(2 * 4 + 3, c3d.m_points[0].Get(4 * 4 + 3));
    doc.m_nSelItem = c3d.PointCount() - 1;
    PasteBuffer(doc, {4});
  }, UNDO_VALUES);
  f.ExpectUndoRestoresFile([&] {
    f.host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_YES);
    // The first frame, a run in the middle and the last: events on them
    // go and come back.
    DeleteSelected(doc, {0, frames / 2, frames / 2 + 1, frames - 1});
  }, UNDO_DELETE_FRAMES);
  for (int insertAt : {CAddFramesRequest::START_OF_DATA, CAddFramesRequest::AFTER_FRAME,
                       CAddFramesRequest::END_OF_DATA}) {
    f.ExpectUndoRestoresFile([&] {
      f.host.m_dialogs.AddFrames([&](CAddFramesRequest& r) {
        r.m_nInsertAt = insertAt;
        r.m_nAfterFrame = r.m_nFirstFrame + 2;
        r.m_nFrames = 5;
        r.m_nAnalogFill = CAddFramesRequest::SINE_WAVE;
        r.m_fMin = -100;
        r.m_fMax = 100;
        r.m_fFrequency = 3;
        r.m_fX = 1;
        return B::OK;
      });
      OnNewFrames(doc);
    }, UNDO_NEW_FRAMES);
  }
  EXPECT_TRUE(f.host.m_prompt.m_messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, FrameUndo,
                         ::testing::Values("built", "built real", "c3dorg_s01_eb015_sgi_int.c3d",
                                           "c3dorg_s02_pc_real.c3d", "auck_sydney_gait.c3d",
                                           "btk_nantes_static.c3d"),
                         [](const auto& info) {
                           std::string name = info.param.substr(0, info.param.find('.'));
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });
