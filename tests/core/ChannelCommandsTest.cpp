// Channels and events: New Analog Channel, New 3D Marker, Delete of a
// channel with the force-plate question, the Event dialog's conversions and
// checks, New, edit and Delete of events, and Undo of each.
#include <gtest/gtest.h>

#include "EditFixture.h"
#include "ModelFixture.h"
#include "document/ChannelCommands.h"
#include "document/EditSelection.h"
#include "document/EventCommands.h"
#include "document/FrameCommands.h"

using namespace edittest;
using B = CScriptedDialogs;

namespace {

class ChannelCommands : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(f.OpenBuilt(StandardFile(false, 3, 12)), nullptr); }
  CC3d& c3d() { return f.doc->m_c3d; }
  CScriptedPrompt& prompt() { return f.host.m_prompt; }
  std::vector<double> Values(const char* group, const char* name) {
    std::vector<double> values;
    const CParam* p = c3d().FindParam(group, name);
    for (int i = 0; p && i < p->ElementCount(); ++i) values.push_back(p->NumericValue(i, ValueSign::Signed));
    return values;
  }
  std::vector<std::string> Strings(const char* group, const char* name) {
    return c3d().FindParam(group, name)->m_strings;
  }
  CEditFixture f;
};

}  // namespace

TEST_F(ChannelCommands, NewAnalogChannelGoesBeforeTheSelectedOne) {
  f.doc->m_nSelNode = -2;
  f.doc->m_nSelItem = 2;  // the third channel
  f.host.m_dialogs.AddAnalog([](CAddAnalogRequest& r) {
    EXPECT_EQ(r.m_fMin, 2047.0f);
    r.m_strName = "";
    return B::OK;  // no name: stays open
  });
  f.host.m_dialogs.AddAnalog([](CAddAnalogRequest& r) {
    r.m_strName = "FORCEX";  // cut to the labels' 4 characters
    r.m_strUnits = "N";
    r.m_fScale = 0.25f;
    r.m_fOffset = 100;
    r.m_nFillType = CAddAnalogRequest::SINE_WAVE;
    r.m_fMin = -10;
    r.m_fMax = 10;
    r.m_fFrequency = 25;  // 100 samples a second: 4 a cycle
    return B::OK;
  });
  OnNewAnalogChannel(*f.doc);
  ASSERT_EQ(c3d().AnalogCount(), 13);
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_NEW_ANALOG);
  EXPECT_EQ(f.doc->m_nUndoIndex, 2);
  EXPECT_EQ(c3d().m_header.m_nAnalogPerFrame, 26);
  EXPECT_EQ(Strings("ANALOG", "LABELS")[2], "FORC");
  EXPECT_EQ(Strings("ANALOG", "LABELS")[3], "A3");
  EXPECT_EQ(Strings("ANALOG", "UNITS")[2], "N");
  EXPECT_EQ(Values("ANALOG", "SCALE")[2], 0.25);
  EXPECT_EQ(Values("ANALOG", "SCALE")[3], 1.5);
  EXPECT_EQ(Values("ANALOG", "OFFSET")[2], 100);
  EXPECT_EQ(Values("ANALOG", "OFFSET").size(), 13u);
  EXPECT_EQ(Values("ANALOG", "USED")[0], 13);
  EXPECT_EQ(Values("EMG", "GAIN")[2], -1);
  EXPECT_EQ(Values("EMG", "SEL")[2], 0);
  EXPECT_EQ(Strings("EMG", "SIDE")[2], "N");
  // Force-plate entries 3 and up name channels that moved up by one.
  std::vector<double> plates = Values("FORCE_PLATFORM", "CHANNEL");
  EXPECT_EQ(plates, (std::vector<double>{1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
  // Integer storage truncates the wave toward zero: 0, 10, 0, -10, 0.
  const CAnalog& added = c3d().m_analogs[2];
  EXPECT_EQ(added.Get(0), 0);
  EXPECT_EQ(added.Get(1), 10);
  EXPECT_EQ(added.Get(3), -10);
  EXPECT_EQ(added.Get(4), 0);
}

TEST_F(ChannelCommands, NewChannelInAFileWithoutItsParameters) {
  // No ANALOG:SCALE, no samples per frame: the channel is still added, one
  // sample a frame.
  CEditFixture bare;
  CC3dFileBuilder b = StandardFile(true, 2, 0, 0);
  ASSERT_NE(bare.OpenBuilt(b), nullptr);
  CAddAnalogRequest r;
  r.m_fMin = 3.5f;
  ASSERT_TRUE(InsertAnalogChannel(bare.doc->m_c3d, r, 0));
  EXPECT_EQ(bare.doc->m_c3d.m_header.m_nSamplesPerFrame, 1);
  EXPECT_EQ(bare.doc->m_c3d.m_analogs[0].Size(), 10u);
  EXPECT_EQ(bare.doc->m_c3d.m_analogs[0].Get(9), 3.5f);
  EXPECT_EQ(bare.doc->m_c3d.FindParam("ANALOG", "SCALE"), nullptr);
}

// Files without analog channels often carry ANALOG:LABELS as a list of
// length 0; a list of empty descriptions may have length 0 too. The new
// channel's name and description must still arrive; a list with a length
// keeps cutting to it.
TEST_F(ChannelCommands, NamesReachListsOfLengthZero) {
  CParam& labels = *c3d().FindParam("ANALOG", "LABELS");
  labels.m_dims = {0, 12};
  labels.m_strings.assign(12, "");
  CParam& descriptions = *c3d().FindParam("POINT", "DESCRIPTIONS");
  descriptions.m_dims = {0, 3};
  descriptions.m_strings.assign(3, "");
  CAddAnalogRequest analog;
  analog.m_strName = "EMG1";
  analog.m_strUnits = "millivolt";  // UNITS has length 2
  ASSERT_TRUE(InsertAnalogChannel(c3d(), analog, 1));
  CAdd3DMarkerRequest marker;
  marker.m_strName = "TOE";
  marker.m_strDescription = "right toe";
  ASSERT_TRUE(InsertPoint(c3d(), marker, 3));
  EXPECT_EQ(labels.m_dims, (std::vector<uint8_t>{4, 13}));
  EXPECT_EQ(labels.m_strings[1], "EMG1");
  EXPECT_EQ(labels.m_strings[2], "");
  EXPECT_EQ(Strings("ANALOG", "UNITS")[1], "mi");
  EXPECT_EQ(descriptions.m_dims, (std::vector<uint8_t>{9, 4}));
  EXPECT_EQ(descriptions.m_strings[3], "right toe");
}

// A file whose labels are full takes no further channel: New Analog
// Channel says so before its dialog and leaves the earlier undo alone.
TEST(NewAnalogChannelLimit, FullFileRefusedAndEarlierUndoKept) {
  CEditFixture f;
  ASSERT_NE(f.OpenBuilt(StandardFile(false, 1, 255, 1, 4)), nullptr);
  f.doc->m_nSelNode = -2;
  f.doc->m_nSelItem = 0;
  f.ExpectUndoRestoresFile([&] {
    f.host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_YES);
    DeleteSelected(*f.doc, {1});
    OnNewAnalogChannel(*f.doc);  // no dialog step: the dialog must not open
    EXPECT_EQ(f.host.m_prompt.TakeMessages(),
              std::vector<std::string>{"No more analog channels can be added to this file"});
    EXPECT_EQ(f.doc->m_c3d.AnalogCount(), 255);
  }, UNDO_DELETE_FRAMES);
}

TEST_F(ChannelCommands, NewMarkerValuesScaledOrRaw) {
  // Integer file, point scale 0.5: X = 100 in real units is the sample 200.
  CAdd3DMarkerRequest r;
  r.m_fX = 100.7f;
  r.m_fY = -3;
  ASSERT_TRUE(InsertPoint(c3d(), r, 1));
  EXPECT_EQ(c3d().m_points[1].Get(0), 200);
  EXPECT_EQ(c3d().m_points[1].Get(1), -6);
  EXPECT_EQ(c3d().m_points[1].Get(4 * 9 + 3), 0);
  EXPECT_EQ(Strings("POINT", "LABELS")[1], "N");
  EXPECT_EQ(Values("POINT", "USED")[0], 4);
  r.m_nFillType = CAdd3DMarkerRequest::UNSCALED;
  ASSERT_TRUE(InsertPoint(c3d(), r, 4));
  EXPECT_EQ(c3d().m_points[4].Get(0), 100);
  EXPECT_EQ(c3d().m_header.m_nPoints, 5);

  // Real storage: scaled values as entered, raw ones times the scale.
  CEditFixture real;
  ASSERT_NE(real.OpenBuilt(StandardFile(true)), nullptr);
  r.m_fX = 100;
  ASSERT_TRUE(InsertPoint(real.doc->m_c3d, r, 0));
  EXPECT_EQ(real.doc->m_c3d.m_points[0].Get(0), 50.0f);
  r.m_nFillType = CAdd3DMarkerRequest::SCALED;
  ASSERT_TRUE(InsertPoint(real.doc->m_c3d, r, 0));
  EXPECT_EQ(real.doc->m_c3d.m_points[0].Get(0), 100.0f);
}

TEST_F(ChannelCommands, DeletingAForcePlateChannelAsksTwiceAndClearsItsEntry) {
  f.doc->m_nSelNode = -2;
  f.doc->m_nSelItem = 3;
  const char kChannel[] = "You are going to delete Channel 4 .\nDo you want to continue?";
  const char kPlate[] =
      "The channel that you have selected for deletion is a Force Plate channel!\n"
      "The entry for this channel will be set to 0 in the FORCE_PLATFORM:CHANNEL parameter.\n"
      "Do you want to continue?";
  prompt().ExpectQuestion(CUserPrompt::ANSWER_YES, kChannel);
  prompt().ExpectQuestion(CUserPrompt::ANSWER_NO, kPlate);
  DeleteSelected(*f.doc, {});
  EXPECT_EQ(c3d().AnalogCount(), 12);

  prompt().ExpectQuestion(CUserPrompt::ANSWER_YES, kChannel);
  prompt().ExpectQuestion(CUserPrompt::ANSWER_YES, kPlate);
  DeleteSelected(*f.doc, {});
  EXPECT_EQ(c3d().AnalogCount(), 11);
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_DELETE_ANALOG);
  EXPECT_EQ(Values("FORCE_PLATFORM", "CHANNEL"), (std::vector<double>{1, 2, 3, 0, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(Strings("ANALOG", "LABELS")[3], "A5");

  // The last point: the selection moves to the one before it.
  f.doc->m_nSelNode = -3;
  f.doc->m_nSelItem = 2;
  prompt().ExpectQuestion(CUserPrompt::ANSWER_YES, "You are going to delete Channel 3 .\nDo you want to continue?");
  DeleteSelected(*f.doc, {});
  EXPECT_EQ(c3d().PointCount(), 2);
  EXPECT_EQ(f.doc->m_nSelItem, 1);
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_DELETE_POINT);
}

// Some writers store POINT:USED and ANALOG:USED as a list of one number;
// the counts must follow added and deleted channels all the same.
TEST_F(ChannelCommands, CountsStoredAsAListOfOneFollowTheChannels) {
  for (const char* group : {"POINT", "ANALOG"}) c3d().FindParam(group, "USED")->m_dims = {1};
  ASSERT_TRUE(InsertAnalogChannel(c3d(), CAddAnalogRequest(), 0));
  ASSERT_TRUE(InsertPoint(c3d(), CAdd3DMarkerRequest(), 0));
  EXPECT_EQ(Values("ANALOG", "USED"), std::vector<double>{13});
  EXPECT_EQ(Values("POINT", "USED"), std::vector<double>{4});
  for (int n = 0; n < 3; ++n) {
    c3d().DeleteAnalogChannel(0, nullptr, true);
    c3d().DeletePoint(0, nullptr, true);
  }
  EXPECT_EQ(Values("ANALOG", "USED"), std::vector<double>{10});
  EXPECT_EQ(Values("POINT", "USED"), std::vector<double>{1});
}

// ANALOG:GAIN holds a gain code per channel: it follows added and deleted
// channels as ANALOG:SCALE does (0, unknown, for a new one), and Undo of a
// deletion gives it back.
TEST_F(ChannelCommands, GainCodesFollowTheirChannels) {
  testsupport::SetList(c3d(), "ANALOG", "GAIN", PARAM_INTEGER, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  ASSERT_TRUE(InsertAnalogChannel(c3d(), CAddAnalogRequest(), 2));
  const std::vector<double> added{1, 2, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  EXPECT_EQ(Values("ANALOG", "GAIN"), added);
  f.doc->m_nSelNode = -2;
  f.doc->m_nSelItem = 0;
  prompt().AnswerAllWith(CUserPrompt::ANSWER_YES);
  DeleteSelected(*f.doc, {});
  EXPECT_EQ(Values("ANALOG", "GAIN"), std::vector<double>(added.begin() + 1, added.end()));
  f.doc->OnEditUndo();
  EXPECT_EQ(Values("ANALOG", "GAIN"), added);
}

// A plate of a type without a known channel count (here the second one, a
// type 6) still names its channels: deleting one of them must not leave
// the entry naming the channel that moves into its place.
TEST_F(ChannelCommands, DeletingAChannelOfAPlateOfAnotherTypeClearsItsEntry) {
  c3d().FindParam("FORCE_PLATFORM", "TYPE")->SetNumericValue(1, 6);
  f.doc->m_nSelNode = -2;
  f.doc->m_nSelItem = 7;
  prompt().AnswerAllWith(CUserPrompt::ANSWER_YES);
  DeleteSelected(*f.doc, {});
  EXPECT_EQ(prompt().m_questions.size(), 2u);  // the channel, then the plate
  EXPECT_EQ(Values("FORCE_PLATFORM", "CHANNEL"), (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 0, 8, 9, 10, 11}));
}

TEST(EventRequest, ConversionsAndLiveFields) {
  // 60 Hz, frames 11 to 450, 4 analog samples a frame.
  CEventRequest r(60.0f, 11, 450, 4);
  EXPECT_DOUBLE_EQ(r.TimeOfVideoFrame(61), 1.0);
  EXPECT_DOUBLE_EQ(r.TimeOfAnalogFrame(241), 1.0);
  EXPECT_EQ(r.VideoFrameOfTime(1.0), 61);
  EXPECT_EQ(r.VideoFrameOfTime(1.01), 62);  // between frames: the next one
  EXPECT_EQ(r.VideoFrameOfTime(0.0167), 2);  // 1/60 shown with four decimals
  EXPECT_EQ(r.AnalogFrameOfTime(1.0), 241);
  EXPECT_EQ(r.AnalogFrameOfVideoFrame(3), 9);
  EXPECT_EQ(r.VideoFrameOfAnalogFrame(12), 3);

  r.ShowFrame(11);
  EXPECT_EQ(r.m_strTime, "0.1667");
  EXPECT_EQ(r.m_strAnalogFrame, "41");
  r.m_strVideoFrame = "31";
  EXPECT_TRUE(r.OnVideoFrameEdited());
  EXPECT_EQ(r.m_strTime, "0.5000");
  EXPECT_EQ(r.m_strAnalogFrame, "121");
  r.m_strAnalogFrame = "125";
  EXPECT_TRUE(r.OnAnalogFrameEdited());
  EXPECT_EQ(r.m_strTime, "0.5167");
  EXPECT_EQ(r.m_strVideoFrame, "32");
  r.m_strTime = "1.";
  EXPECT_TRUE(r.OnTimeEdited());
  EXPECT_EQ(r.m_strVideoFrame, "61");
  EXPECT_EQ(r.m_strAnalogFrame, "241");
  r.m_strTime = "100";  // beyond the recording: the others stay
  EXPECT_FALSE(r.OnTimeEdited());
  EXPECT_EQ(r.m_strVideoFrame, "61");
}

TEST(EventRequest, OkChecks) {
  CRecordingPrompt prompt;
  CEventRequest r(64.0f, 1, 4, 1);
  r.ShowFrame(4);
  // 3/64 = 0.046875 shows as 0.0469, above the last time: still accepted,
  // with the exact time.
  r.m_strLabel = "ABCDE";
  ASSERT_TRUE(r.Ok(prompt));
  EXPECT_EQ(r.m_event.m_fTime, 3.0f / 64.0f);
  EXPECT_EQ(r.m_event.m_nFrame, 4);
  EXPECT_EQ(r.m_event.m_strLabel, "ABCD");
  r.m_strLabel = "ABCD";
  r.m_strTime = "0.06";
  EXPECT_FALSE(r.Ok(prompt));
  r.m_strTime = "";
  EXPECT_FALSE(r.Ok(prompt));  // empty: nothing happens
  r.m_strTime = "0.03";
  r.m_strVideoFrame = "5";
  EXPECT_FALSE(r.Ok(prompt));
  EXPECT_EQ(prompt.m_messages,
            (std::vector<std::string>{"The Event Label will be truncated",
                                      "Selected Time does not lie in the data collection range",
                                      "Please enter an integer between 1 and 4."}));
  r.m_strVideoFrame = "2";
  ASSERT_TRUE(r.Ok(prompt));
  EXPECT_EQ(r.m_event.m_nFrame, 3);  // the frame after 0.03 s
  EXPECT_FLOAT_EQ(r.m_event.m_fTime, 0.03f);
  EXPECT_FALSE(r.Delete(prompt));  // no Delete for a new event
}

TEST_F(ChannelCommands, EventsFromTheListAndFromAFrame) {
  f.doc->m_nSelNode = -3;
  f.doc->m_nSelItem = 0;
  EXPECT_TRUE(CanNewEvent(*f.doc, 1));
  EXPECT_FALSE(CanNewEvent(*f.doc, 2));
  f.host.m_dialogs.Event([](CEventRequest& r) {
    EXPECT_EQ(r.m_strVideoFrame, "5");
    EXPECT_EQ(r.m_strLabel, "xxxx");
    r.m_strLabel = "FS";
    r.m_bStatus = false;
    return B::OK;
  });
  OnNewEvent(*f.doc, 4);
  ASSERT_EQ(c3d().m_events.size(), 3u);
  EXPECT_EQ(c3d().m_events[2].m_nFrame, 5);
  EXPECT_EQ(c3d().m_events[2].m_nDisplay, 0);
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_NEW_EVENT);

  // Edit, then Delete (No first keeps the dialog open), from the list.
  f.host.m_dialogs.Event([](CEventRequest& r) {
    EXPECT_TRUE(r.m_bExisting);
    EXPECT_EQ(r.m_strLabel, "TO  ");
    r.m_strLabel = "TOE";
    return B::OK;
  });
  EditEventEntry(*f.doc, 1);
  EXPECT_EQ(c3d().m_events[1].m_strLabel, "TOE");
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_EDIT_EVENT);
  f.host.m_dialogs.Event(B::Press<CEventRequest>(B::DELETE_EVENT));
  f.host.m_dialogs.Event(B::Press<CEventRequest>(B::DELETE_EVENT));
  prompt().ExpectQuestion(CUserPrompt::ANSWER_NO, "You are going to Delete an Event\nDo you want to continue?");
  prompt().ExpectQuestion(CUserPrompt::ANSWER_YES);
  EditEventEntry(*f.doc, 0);
  ASSERT_EQ(c3d().m_events.size(), 2u);
  EXPECT_EQ(c3d().m_events[0].m_strLabel, "TOE");
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_DELETE_EVENT);

  // With 18 events there is no "Add..." entry: the last entry is the 18th event.
  c3d().m_events.resize(kMaxHeaderEvents, c3d().m_events[0]);
  EXPECT_FALSE(CanNewEvent(*f.doc, 1));
  f.host.m_dialogs.Event([](CEventRequest& r) {
    EXPECT_TRUE(r.m_bExisting);
    return B::CANCEL;
  });
  EditEventEntry(*f.doc, kMaxHeaderEvents - 1);
  EditEventEntry(*f.doc, kMaxHeaderEvents);  // nothing there
}

// Undo gives back the very file for every channel and event kind.
class ChannelUndo : public ::testing::TestWithParam<std::string> {};

TEST_P(ChannelUndo, EveryKindRestoresTheFile) {
  CEditFixture f;
  if (GetParam() == "built") {
    ASSERT_NE(f.OpenBuilt(StandardFile(false, 3, 12)), nullptr);
  } else {
    REQUIRE_CORPUS();
    ASSERT_NE(f.OpenCorpus(GetParam()), nullptr);
  }
  CEditorDoc& doc = *f.doc;
  CC3d& c3d = doc.m_c3d;
  CScriptedDialogs& dialogs = f.host.m_dialogs;
  CScriptedPrompt& prompt = f.host.m_prompt;
  prompt.AnswerAllWith(CUserPrompt::ANSWER_YES);

  for (int node : {-2, -3}) {
    const int count = node == -2 ? c3d.AnalogCount() : c3d.PointCount();
    if (count < 2) continue;
    doc.m_nSelNode = node;
    doc.m_nSelItem = 1;
    f.ExpectUndoRestoresFile([&] { DeleteSelected(doc, {}); },
                             node == -2 ? UNDO_DELETE_ANALOG : UNDO_DELETE_POINT);
    f.ExpectUndoRestoresFile([&] {
      if (node == -2) {
        dialogs.AddAnalog([](CAddAnalogRequest& r) {
          r.m_nFillType = CAddAnalogRequest::SQUARE_WAVE;
          r.m_fMin = 0;
          r.m_fMax = 1000;
          r.m_fFrequency = 7;
          return B::OK;
        });
        OnNewAnalogChannel(doc);
      } else {
        dialogs.Add3DMarker([](CAdd3DMarkerRequest& r) {
          r.m_fX = 12;
          return B::OK;
        });
        OnNewPoint(doc);
      }
    }, node == -2 ? UNDO_NEW_ANALOG : UNDO_NEW_POINT);
  }
  f.ExpectUndoRestoresFile([&] {
    dialogs.Event(B::Press<CEventRequest>(B::OK));
    OnNewEvent(doc, 2);
  }, UNDO_NEW_EVENT);
  if (!c3d.m_events.empty()) {
    f.ExpectUndoRestoresFile([&] {
      dialogs.Event([](CEventRequest& r) {
        r.m_strLabel = "EDIT";
        r.m_bStatus = !r.m_bStatus;
        return B::OK;
      });
      EditEventEntry(doc, 0);
    }, UNDO_EDIT_EVENT);
    f.ExpectUndoRestoresFile([&] {
      dialogs.Event(B::Press<CEventRequest>(B::DELETE_EVENT));
      EditEventEntry(doc, 0);
    }, UNDO_DELETE_EVENT);
  }
  EXPECT_TRUE(prompt.m_messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, ChannelUndo,
                         ::testing::Values("built", "c3dorg_s01_eb015_dec_int.c3d", "c3dorg_s02_sgi_real.c3d",
                                           "auck_fmc_dynamic.c3d", "btk_res16bits.c3d"),
                         [](const auto& info) {
                           std::string name = info.param.substr(0, info.param.find('.'));
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

// Integer storage holds levels beyond the 16-bit range at its limits, in new
// channels, new markers and new frames alike, instead of wrapping them round
// to the other sign.
TEST_F(ChannelCommands, FillLevelsBeyondSixteenBitsAreHeldAtTheLimits) {
  CAddAnalogRequest analog;
  analog.m_strName = "BIG";
  analog.m_nFillType = CAddAnalogRequest::SQUARE_WAVE;
  analog.m_fMin = -40000;
  analog.m_fMax = 40000;
  analog.m_fFrequency = 1;
  ASSERT_TRUE(InsertAnalogChannel(c3d(), analog, 0));
  EXPECT_EQ(c3d().m_analogs[0].Get(0), 32767.0f);  // a square wave starts at its upper level
  CAdd3DMarkerRequest marker;
  marker.m_fX = 20000;  // 40000 samples at point scale 0.5
  marker.m_fY = -16500.5f;
  ASSERT_TRUE(InsertPoint(c3d(), marker, 0));
  EXPECT_EQ(c3d().m_points[0].Get(0), 32767.0f);
  EXPECT_EQ(c3d().m_points[0].Get(1), -32768.0f);

  CAddFramesRequest frames(1, c3d().FrameCount());
  frames.m_nFrames = 1;
  frames.m_nInsertAt = CAddFramesRequest::END_OF_DATA;
  frames.m_fX = -50000;
  frames.m_fMin = 33000;
  ASSERT_TRUE(AddFrames(*f.doc, frames));
  const size_t last = static_cast<size_t>(c3d().FrameCount() - 1);
  EXPECT_EQ(c3d().m_points[1].Get(last * 4), -32768.0f);
  EXPECT_EQ(c3d().m_analogs[1].Get(c3d().m_analogs[1].Size() - 1), 32767.0f);
}
