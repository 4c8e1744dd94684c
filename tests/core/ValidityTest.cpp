// The three validity checks, line for line, on models built here (with
// rules files written here) and on real recordings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeHost.h"
#include "ModelFixture.h"
#include "TestSupport.h"
#include "c3d/C3d.h"
#include "document/ValidityCommands.h"
#include "processing/Validity.h"

using namespace testsupport;
using Lines = std::vector<std::string>;

namespace {

CValidityRules Rules(const std::string& text) {
  CValidityRules rules;
  rules.Parse(text);
  return rules;
}

// A valid POINT and ANALOG description of a 2-point, 2-channel model.
std::unique_ptr<CC3d> Model(int points = 2, int frames = 4) {
  return CModelBuilder().Points(points).Analogs(2).Frames(frames).Scale(0.5f).Build();
}

const Lines kValidPointLines = {
    "POINT:LABELS has valid data", "POINT:USED has valid data",       "POINT:SCALE has valid data",
    "POINT:RATE has valid data",   "POINT:DATA_START has valid data", "POINT:FRAMES has valid data"};

}  // namespace

// Groups are numbered negative and parameters hold the absolute value; the
// check pairs them by that absolute value (LABELS-POINT matches its rules and
// reports nothing).
TEST(Validity, ParametersAgainstRulesFileLineForLine) {
  CC3d c3d;
  CModelBuilder().Points(2).Analogs(2).NoParameters().BuildInto(c3d);
  SetStrings(c3d, "POINT", "LABELS", {"P1", "P2"}, 4);
  SetScalar(c3d, "POINT", "USED", PARAM_INTEGER, 2);
  SetList(c3d, "ANALOG", "SCALE", PARAM_FLOAT, {1, 1});
  SetScalar(c3d, "ANALOG", "GEN_SCALE", PARAM_FLOAT, 1);
  CParam orphan;  // its group number belongs to no group
  orphan.m_strName = "ORPHAN";
  orphan.m_nGroupId = 9;
  orphan.m_nType = PARAM_INTEGER;
  orphan.ResizeToDimensions();
  c3d.m_params.push_back(orphan);
  ASSERT_LT(c3d.m_groups[0].m_nId, 0);
  ASSERT_GT(c3d.m_params[0].m_nGroupId, 0);

  const CValidityRules rules = Rules(
      "[Groups]\nNumber=3\nGroup1=point\nGroup2=Seg\nGroup3=ANALOG\nGroup4=EXTRA\n"
      "[LABELS-POINT]\nData=-1\nNumDim=2\nDim1=4\nDim2=2\n"
      "[USED-POINT]\nData=4\nNumDim=1\nDim1=1\n"
      "[SCALE-ANALOG]\nData=4\nNumDim=1\nDim1=3\n"
      "[GEN_SCALE-ANALOG]\nData=-3421\nNumDim=0\n"
      "[ORPHAN-]\nData=2\n"
      "[labels - point]\n"
      "[LABELS-NOGROUP]\nData=-1\n");
  CValidityResult result = CheckParameterValidity(c3d, rules);
  EXPECT_EQ(result.m_nMode, VALIDITY_PARAMETERS);
  EXPECT_EQ(result.m_strCaption, "Parameter Validity");
  EXPECT_EQ(result.m_lines, (Lines{"USED-POINT", "Incorrect Data Type", "Incorrect Number of Dimensions",
                                   "Incorrect Dimensions", "SCALE-ANALOG", "Incorrect Dimensions",
                                   "GEN_SCALE-ANALOG", "Data Type Entry not found", "ORPHAN-",
                                   "Number of dimensions Not Found", "",
                                   "Group SEG was not found in the C3D file", "",
                                   "Parameter ORPHAN not found in Group  in the C3D file",
                                   "Parameter LABELS not found in Group  POINT in the C3D file",
                                   "Parameter LABELS not found in Group NOGROUP in the C3D file"}));
  EXPECT_EQ(result.Text().substr(0, 23), "USED-POINT\r\r\nIncorrect ");

  // Without a rules file nothing is described and no group is required.
  CValidityRules none;
  EXPECT_FALSE(none.Load("/nonexistent/rules.cfg"));
  result = CheckParameterValidity(c3d, none);
  EXPECT_EQ(result.m_lines, (Lines{"LABELS-POINT", "Data Type Entry not found", "USED-POINT",
                                   "Data Type Entry not found", "SCALE-ANALOG",
                                   "Data Type Entry not found", "GEN_SCALE-ANALOG",
                                   "Data Type Entry not found", "ORPHAN-", "Data Type Entry not found",
                                   "", ""}));
}

TEST(Validity, MatchingRulesSayAllParametersValid) {
  CC3d c3d;
  CModelBuilder().Points(2).NoParameters().BuildInto(c3d);
  SetStrings(c3d, "POINT", "LABELS", {"P1", "P2"}, 4);
  const CValidityRules rules =
      Rules("[Groups]\nNumber=1\nGroup1=POINT\n[labels-point]\nDATA=-1\nnumdim=2\nDim1=4\nDim2=2\n");
  CValidityResult result = CheckParameterValidity(c3d, rules);
  EXPECT_EQ(result.m_lines, Lines{"All the Parameters contain valid Data Type and dimensions"});
  EXPECT_EQ(result.Text(), "All the Parameters contain valid Data Type and dimensions\r\r\n");
}

TEST(Validity, OnlySectionNamesThatFitTheListAreSeen) {
  // 100 names of 63 characters: each takes 64 of the 6400 characters, and
  // the list's own terminator leaves room for 99 of them.
  std::string text;
  for (int i = 0; i < 100; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "P%02d-%s", i, std::string(59, 'G').c_str());
    text += std::string("[") + name + "]\n";
  }
  CValidityRules rules = Rules(text);
  ASSERT_EQ(rules.SectionNames().size(), 99u);
  EXPECT_EQ(rules.SectionNames().back().substr(0, 4), "P98-");

  CC3d c3d;
  CModelBuilder().Points(0).Analogs(0).NoParameters().BuildInto(c3d);
  EXPECT_EQ(CheckParameterValidity(c3d, rules).m_lines.size(), 2u + 99u);
}

TEST(Validity, PointsInsideLimitsAreInclusiveAndInvalidSamplesSkipped) {
  // Integer storage, scale 0.5: point j, frame f has X = (1000 j + 10 f + 1) x 0.5.
  auto c3d = Model(3);
  SetStrings(*c3d, "POINT", "LABELS", {"P1", "P2"}, 4);  // the third is "Marker 3"
  // Point 0's first X (0.5) lies on the minimum, point 1's last X (515.5) on
  // the maximum; point 1 has a far sample that is invalid.
  SetList(*c3d, "SEG", "DATA_LIMITS", PARAM_FLOAT, {0.5, 0, 0, 515.5, 1000, 1000});
  SetPointFrame(*c3d, 1, 2, 9000, 1, 1, -1);

  CValidityResult result;
  std::string message;
  ASSERT_TRUE(CheckPointValidity(*c3d, result, message));
  EXPECT_EQ(result.m_strCaption, "Point Data and related Parameter Validity");
  EXPECT_EQ(result.m_lines, Lines{"Marker 3  :  Data Out Of Limits"});
  EXPECT_EQ(result.m_outOfLimits, Lines{"Marker 3"});
  Lines pointLines = kValidPointLines;
  pointLines[0] = "POINT:LABELS lesser data items than Markers Used";
  EXPECT_EQ(result.m_pointLines, pointLines);
  Lines text = result.TextLines();
  EXPECT_EQ(text.size(), 8u);
  EXPECT_EQ(text[1], "");

  // Without points everything is inside.
  auto empty = Model(0);
  SetList(*empty, "SEG", "DATA_LIMITS", PARAM_FLOAT, {0, 0, 0, 1, 1, 1});
  ASSERT_TRUE(CheckPointValidity(*empty, result, message));
  EXPECT_EQ(result.m_lines, Lines{"All the data in the 3D Channels lie within data limits"});
}

TEST(Validity, RealCoordinatesAreTestedAsStored) {
  // Real storage holds X = 1000 j + 10 f + 1 directly; the scale is not applied.
  auto c3d = CModelBuilder().Points(2).Analogs(0).Frames(4).Real().Build();
  SetList(*c3d, "SEG", "DATA_LIMITS", PARAM_FLOAT, {1, 2, 3, 31, 32, 33});
  CValidityResult result;
  std::string message;
  ASSERT_TRUE(CheckPointValidity(*c3d, result, message));
  EXPECT_EQ(result.m_lines, Lines{"P2  :  Data Out Of Limits"});
}

TEST(Validity, PointCheckStopsOnUnusableScaleOrLimits) {
  struct Case {
    void (*m_fnBreak)(CC3d&);
    const char* m_pszMessage;
  } cases[] = {
      {[](CC3d& c) { DropParam(c, "POINT", "SCALE"); },
       "Could not find parameter POINT:SCALE\nCannot Check Validity"},
      {[](CC3d& c) { SetScalar(c, "POINT", "SCALE", PARAM_INTEGER, 1); },
       "Incorrect data in parameter POINT:SCALE\nCannot Check Validity"},
      {[](CC3d& c) { DropParam(c, "SEG", "DATA_LIMITS"); },
       "Could not find parameter SEG:DATA_LIMITS\nCannot Check Validity"},
      {[](CC3d& c) { SetList(c, "SEG", "DATA_LIMITS", PARAM_FLOAT, {0, 0, 0, 1, 1}); },
       "Incorrect data in parameter SEG:DATA_LIMITS\nCannot Check Validity"},
      {[](CC3d& c) { SetList(c, "SEG", "DATA_LIMITS", PARAM_INTEGER, {0, 0, 0, 1, 1, 1}); },
       "Incorrect data in parameter SEG:DATA_LIMITS\nCannot Check Validity"},
  };
  for (const Case& c : cases) {
    auto c3d = Model();
    SetList(*c3d, "SEG", "DATA_LIMITS", PARAM_FLOAT, {0, 0, 0, 1, 1, 1});
    c.m_fnBreak(*c3d);
    CValidityResult result;
    std::string message;
    EXPECT_FALSE(CheckPointValidity(*c3d, result, message));
    EXPECT_EQ(message, c.m_pszMessage);
  }
}

TEST(Validity, PointParameterLines) {
  struct Case {
    void (*m_fnChange)(CC3d&);
    size_t m_nIndex;  // first line that changes
    Lines m_expected;  // the lines from there on that differ from "valid"
  } cases[] = {
      {[](CC3d& c) { DropParam(c, "POINT", "LABELS"); }, 0, {"POINT:LABELS does Not Exist"}},
      {[](CC3d& c) { SetList(c, "POINT", "LABELS", PARAM_INTEGER, {1}); }, 0,
       {"POINT:LABELS has Incorrect data type", "POINT:LABELS lesser data items than Markers Used"}},
      {[](CC3d& c) { SetList(c, "POINT", "LABELS", PARAM_INTEGER, {1, 2}); }, 0,
       {"POINT:LABELS has Incorrect data type"}},
      {[](CC3d& c) { SetScalar(c, "POINT", "USED", PARAM_FLOAT, 2); }, 1,
       {"POINT:USED has Incorrect data type"}},
      {[](CC3d& c) { SetParam(c, "POINT", "USED", PARAM_INTEGER, {0}); }, 1,
       {"POINT:USED has no data in it"}},
      {[](CC3d& c) { SetScalar(c, "POINT", "USED", PARAM_INTEGER, 3); }, 1,
       {"POINT:USED shows Incorrect number of Markers used"}},
      {[](CC3d& c) { SetScalar(c, "POINT", "SCALE", PARAM_FLOAT, 0.25); }, 2,
       {"POINT:SCALE shows Incorrect Scale Factor"}},
      {[](CC3d& c) { DropParam(c, "POINT", "RATE"); }, 3, {"POINT:RATE does Not Exist"}},
      {[](CC3d& c) { SetScalar(c, "POINT", "RATE", PARAM_FLOAT, 59.999f); }, 3,
       {"POINT:RATE shows Incorrect Sampling Frequency"}},
      {[](CC3d& c) { SetScalar(c, "POINT", "DATA_START", PARAM_INTEGER, 4); }, 4,
       {"POINT:DATA_START shows Incorrect Start of data"}},
      {[](CC3d& c) { SetScalar(c, "POINT", "FRAMES", PARAM_BYTE, 4); }, 5,
       {"POINT:FRAMES has Incorrect data type"}},
      {[](CC3d& c) { SetScalar(c, "POINT", "FRAMES", PARAM_INTEGER, 5); }, 5,
       {"POINT:FRAMES shows Video frames collected"}},
  };
  for (const Case& c : cases) {
    auto c3d = Model();
    c.m_fnChange(*c3d);
    Lines expected(kValidPointLines.begin(), kValidPointLines.begin() + c.m_nIndex);
    expected.insert(expected.end(), c.m_expected.begin(), c.m_expected.end());
    expected.insert(expected.end(), kValidPointLines.begin() + c.m_nIndex + 1, kValidPointLines.end());
    EXPECT_EQ(PointParameterLines(*c3d), expected) << c.m_expected[0];
  }
  EXPECT_EQ(PointParameterLines(*Model()), kValidPointLines);
}

// POINT:FRAMES holds the frame count as an unsigned 16-bit number; a trial
// of 40000 frames is not reported as wrong.
TEST(Validity, FrameCountsAboveSignedRangeAreValid) {
  auto c3d = CModelBuilder().Points(1).Analogs(0).Frames(40000).Scale(0.5f).Build();
  ASSERT_LT(c3d->FindParam("POINT", "FRAMES")->ShortAt(0), 0);
  EXPECT_EQ(PointParameterLines(*c3d)[5], "POINT:FRAMES has valid data");
}

TEST(Validity, AnalogParameterLines) {
  auto c3d = Model();
  const Lines valid = {"ANALOG:LABELS has valid data",    "ANALOG:GEN_SCALE has valid data",
                       "ANALOG:SCALE has valid data",     "ANALOG:OFFSET has valid data",
                       "ANALOG:UNITS has valid data",     "ANALOG:USED has valid data",
                       "ANALOG:RATE has valid data"};
  CValidityResult result = CheckAnalogValidity(*c3d);
  EXPECT_EQ(result.m_strCaption, "Analog Data related Parameter Validity");
  EXPECT_EQ(result.m_nMode, VALIDITY_ANALOG);
  EXPECT_EQ(result.m_lines, valid);

  DropParam(*c3d, "ANALOG", "LABELS");
  SetParam(*c3d, "ANALOG", "GEN_SCALE", PARAM_FLOAT, {0});
  SetList(*c3d, "ANALOG", "SCALE", PARAM_FLOAT, {1});
  SetList(*c3d, "ANALOG", "OFFSET", PARAM_FLOAT, {0, 0});
  SetList(*c3d, "ANALOG", "UNITS", PARAM_INTEGER, {0});
  SetScalar(*c3d, "ANALOG", "USED", PARAM_INTEGER, 3);
  SetScalar(*c3d, "ANALOG", "RATE", PARAM_FLOAT, 60);  // 2 samples per frame x 60 Hz is 120
  EXPECT_EQ(CheckAnalogValidity(*c3d).m_lines,
            (Lines{"ANALOG:LABELS does Not Exist", "ANALOG:GEN_SCALE has no data in it",
                   "ANALOG:SCALE has lesser data than channels collected",
                   "ANALOG:OFFSET has Incorrect data type", "ANALOG:UNITS has Incorrect data type",
                   "ANALOG:UNITS has lesser data items than Channels Used",
                   "ANALOG:USED shows Incorrect Analog Channels Used",
                   "ANALOG:RATE shows Incorrect Analog Sampling Rate"}));
}

// The rules file under samples/ describes the bundled sample exactly; the
// document's command reads it from the settings.
TEST(Validity, SampleRulesFilePassesTheSample) {
  CFakeHost host;
  host.m_settings.m_strValidFile = QUORVEL_SOURCE_DIR "/samples/validity.cfg";
  CEditorDoc* doc = host.OpenDocumentFile(QUORVEL_SOURCE_DIR "/samples/sample.c3d");
  ASSERT_TRUE(doc);
  CValidityResult result;
  OnValidityParameters(*doc, result);
  EXPECT_EQ(result.m_lines, Lines{"All the Parameters contain valid Data Type and dimensions"});
}

// Expected lines checked independently: the out-of-limit markers from the
// CSV export against SEG:DATA_LIMITS, the missing parameters from the
// parameter listing.
TEST(Validity, RealRecordings) {
  REQUIRE_CORPUS();
  CFakeHost host;
  host.m_prompt.AllowUnusedAnswers();
  CEditorDoc* doc = host.OpenDocumentFile(CorpusFile("c3dorg_s09_pluginc3d.c3d"));
  ASSERT_TRUE(doc);
  CValidityResult result;
  ASSERT_TRUE(OnValidityPoints(*doc, result));
  EXPECT_EQ(result.m_lines, (Lines{"LTIA  :  Data Out Of Limits", "RTIA  :  Data Out Of Limits",
                                   "RGroundReactionMoment  :  Data Out Of Limits",
                                   "RAnkleMoment  :  Data Out Of Limits",
                                   "RKneeMoment  :  Data Out Of Limits",
                                   "RHipMoment  :  Data Out Of Limits"}));
  EXPECT_EQ(result.m_pointLines, kValidPointLines);

  doc = host.OpenDocumentFile(CorpusFile("btk_561xxa01.c3d"));
  ASSERT_TRUE(doc);
  host.m_prompt.TakeMessages();
  EXPECT_FALSE(OnValidityPoints(*doc, result));
  EXPECT_EQ(host.m_prompt.TakeMessages(),
            Lines{"Could not find parameter POINT:SCALE\nCannot Check Validity"});
  OnValidityAnalog(*doc, result);
  EXPECT_EQ(result.m_lines,
            (Lines{"ANALOG:LABELS has valid data", "ANALOG:GEN_SCALE has valid data",
                   "ANALOG:SCALE has valid data", "ANALOG:OFFSET has valid data",
                   "ANALOG:UNITS does Not Exist", "ANALOG:USED has valid data",
                   "ANALOG:RATE does Not Exist"}));

  // No analog channels, and only GEN_SCALE, USED and RATE in ANALOG.
  doc = host.OpenDocumentFile(CorpusFile("auck_sydney_static.c3d"));
  ASSERT_TRUE(doc);
  OnValidityAnalog(*doc, result);
  EXPECT_EQ(result.m_lines,
            (Lines{"ANALOG:LABELS does Not Exist", "ANALOG:GEN_SCALE has valid data",
                   "ANALOG:SCALE does Not Exist", "ANALOG:OFFSET does Not Exist",
                   "ANALOG:UNITS does Not Exist", "ANALOG:USED has valid data",
                   "ANALOG:RATE has valid data"}));
}
