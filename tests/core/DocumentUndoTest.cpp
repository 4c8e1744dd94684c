// Undo: the snapshot file, and every undo kind recorded the way its command
// records it, then undone through the document.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "DocModel.h"
#include "FakeHost.h"
#include "TestSupport.h"

using namespace docmodel;
using namespace undo_slots;

namespace {

void ExpectSameParams(const std::vector<CParam>& expected, const std::vector<CParam>& actual) {
  ASSERT_EQ(expected.size(), actual.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const CParam& e = expected[i];
    const CParam& a = actual[i];
    SCOPED_TRACE("parameter " + e.m_strName);
    EXPECT_EQ(e.m_strName, a.m_strName);
    EXPECT_EQ(e.m_nGroupId, a.m_nGroupId);
    EXPECT_EQ(e.m_nType, a.m_nType);
    EXPECT_EQ(e.m_dims, a.m_dims);
    EXPECT_EQ(e.m_cells, a.m_cells);
    EXPECT_EQ(e.m_strings, a.m_strings);
    EXPECT_EQ(e.m_bLocked, a.m_bLocked);
    EXPECT_EQ(e.m_strDescription, a.m_strDescription);
  }
}

void ExpectSameEvents(const std::vector<CEvent>& expected, const std::vector<CEvent>& actual) {
  ASSERT_EQ(expected.size(), actual.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].m_strLabel, actual[i].m_strLabel);
    EXPECT_EQ(expected[i].m_fTime, actual[i].m_fTime);
    EXPECT_EQ(expected[i].m_nFrame, actual[i].m_nFrame);
    EXPECT_EQ(expected[i].m_nDisplay, actual[i].m_nDisplay);
  }
}

// Everything an undo must bring back.
struct CModelState {
  explicit CModelState(const CC3d& c3d)
      : m_samples(AllSamples(c3d)),
        m_params(c3d.m_params),
        m_groups(c3d.m_groups),
        m_events(c3d.m_events),
        m_header(c3d.m_header),
        m_nAnalog(c3d.AnalogCount()),
        m_nPoints(c3d.PointCount()) {}

  void ExpectEqual(const CC3d& c3d) const {
    EXPECT_EQ(m_nAnalog, c3d.AnalogCount());
    EXPECT_EQ(m_nPoints, c3d.PointCount());
    EXPECT_EQ(m_header.m_nFirstFrame, c3d.m_header.m_nFirstFrame);
    EXPECT_EQ(m_header.m_nLastFrame, c3d.m_header.m_nLastFrame);
    EXPECT_EQ(m_header.m_nSamplesPerFrame, c3d.m_header.m_nSamplesPerFrame);
    EXPECT_EQ(m_header.m_nAnalogPerFrame, c3d.m_header.m_nAnalogPerFrame);
    EXPECT_EQ(m_header.m_nAnalogChannels, c3d.m_header.m_nAnalogChannels);
    EXPECT_EQ(m_header.m_nPoints, c3d.m_header.m_nPoints);
    EXPECT_EQ(m_header.m_fFrameRate, c3d.m_header.m_fFrameRate);
    EXPECT_EQ(m_samples, AllSamples(c3d));
    ExpectSameParams(m_params, c3d.m_params);
    ASSERT_EQ(m_groups.size(), c3d.m_groups.size());
    for (size_t i = 0; i < m_groups.size(); ++i) {
      EXPECT_EQ(m_groups[i].m_strName, c3d.m_groups[i].m_strName);
      EXPECT_EQ(m_groups[i].m_nId, c3d.m_groups[i].m_nId);
    }
    ExpectSameEvents(m_events, c3d.m_events);
  }

  std::vector<float> m_samples;
  std::vector<CParam> m_params;
  std::vector<CGroup> m_groups;
  std::vector<CEvent> m_events;
  HeaderRecord m_header;
  int m_nAnalog, m_nPoints;
};

class DocumentUndo : public ::testing::Test {
 protected:
  void Build(const CModelSpec& spec) {
    BuildModel(doc.m_c3d, spec);
    ASSERT_TRUE(doc.m_undoFile.Create());
  }
  void SetUp() override { Build(CModelSpec()); }

  // Undo must succeed silently, use the record up and mark the document.
  void UndoAndCheck() {
    ASSERT_TRUE(doc.CanUndo());
    doc.OnEditUndo();
    EXPECT_TRUE(host.m_prompt.m_messages.empty()) << host.m_prompt.m_messages.front();
    EXPECT_EQ(doc.m_nUndoKind, UNDO_NONE);
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.m_bRebuildList);
    EXPECT_EQ(host.m_prompt.m_nWaitDepth, 0);
  }

  CFakeHost host;
  CEditorDoc doc{host};
};

}  // namespace

TEST_F(DocumentUndo, SnapshotFileIsPrivateAndLaidOutAsDocumented) {
  const std::string path = doc.m_undoFile.Path();
  EXPECT_EQ(path.substr(path.find_last_of('/') + 1, 3), "c3d");
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  ASSERT_TRUE(doc.SaveUndoSnapshot());
  std::vector<unsigned char> bytes = testsupport::ReadAll(path);
  const CModelSpec spec;
  const size_t analogBytes = size_t(spec.m_nAnalog) * spec.m_nFrames * spec.m_nSamplesPerFrame * 2;
  const size_t pointBytes = size_t(spec.m_nPoints) * spec.m_nFrames * 4 * 2;
  ASSERT_EQ(bytes.size(), 128 + analogBytes + pointBytes);
  auto u16 = [&](size_t at) { return bytes[at] | (bytes[at + 1] << 8); };
  EXPECT_EQ(u16(0), spec.m_nAnalog);
  EXPECT_EQ(u16(2), spec.m_nPoints);
  EXPECT_EQ(u16(4), spec.m_nFrames);
  EXPECT_EQ(u16(6), spec.m_nSamplesPerFrame);
  float rate;
  std::memcpy(&rate, &bytes[8], 4);
  EXPECT_EQ(rate, spec.m_fRate);
  // Channel 1's first sample, then point 0's first residual word.
  EXPECT_EQ(int16_t(u16(128 + spec.m_nFrames * spec.m_nSamplesPerFrame * 2)), AnalogValue(1, 0));
  EXPECT_EQ(int16_t(u16(128 + analogBytes + 6)), 0x0102);

  doc.OnCloseDocument();
  EXPECT_NE(::stat(path.c_str(), &st), 0) << "the snapshot file outlived its document";
}

TEST_F(DocumentUndo, FailedSnapshotNeverRestores) {
  // First a good snapshot, then one that cannot be written (a store whose size
  // disagrees with the counts): the stale file must not be read back.
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  doc.m_c3d.m_analogs[0].Resize(3);
  EXPECT_FALSE(doc.SaveUndoSnapshot());
  doc.m_c3d.m_analogs[0].Set(0, 7);
  doc.m_nUndoKind = UNDO_FILTER;
  EXPECT_FALSE(doc.CanUndo());
  doc.OnEditUndo();
  EXPECT_EQ(doc.m_c3d.m_analogs[0].Size(), 3u);
  EXPECT_EQ(doc.m_c3d.m_analogs[0].Get(0), 7.0f);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.m_nUndoKind, UNDO_NONE);

  // No snapshot file at all (it could not be created at open).
  doc.m_undoFile.Destroy();
  doc.m_c3d.m_analogs[0].Resize(12);
  EXPECT_FALSE(doc.SaveUndoSnapshot());
  doc.m_nUndoKind = UNDO_INTERPOLATE;
  EXPECT_FALSE(doc.CanUndo());
  // Kinds that need no snapshot stay undoable.
  for (int kind : {UNDO_NEW_EVENT, UNDO_EDIT_PARAM, UNDO_NEW_POINT}) {
    doc.m_nUndoKind = kind;
    EXPECT_TRUE(doc.CanUndo()) << kind;
  }
}

TEST_F(DocumentUndo, SnapshotOfAnotherShapeIsRefusedAndChangesNothing) {
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  doc.m_c3d.DeletePoint(0, nullptr, true);
  doc.m_c3d.m_analogs[2].Set(1, 5);
  CModelState now(doc.m_c3d);
  doc.m_nUndoKind = UNDO_FILTER;
  doc.OnEditUndo();
  EXPECT_EQ(host.m_prompt.m_messages.size(), 1u);
  now.ExpectEqual(doc.m_c3d);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentUndo, DeleteFramesComeBackWithEventsAndFrameParameters) {
  // POINT:FRAMES held as a float gets the count back as a float.
  CParam* frames = doc.m_c3d.FindParam("POINT", "FRAMES");
  *frames = NumericParam("FRAMES", 1, PARAM_FLOAT, {}, {6});
  CModelState before(doc.m_c3d);

  doc.SaveParameterCopies({{"EVENT", "TIMES"}});
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  doc.m_c3d.DeleteFrames({0, 1, 4});
  doc.m_c3d.CopyEventList(-1);
  doc.m_c3d.m_events.erase(doc.m_c3d.m_events.begin());  // the event on frame 2 went with it
  doc.m_c3d.m_events[0].m_nFrame = 2;
  doc.m_c3d.UpdateTrialFields();
  doc.m_nUndoKind = UNDO_DELETE_FRAMES;
  ASSERT_EQ(doc.m_c3d.FrameCount(), 3);

  UndoAndCheck();
  before.ExpectEqual(doc.m_c3d);
  EXPECT_EQ(doc.m_c3d.FindParam("POINT", "FRAMES")->FloatAt(0), 6.0f);
  EXPECT_EQ(doc.m_c3d.FindParam("TRIAL", "ACTUAL_END_FIELD")->ShortAt(0), 6);
  EXPECT_TRUE(doc.m_bEventsChanged);
  EXPECT_TRUE(doc.m_bDataChanged);
}

TEST_F(DocumentUndo, NewFramesAndAppendRestoreFramesAndEventContents) {
  CModelState before(doc.m_c3d);
  doc.SaveParameterCopies({{"EVENT", "TIMES"}});
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  ASSERT_TRUE(doc.m_c3d.InsertBlankFrames(3, -1));
  doc.m_c3d.CopyEventList(-1);
  for (CEvent& e : doc.m_c3d.m_events) e.m_nFrame += 3;
  doc.m_c3d.EventTimesFromFrames();
  doc.m_c3d.ShiftEventTimes(-1, 3);
  doc.m_c3d.UpdateTrialFields();
  doc.m_nUndoKind = UNDO_NEW_FRAMES;

  UndoAndCheck();
  before.ExpectEqual(doc.m_c3d);
}

TEST_F(DocumentUndo, RatesComeBackWithTheirParameters) {
  CModelState before(doc.m_c3d);
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  // What a change of rate from 50 to 25 Hz and of ratio from 2 to 1 leaves.
  CC3d& c3d = doc.m_c3d;
  c3d.m_header.m_fFrameRate = 25;
  c3d.m_header.m_nSamplesPerFrame = 1;
  c3d.m_header.m_nLastFrame = 3;
  for (CAnalog& a : c3d.m_analogs) a.Resize(3);
  for (CVideo& v : c3d.m_points) v.Resize(12);
  c3d.FindParam("POINT", "RATE")->SetNumericValue(0, 25);
  c3d.FindParam("ANALOG", "RATE")->SetNumericValue(0, 25);
  c3d.FindParam("POINT", "FRAMES")->SetNumericValue(0, 3);
  c3d.EventFramesFromTimes();
  doc.m_nUndoKind = UNDO_SAMPLING_FREQUENCY;

  UndoAndCheck();
  EXPECT_EQ(before.m_samples, AllSamples(c3d));
  EXPECT_EQ(c3d.m_header.m_fFrameRate, 50.0f);
  EXPECT_EQ(c3d.m_header.m_nSamplesPerFrame, 2);
  EXPECT_EQ(c3d.FrameCount(), 6);
  EXPECT_EQ(c3d.FindParam("POINT", "RATE")->FloatAt(0), 50.0f);
  EXPECT_EQ(c3d.FindParam("ANALOG", "RATE")->FloatAt(0), 100.0f);
  EXPECT_EQ(c3d.FindParam("POINT", "FRAMES")->ShortAt(0), 6);
  EXPECT_EQ(c3d.m_events[0].m_nFrame, 2);
  EXPECT_TRUE(doc.m_bRebuildTree);
}

TEST_F(DocumentUndo, ProcessingKindsRestoreEverySample) {
  for (int kind : {UNDO_INTERPOLATE, UNDO_DELETE_AND_FILL, UNDO_FILTER, UNDO_READ_DST}) {
    SCOPED_TRACE(kind);
    CModelState before(doc.m_c3d);
    ASSERT_TRUE(doc.SaveUndoSnapshot());
    for (CAnalog& a : doc.m_c3d.m_analogs) a.Set(3, -4);
    for (CVideo& v : doc.m_c3d.m_points) v.Set(5, 99);
    doc.m_nUndoKind = kind;
    UndoAndCheck();
    before.ExpectEqual(doc.m_c3d);
  }
}

TEST_F(DocumentUndo, RealStorageSnapshotsKeepFloatsExactly) {
  CModelSpec spec;
  spec.m_bReal = true;
  Build(spec);
  doc.m_c3d.m_analogs[1].Set(0, 0.123456f);
  doc.m_c3d.m_points[0].Set(1, -1234.5678f);
  CModelState before(doc.m_c3d);
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  doc.m_c3d.m_analogs[1].Set(0, 1.0f);
  doc.m_c3d.m_points[0].Set(1, 2.0f);
  doc.m_nUndoKind = UNDO_FILTER;
  UndoAndCheck();
  before.ExpectEqual(doc.m_c3d);
}

TEST_F(DocumentUndo, DeletedAnalogChannelComesBackWithItsParameters) {
  CModelState before(doc.m_c3d);
  // What Delete does for channel 2 (1-based), a force-plate channel.
  int element = doc.m_c3d.FindForcePlateChannel(1);
  ASSERT_EQ(element, 1);
  doc.m_nUndoIndex = 1;
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  doc.DiscardSavedParams();
  doc.m_c3d.DeleteAnalogChannel(1, &doc.m_pSavedParams, false);
  doc.m_c3d.ClearForcePlateChannel(element);
  doc.m_nUndoKind = UNDO_DELETE_ANALOG;
  ASSERT_EQ(doc.m_c3d.AnalogCount(), 2);

  UndoAndCheck();
  before.ExpectEqual(doc.m_c3d);
  EXPECT_TRUE(doc.m_bRebuildTree);
}

TEST_F(DocumentUndo, DeletedPointComesBackInPlace) {
  CModelState before(doc.m_c3d);
  doc.m_nUndoIndex = 0;
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  doc.DiscardSavedParams();
  doc.m_c3d.DeletePoint(0, &doc.m_pSavedParams, false);
  doc.m_nUndoKind = UNDO_DELETE_POINT;
  UndoAndCheck();
  before.ExpectEqual(doc.m_c3d);
}

TEST_F(DocumentUndo, NewAnalogChannelIsRemovedAgain) {
  CModelState before(doc.m_c3d);
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  doc.SaveParameterCopies(AnalogSlotNames());
  // What New Analog Channel does when inserting before the second channel.
  CC3d& c3d = doc.m_c3d;
  CAnalog added;
  added.Allocate(12, false);
  c3d.m_analogs.insert(c3d.m_analogs.begin() + 1, added);
  c3d.m_header.m_nAnalogChannels = 4;
  c3d.m_header.m_nAnalogPerFrame = 8;
  CParam* labels = c3d.FindParam("ANALOG", "LABELS");
  labels->m_strings.insert(labels->m_strings.begin() + 1, "NEW");
  labels->m_dims[1] = 4;
  c3d.FindParam("ANALOG", "USED")->SetNumericValue(0, 4);
  c3d.FindParam("FORCE_PLATFORM", "CHANNEL")->SetNumericValue(1, 3);
  doc.m_nUndoIndex = 1;
  doc.m_nUndoKind = UNDO_NEW_ANALOG;
  doc.m_nSelNode = -2;
  doc.m_nSelItem = 3;

  UndoAndCheck();
  before.ExpectEqual(doc.m_c3d);
  EXPECT_EQ(doc.m_nSelItem, 2) << "the selection must stay on an existing channel";
}

TEST_F(DocumentUndo, RemovingTheOnlyNewChannelGivesBackTheFileRatio) {
  CModelSpec spec;
  spec.m_nAnalog = 0;
  spec.m_nSamplesPerFrame = 1;
  Build(spec);
  CModelState before(doc.m_c3d);
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  doc.SaveParameterCopies(AnalogSlotNames());
  CAnalog added;
  added.Allocate(6, false);
  doc.m_c3d.m_analogs.push_back(added);
  doc.m_c3d.m_header.m_nAnalogChannels = 1;
  doc.m_c3d.m_header.m_nAnalogPerFrame = 1;
  doc.m_nUndoIndex = 0;
  doc.m_nUndoKind = UNDO_NEW_ANALOG;
  UndoAndCheck();
  before.ExpectEqual(doc.m_c3d);
}

TEST_F(DocumentUndo, NewPointIsRemovedAgain) {
  CModelState before(doc.m_c3d);
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  doc.SaveParameterCopies(PointSlotNames());
  CVideo added;
  added.Allocate(24, false);
  doc.m_c3d.m_points.push_back(added);
  doc.m_c3d.m_header.m_nPoints = 3;
  CParam* labels = doc.m_c3d.FindParam("POINT", "LABELS");
  labels->m_strings.push_back("N");
  labels->m_dims[1] = 3;
  doc.m_c3d.FindParam("POINT", "USED")->SetNumericValue(0, 3);
  doc.m_nUndoIndex = 2;
  doc.m_nUndoKind = UNDO_NEW_POINT;
  doc.m_nSelNode = -3;
  doc.m_nSelItem = 2;
  UndoAndCheck();
  before.ExpectEqual(doc.m_c3d);
  EXPECT_EQ(doc.m_nSelItem, 1);
}

TEST_F(DocumentUndo, MergeDropsTheMergedChannelsAndLength) {
  CModelState before(doc.m_c3d);
  ASSERT_TRUE(doc.SaveUndoSnapshot());
  doc.SaveParameterCopies(MergeSlotNames());
  // A merge of one channel and one point from a file two frames longer.
  CC3d& c3d = doc.m_c3d;
  for (CAnalog& a : c3d.m_analogs) a.Resize(16);
  for (CVideo& v : c3d.m_points) v.Resize(32);
  CAnalog a;
  a.Allocate(16, false);
  a.Set(0, 77);
  c3d.m_analogs.push_back(a);
  CVideo v;
  v.Allocate(32, false);
  c3d.m_points.push_back(v);
  c3d.m_header.m_nAnalogChannels = 4;
  c3d.m_header.m_nAnalogPerFrame = 8;
  c3d.m_header.m_nPoints = 3;
  c3d.m_header.m_nLastFrame = 8;
  c3d.FindParam("ANALOG", "LABELS")->m_strings.push_back("M");
  c3d.FindParam("ANALOG", "LABELS")->m_dims[1] = 4;
  c3d.FindParam("ANALOG", "SCALE")->m_cells.push_back(0);
  c3d.FindParam("ANALOG", "SCALE")->m_dims[0] = 4;
  c3d.FindParam("ANALOG", "USED")->SetNumericValue(0, 4);
  c3d.FindParam("POINT", "USED")->SetNumericValue(0, 3);
  c3d.FindParam("POINT", "FRAMES")->SetNumericValue(0, 8);
  doc.m_nUndoKind = UNDO_MERGE;
  doc.m_nSelNode = -2;
  doc.m_nSelItem = 3;

  UndoAndCheck();
  before.ExpectEqual(c3d);
  EXPECT_EQ(doc.m_nSelNode, -1);
}

TEST_F(DocumentUndo, ZeroingAndOffsetReadTheAnalogStoresBack) {
  for (int kind : {UNDO_ZERO_FP, UNDO_ANALOG_STORAGE, UNDO_ZERO_ANALOG}) {
    SCOPED_TRACE(kind);
    CModelState before(doc.m_c3d);
    ASSERT_TRUE(doc.SaveUndoSnapshot());
    if (kind == UNDO_ANALOG_STORAGE) doc.SaveParameterCopies({{"ANALOG", "OFFSET"}});
    for (CAnalog& a : doc.m_c3d.m_analogs)
      for (size_t i = 0; i < a.Size(); ++i) a.Set(i, a.Get(i) - 40);
    doc.m_c3d.SetValueText("ANALOG", "OFFSET", 0, "-30");
    doc.m_c3d.SetValueText("ANALOG", "OFFSET", 2, "-30");
    doc.m_nUndoKind = kind;
    UndoAndCheck();
    EXPECT_EQ(before.m_samples, AllSamples(doc.m_c3d));
    if (kind == UNDO_ANALOG_STORAGE) ExpectSameParams(before.m_params, doc.m_c3d.m_params);
    // Restore the offsets the zeroing kinds leave alone for the next round.
    doc.m_c3d.m_params = before.m_params;
  }
}

TEST_F(DocumentUndo, ValuesBlockRestoresCoordinatesButKeepsResiduals) {
  CModelState before(doc.m_c3d);
  ASSERT_TRUE(doc.RecordUndoValues(true, 1, 2, 3));
  CVideo& v = doc.m_c3d.m_points[1];
  for (int f = 2; f < 5; ++f)
    for (int w = 0; w < 4; ++w) v.Set(f * 4 + w, 5);
  doc.m_nUndoKind = UNDO_VALUES;
  UndoAndCheck();
  for (int f = 0; f < 6; ++f) {
    for (int w = 0; w < 3; ++w) EXPECT_EQ(v.Get(f * 4 + w), PointValue(1, f, w));
    EXPECT_EQ(v.Get(f * 4 + 3), f >= 2 && f < 5 ? 5.0f : PointValue(1, f, 3));
  }
  EXPECT_TRUE(doc.m_bDataChanged);

  // An analog block truncates into integer samples; one that reaches past the
  // file writes only the frames that exist.
  doc.m_hUndoValues = {0, 2, 4, 3, 1.9f, -2.7f, 3, 4, 5, 6};
  doc.m_nUndoKind = UNDO_VALUES;
  UndoAndCheck();
  const CAnalog& a = doc.m_c3d.m_analogs[2];
  EXPECT_EQ(a.Get(8), 1.0f);
  EXPECT_EQ(a.Get(9), -2.0f);
  EXPECT_EQ(a.Get(10), 3.0f);
  EXPECT_EQ(a.Get(11), 4.0f);
  EXPECT_EQ(a.Size(), 12u);

  // A block for a channel that no longer exists changes nothing.
  doc.m_hUndoValues = {0, 9, 0, 1, 1, 1};
  doc.m_nUndoKind = UNDO_VALUES;
  doc.OnEditUndo();
  EXPECT_EQ(host.m_prompt.m_messages.size(), 1u);
}

TEST_F(DocumentUndo, GroupEditsAndRenumbering) {
  CModelState before(doc.m_c3d);
  CC3d& c3d = doc.m_c3d;
  // Edit of ANALOG without renumbering.
  CopyGroup(c3d.m_groups[1], doc.m_savedGroup);
  doc.m_nUndoIndex = 1;
  c3d.m_groups[1].m_strName = "ANALOGUE";
  c3d.m_groups[1].m_bLocked = true;
  doc.m_nUndoKind = UNDO_EDIT_GROUP;
  UndoAndCheck();
  before.ExpectEqual(c3d);
  EXPECT_FALSE(c3d.m_groups[1].m_bLocked);
  EXPECT_TRUE(doc.m_bRebuildTree);

  // Renumbering POINT from -1 to -9 moves its parameters along; undo moves them back.
  CopyGroup(c3d.m_groups[0], doc.m_savedGroup);
  doc.m_nUndoIndex = 0;
  c3d.m_groups[0].m_nId = -9;
  for (CParam& p : c3d.m_params)
    if (p.m_nGroupId == 1) p.m_nGroupId = 9;
  doc.m_nUndoKind = UNDO_RENUMBER_GROUP;
  UndoAndCheck();
  before.ExpectEqual(c3d);

  // New group removed again.
  CGroup g;
  g.m_strName = "EXTRA";
  g.m_nId = -7;
  c3d.m_groups.push_back(g);
  doc.m_nUndoIndex = 6;
  doc.m_nUndoKind = UNDO_NEW_GROUP;
  UndoAndCheck();
  before.ExpectEqual(c3d);
}

TEST_F(DocumentUndo, ParameterEditsAndPointRateFollowsTheParameter) {
  CC3d& c3d = doc.m_c3d;
  const int rate = c3d.FindParameter("POINT", "RATE");
  CModelState before(c3d);

  doc.m_pSavedParam = c3d.m_params[rate];
  doc.m_nUndoIndex = rate;
  c3d.m_params[rate].SetNumericValue(0, 120);
  c3d.m_header.m_fFrameRate = 120;
  doc.m_nUndoKind = UNDO_EDIT_PARAM;
  UndoAndCheck();
  before.ExpectEqual(c3d);
  EXPECT_EQ(c3d.m_header.m_fFrameRate, 50.0f);

  // A scale edit that is undone: the working scale follows the parameter.
  const int scale = c3d.FindParameter("POINT", "SCALE");
  doc.m_pSavedParam = c3d.m_params[scale];
  doc.m_nUndoIndex = scale;
  c3d.m_params[scale].SetNumericValue(0, 2.0);
  doc.CheckPointScale();
  EXPECT_EQ(c3d.m_header.m_fScale, 2.0f);
  doc.m_nUndoKind = UNDO_EDIT_PARAM;
  UndoAndCheck();
  EXPECT_EQ(c3d.m_header.m_fScale, 0.5f);

  // Deleted parameter comes back in its former place.
  const int gen = c3d.FindParameter("ANALOG", "GEN_SCALE");
  doc.m_pSavedParam = c3d.m_params[gen];
  doc.m_nUndoIndex = gen;
  c3d.m_params.erase(c3d.m_params.begin() + gen);
  doc.m_nUndoKind = UNDO_DELETE_PARAM;
  UndoAndCheck();
  EXPECT_EQ(c3d.FindParameter("ANALOG", "GEN_SCALE"), gen);
  EXPECT_EQ(c3d.FindParam("ANALOG", "GEN_SCALE")->FloatAt(0), 2.0f);
  EXPECT_EQ(c3d.m_params.size(), before.m_params.size());

  // New parameter removed again.
  c3d.m_params.push_back(NumericParam("NEWP", 1, PARAM_BYTE, {1}, {0}));
  doc.m_nUndoIndex = static_cast<int>(c3d.m_params.size()) - 1;
  doc.m_nUndoKind = UNDO_NEW_PARAM;
  UndoAndCheck();
  EXPECT_EQ(c3d.FindParameter("POINT", "NEWP"), -1);
  EXPECT_EQ(c3d.m_params.size(), before.m_params.size());
}

TEST_F(DocumentUndo, EventKinds) {
  CC3d& c3d = doc.m_c3d;
  CModelState before(c3d);

  CEvent e;
  e.m_strLabel = "NEW";
  c3d.m_events.push_back(e);
  doc.m_nUndoKind = UNDO_NEW_EVENT;
  UndoAndCheck();
  before.ExpectEqual(c3d);
  EXPECT_TRUE(doc.m_bEventsChanged);

  c3d.CopyEventList(0);
  doc.m_nUndoIndex = 0;
  c3d.m_events.erase(c3d.m_events.begin());
  doc.m_nUndoKind = UNDO_DELETE_EVENT;
  UndoAndCheck();
  before.ExpectEqual(c3d);

  c3d.CopyEventList(1);
  doc.m_nUndoIndex = 1;
  c3d.m_events[1].m_strLabel = "XX";
  c3d.m_events[1].m_fTime = 9;
  doc.m_nUndoKind = UNDO_EDIT_EVENT;
  UndoAndCheck();
  before.ExpectEqual(c3d);
}
