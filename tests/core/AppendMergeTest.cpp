// Append and Merge: the compatibility checks and dialog checks with their
// messages, the combined files, and Undo giving back the same file.
#include <gtest/gtest.h>

#include "DocModel.h"
#include "FakeHost.h"
#include "ModelFixture.h"
#include "TestSupport.h"
#include "document/AppendMergeCommands.h"
#include "document/CalibrationMatch.h"
#include "document/SamplingCommands.h"

using namespace docmodel;
using testsupport::CTempDir;

namespace {

std::vector<unsigned char> SavedBytes(CC3d& c3d, const CTempDir& dir, const std::string& name) {
  std::string error;
  EXPECT_TRUE(c3d.SaveToFile(dir.File(name), error)) << error;
  return testsupport::ReadAll(dir.File(name));
}

class AppendMerge : public ::testing::Test {
 protected:
  void SetUp() override { host.m_bEditMode = true; }

  std::string Write(const CModelSpec& spec, const std::function<void(CC3d&)>& edit = nullptr) {
    CC3d c3d;
    BuildModel(c3d, spec);
    if (edit) edit(c3d);
    const std::string path = dir.File("file" + std::to_string(++m_nFiles) + ".c3d");
    EXPECT_TRUE(SaveModel(c3d, path));
    return path;
  }
  CEditorDoc& Open(const std::string& path) {
    CEditorDoc* doc = host.OpenDocumentFile(path);
    EXPECT_NE(doc, nullptr);
    return *doc;
  }

  CTempDir dir;
  CFakeHost host;
  int m_nFiles = 0;
};

}  // namespace

TEST_F(AppendMerge, CompatibilityNamesEveryDifferenceInOneMessage) {
  CC3d doc, other;
  BuildModel(doc);
  BuildModel(other);
  testsupport::SetStrings(doc, "POINT", "UNITS", {" MM "});
  testsupport::SetStrings(other, "POINT", "UNITS", {"mm"});
  EXPECT_EQ(AppendCompatibility(doc, other), "");

  other.m_header.m_fFrameRate = 60.0f;
  other.m_header.m_nSamplesPerFrame = 3;
  EXPECT_EQ(AppendCompatibility(doc, other), "Different Sampling Frequency\nDifferent Analog to Video Ratios\n");

  CModelSpec spec;
  spec.m_bReal = true;
  spec.m_nAnalog = 1;
  spec.m_nPoints = 5;
  BuildModel(other, spec);
  testsupport::SetStrings(other, "POINT", "UNITS", {"m"});
  EXPECT_EQ(AppendCompatibility(doc, other),
            "Different Storage formats for Data\nDifferent Number of Analog Channels\n"
            "Different Number of 3D Channels\nDifferent POINT Units\n");
  // Merge does not count channels.
  EXPECT_EQ(MergeCompatibility(doc, other), "Different Storage formats for Data\nDifferent POINT Units\n");
}

TEST_F(AppendMerge, AppendDialogChecksAndTheChoiceOfFile) {
  CModelSpec spec;
  CEditorDoc& doc = Open(Write(spec));
  spec.m_nFirstFrame = 20;
  const std::string second = Write(spec);  // frames 20..25
  spec.m_fRate = 100.0f;
  const std::string faster = Write(spec);

  CAppendRequest request;
  EXPECT_EQ(request.CheckOk(), "Please select a .c3d file");

  // An incompatible file leaves nothing chosen; an unreadable one says so.
  host.m_prompt.ExpectOpenFile(faster);
  EXPECT_FALSE(request.SelectFile(doc));
  host.m_prompt.ExpectOpenFile(dir.File("missing.c3d"));
  EXPECT_FALSE(request.SelectFile(doc));
  EXPECT_EQ(host.m_prompt.TakeMessages(),
            (std::vector<std::string>{"Different Sampling Frequency\n", "Could not open file"}));
  EXPECT_EQ(request.CheckOk(), "Please select a .c3d file");

  host.m_prompt.ExpectOpenFile(second);
  ASSERT_TRUE(request.SelectFile(doc));
  EXPECT_EQ(host.m_prompt.m_openRequests.back().m_strFilter, "Vicon Files (*.c3d)|*.c3d|All Files (*.*)|*.*||");
  EXPECT_EQ(request.m_strDescription,
            "Analog Channels : 3\nVideo Channels  : 2\nFirst Frame  : 20\nLast Frame  : 25");
  EXPECT_EQ(request.m_nFirstFrame, 20);
  EXPECT_EQ(request.m_nLastFrame, 25);
  EXPECT_EQ(request.CheckOk(), "");

  // Cancel keeps the choice and the frames typed for it.
  request.m_nFirstFrame = 22;
  host.m_prompt.ExpectOpenCancel();
  EXPECT_FALSE(request.SelectFile(doc));
  EXPECT_EQ(request.m_nFirstFrame, 22);

  const std::pair<long long, long long> ranges[] = {{19, 25}, {26, 25}, {20, 19}, {20, 26}, {23, 22}};
  const char* messages[] = {"Incorrect First Append Frame", "Incorrect First Append Frame",
                            "Incorrect Last Append Frame", "Incorrect Last Append Frame",
                            "First Append Frame should be less than Last Append Frame"};
  for (size_t i = 0; i < 5; ++i) {
    request.m_nFirstFrame = ranges[i].first;
    request.m_nLastFrame = ranges[i].second;
    EXPECT_EQ(request.CheckOk(), messages[i]);
  }
  request.m_nFirstFrame = request.m_nLastFrame = 25;  // one frame is fine
  EXPECT_EQ(request.CheckOk(), "");
}

TEST_F(AppendMerge, AppendAtTheStartMovesEventsAndUndoGivesBackTheFile) {
  CModelSpec spec;  // 6 frames at 50 Hz; events at 0.02 s (frame 2) and 0.06 s (frame 4)
  CEditorDoc& doc = Open(Write(spec));
  CC3d& c3d = doc.m_c3d;
  const std::vector<unsigned char> before = SavedBytes(c3d, dir, "before.c3d");
  CC3d second;
  BuildModel(second);

  // One frame (the second file's frame 3, index 2) at the start.
  ASSERT_TRUE(AppendFrames(doc, second, 3, 3, AppendAt::StartOfFile));
  ASSERT_EQ(c3d.FrameCount(), 7);
  EXPECT_EQ(testsupport::Values(c3d, "POINT", "FRAMES"), std::vector<double>{7});
  EXPECT_EQ(testsupport::Values(c3d, "TRIAL", "ACTUAL_END_FIELD")[0], 7);
  EXPECT_EQ(c3d.m_analogs[1].Get(0), AnalogValue(1, 4));  // sample 0 of frame index 2
  EXPECT_EQ(c3d.m_analogs[1].Get(2), AnalogValue(1, 0));  // then the document's own
  EXPECT_EQ(c3d.m_points[0].Get(0), PointValue(0, 2, 0));
  EXPECT_EQ(c3d.m_events[0].m_nFrame, 3);
  EXPECT_FLOAT_EQ(c3d.m_events[0].m_fTime, 0.04f);
  EXPECT_FLOAT_EQ(c3d.m_events[1].m_fTime, 0.08f);
  EXPECT_NEAR(testsupport::Values(c3d, "EVENT", "TIMES")[1], 0.06, 1e-6);  // EVENT:TIMES moved too
  EXPECT_EQ(doc.m_nUndoKind, UNDO_APPEND);
  doc.OnEditUndo();
  EXPECT_EQ(SavedBytes(c3d, dir, "undone.c3d"), before);

  // At the end the events stay where they are.
  ASSERT_TRUE(AppendFrames(doc, second, 1, 6, AppendAt::EndOfFile));
  EXPECT_EQ(c3d.FrameCount(), 12);
  EXPECT_EQ(c3d.m_analogs[2].Get(12), AnalogValue(2, 0));
  EXPECT_EQ(c3d.m_events[0].m_nFrame, 2);
  EXPECT_FLOAT_EQ(c3d.m_events[1].m_fTime, 0.06f);
  doc.OnEditUndo();
  EXPECT_EQ(SavedBytes(c3d, dir, "undone.c3d"), before);
  EXPECT_TRUE(host.m_prompt.m_messages.empty());
}

TEST_F(AppendMerge, AppendRefusedBeforeAnyChange) {
  CModelSpec spec;
  spec.m_nFrames = 40000;
  CEditorDoc& doc = Open(Write(spec));
  CC3d second;
  BuildModel(second, spec);
  EXPECT_FALSE(AppendFrames(doc, second, 1, 30000, AppendAt::EndOfFile));
  EXPECT_TRUE(host.m_prompt.HasMessageContaining("frame numbers end at 65535"));
  CC3d::SetStoreLimit(1000);
  EXPECT_FALSE(AppendFrames(doc, second, 1, 10, AppendAt::EndOfFile));
  CC3d::SetStoreLimit(0);
  EXPECT_EQ(host.m_prompt.TakeMessages().back(), "Not enough memory to perform operation");
  EXPECT_EQ(doc.m_c3d.FrameCount(), 40000);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(AppendMerge, MergeAddsTheChosenChannelsWithTheirParameters) {
  CModelSpec spec;  // 3 channels "A1".."A3", 2 points, 6 frames
  CEditorDoc& doc = Open(Write(spec));
  CC3d& c3d = doc.m_c3d;
  const std::vector<unsigned char> before = SavedBytes(c3d, dir, "before.c3d");

  // A longer second file without ANALOG:LABELS.
  spec.m_nFrames = 8;
  const std::string secondPath = Write(spec, [](CC3d& second) {
    testsupport::DropParam(second, "ANALOG", "LABELS");
    testsupport::SetStrings(second, "POINT", "LABELS", {"LONGNAME", "TOE"});
  });
  CMergeRequest request;
  EXPECT_EQ(request.CheckOk(), "Please select a .c3d file");
  host.m_prompt.ExpectOpenFile(secondPath);
  ASSERT_TRUE(request.SelectFile(doc));
  EXPECT_EQ(request.CheckOk(), "");
  EXPECT_EQ(request.m_analogList, (std::vector<std::string>{"Chan 0", "Chan 1", "Chan 2"}));
  EXPECT_EQ(request.m_pointList, (std::vector<std::string>{"LONGNAME", "TOE"}));

  // Nothing chosen: nothing happens.
  EXPECT_FALSE(MergeChannels(doc, request.m_second.File(), {}, {}));
  EXPECT_EQ(host.m_prompt.TakeMessages(), std::vector<std::string>{"No Channels were chosen to be Merged"});
  EXPECT_FALSE(doc.IsModified());

  request.m_analogChosen = {2, 0};
  request.m_pointChosen = {0};
  ASSERT_TRUE(request.Apply(doc));
  EXPECT_FALSE(request.m_second.IsChosen());
  ASSERT_EQ(c3d.AnalogCount(), 5);
  ASSERT_EQ(c3d.PointCount(), 3);
  EXPECT_EQ(c3d.m_header.m_nAnalogPerFrame, 10);
  EXPECT_EQ(c3d.FrameCount(), 6);
  // The document keeps its frames: the new stores hold 6 frames of the 8.
  EXPECT_EQ(c3d.m_analogs[3].Size(), 12u);
  EXPECT_EQ(c3d.m_analogs[3].Get(11), AnalogValue(2, 11));
  EXPECT_EQ(c3d.m_analogs[4].Get(0), AnalogValue(0, 0));
  EXPECT_EQ(c3d.m_points[2].Get(5 * 4), PointValue(0, 5, 0));
  // Labels go in only where both files have them; other lists follow the
  // chosen channels, cut to the document's width.
  EXPECT_EQ(testsupport::Strings(c3d, "ANALOG", "LABELS"), (std::vector<std::string>{"A1", "A2", "A3"}));
  EXPECT_EQ(testsupport::Strings(c3d, "POINT", "LABELS"), (std::vector<std::string>{"P1", "P2", "LONG"}));
  EXPECT_EQ(testsupport::Strings(c3d, "ANALOG", "DESCRIPTIONS")[3], "Analog 3");
  EXPECT_EQ(testsupport::Values(c3d, "ANALOG", "SCALE"), (std::vector<double>{0.5, 1, 1.5, 1.5, 0.5}));
  EXPECT_EQ(testsupport::Values(c3d, "ANALOG", "OFFSET"), (std::vector<double>{0, 10, 20, 20, 0}));
  EXPECT_EQ(testsupport::Values(c3d, "ANALOG", "USED"), std::vector<double>{5});
  EXPECT_EQ(testsupport::Values(c3d, "POINT", "USED"), std::vector<double>{3});
  EXPECT_EQ(doc.m_nUndoKind, UNDO_MERGE);

  doc.OnEditUndo();
  EXPECT_EQ(SavedBytes(c3d, dir, "undone.c3d"), before);
  EXPECT_TRUE(host.m_prompt.m_messages.empty());
}

TEST_F(AppendMerge, MergeOfAShorterFileEndsInZerosAndInvalidPoints) {
  for (bool real : {false, true}) {
    SCOPED_TRACE(real ? "real" : "integer");
    CModelSpec spec;  // 6 frames
    spec.m_bReal = real;
    CEditorDoc& doc = Open(Write(spec));
    CModelSpec shorter = spec;
    shorter.m_nFrames = 4;
    CC3d second;
    BuildModel(second, shorter);
    ASSERT_TRUE(MergeChannels(doc, second, {0}, {1}));
    const CC3d& c3d = doc.m_c3d;
    EXPECT_EQ(c3d.m_analogs[3].Get(7), AnalogValue(0, 7));  // frame 3, sample 1
    EXPECT_EQ(c3d.m_analogs[3].Get(8), 0.0f);
    EXPECT_EQ(c3d.m_points[2].Get(3 * 4), PointValue(1, 3, 0));
    // No marker at the origin in the frames the second file lacks.
    for (int f = 4; f < 6; ++f) {
      EXPECT_EQ(c3d.m_points[2].Get(f * 4 + 3), -1.0f) << f;
      EXPECT_EQ(c3d.m_points[2].Get(f * 4), 0.0f) << f;
    }
  }
}

TEST_F(AppendMerge, UndoGivesBackParametersThatDisagreedWithTheHeader) {
  // Files from some systems count frames, points and channels in their
  // parameters otherwise than in the header; Undo must not "correct" them.
  CModelSpec spec;  // 6 frames, 2 points, 3 channels at 2 samples per frame, 50 Hz
  CEditorDoc& doc = Open(Write(spec, [](CC3d& c3d) {
    for (auto [group, name, value] : {std::tuple{"POINT", "FRAMES", 7.0}, {"POINT", "USED", 5.0},
                                      {"POINT", "RATE", 49.5}, {"ANALOG", "RATE", 99.0},
                                      {"ANALOG", "USED", 9.0}, {"TRIAL", "ACTUAL_END_FIELD", 70.0}})
      c3d.FindParam(group, name)->SetNumericValue(0, value);
  }));
  CC3d& c3d = doc.m_c3d;
  const std::vector<unsigned char> before = SavedBytes(c3d, dir, "before.c3d");
  CC3d second;
  BuildModel(second);

  const std::function<bool()> commands[] = {
      [&] { return AppendFrames(doc, second, 2, 3, AppendAt::EndOfFile); },
      [&] { return MergeChannels(doc, second, {1}, {0}); },
      [&] { return ChangeRate(doc, 75.0f, false); },
      [&] { return ChangeRatio(doc, 3, false); }};
  for (size_t i = 0; i < std::size(commands); ++i) {
    ASSERT_TRUE(commands[i]()) << i;
    doc.OnEditUndo();
    EXPECT_EQ(SavedBytes(c3d, dir, "undone.c3d"), before) << i;
  }
  EXPECT_TRUE(host.m_prompt.m_messages.empty());
}

TEST(AppendMergeCorpus, RealRecordingAppendedAndMergedThenUndone) {
  REQUIRE_CORPUS();
  CTempDir dir;
  for (const char* name : {"c3dorg_s01_eb015_pc_int.c3d", "c3dorg_s01_eb015_pc_real.c3d"}) {
    SCOPED_TRACE(name);
    CFakeHost host;
    host.m_bEditMode = true;
    const std::string path = testsupport::CorpusFile(name);
    CEditorDoc* doc = host.OpenDocumentFile(path);
    ASSERT_NE(doc, nullptr);
    CC3d& c3d = doc->m_c3d;
    const int frames = c3d.FrameCount();
    const std::vector<unsigned char> before = SavedBytes(c3d, dir, "before.c3d");

    CAppendRequest append;
    host.m_prompt.ExpectOpenFile(path);
    ASSERT_TRUE(append.SelectFile(*doc));
    append.m_nFirstFrame = 11;
    append.m_nLastFrame = 60;
    append.m_at = AppendAt::StartOfFile;
    ASSERT_EQ(append.CheckOk(), "");
    ASSERT_TRUE(append.Apply(*doc));
    EXPECT_EQ(c3d.FrameCount(), frames + 50);
    doc->OnEditUndo();
    EXPECT_EQ(SavedBytes(c3d, dir, "undone.c3d"), before);

    CMergeRequest merge;
    host.m_prompt.ExpectOpenFile(path);
    ASSERT_TRUE(merge.SelectFile(*doc));
    merge.m_analogChosen = {0, 15};
    merge.m_pointChosen = {3};
    ASSERT_TRUE(merge.Apply(*doc));
    EXPECT_EQ(c3d.AnalogCount(), 18);
    EXPECT_EQ(testsupport::Strings(c3d, "POINT", "LABELS")[26], testsupport::Strings(c3d, "POINT", "LABELS")[3]);
    doc->OnEditUndo();
    EXPECT_EQ(SavedBytes(c3d, dir, "undone.c3d"), before);
    EXPECT_TRUE(host.m_prompt.m_messages.empty());
  }
}

// Samples of a second file with other scales keep their physical values:
// integer coordinates are rescaled to the document's point scale (residual
// units too), analog samples to the document channel's offset and scales;
// what cannot be held in 16 bits is refused before anything changes.
TEST_F(AppendMerge, SecondFileSamplesKeepTheirPhysicalValues) {
  CModelSpec spec;  // point scale 0.5; channel c: offset 10 c, scale 0.5 (c + 1), general scale 2
  CEditorDoc& doc = Open(Write(spec));
  CC3d& c3d = doc.m_c3d;
  spec.m_fScale = 0.25f;
  CC3d second;
  BuildModel(second, spec);
  testsupport::SetList(second, "ANALOG", "OFFSET", PARAM_INTEGER, {0, 0, 0});
  testsupport::SetList(second, "ANALOG", "SCALE", PARAM_FLOAT, {1, 1, 1});
  ASSERT_TRUE(AppendFrames(doc, second, 1, 2, AppendAt::EndOfFile));
  // Frame 6 is the second file's frame 0: X raw 1000 at 0.25 is 250 mm, 500
  // at 0.5; point 1's X raw 1001 is 250.25 mm, 500.5 here, stored to the
  // nearest even whole number.
  EXPECT_EQ(c3d.m_points[0].Get(6 * 4 + 0), 500.0f);
  EXPECT_EQ(c3d.m_points[1].Get(6 * 4 + 0), 500.0f);
  EXPECT_EQ(c3d.m_points[0].Get(6 * 4 + 2), 1500.0f);
  // Residual 2 units of 0.25 is one unit of 0.5; the camera byte stays.
  EXPECT_EQ(c3d.m_points[1].Get(6 * 4 + 3), 0x0101);
  // Channel 2 sample 0: (300 - 0) x 1 x 2 = 600 = (raw - 20) x 1.5 x 2, raw 220.
  EXPECT_EQ(c3d.m_analogs[2].Get(12), 220.0f);

  // A second file whose coordinates would need more than 16 bits here.
  spec.m_fScale = 20.0f;
  CC3d far;
  BuildModel(far, spec);
  const std::vector<float> before = AllSamples(c3d);
  host.m_prompt.TakeMessages();
  EXPECT_FALSE(AppendFrames(doc, far, 1, 2, AppendAt::EndOfFile));
  EXPECT_EQ(host.m_prompt.TakeMessages(),
            std::vector<std::string>{CalibrationMisfitMessage("P1")});
  EXPECT_EQ(AllSamples(c3d), before);

  // Merge: the merged channel's scale carries its general scale over.
  spec.m_fScale = 0.5f;
  CC3d third;
  BuildModel(third, spec);
  testsupport::SetScalar(third, "ANALOG", "GEN_SCALE", PARAM_FLOAT, 4);
  ASSERT_TRUE(MergeChannels(doc, third, {1}, {}));
  EXPECT_EQ(testsupport::Values(c3d, "ANALOG", "SCALE").back(), 2.0);  // 1.0 x 4 / 2
}
