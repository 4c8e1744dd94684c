// quorvel-cli validity and import-dst run as a program: their output, JSON,
// exit statuses, and DST export followed by import in both storage kinds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "DocModel.h"
#include "CliRunner.h"
#include "ModelFixture.h"
#include "TestSupport.h"
#include "c3d/C3d.h"

using testsupport::CTempDir;

namespace {

using CRun = testsupport::CCliRun;
using testsupport::ReadText;
using testsupport::RunCli;

// The numbers of a CSV export, row by row (the header row left out).
std::vector<std::vector<double>> CsvNumbers(const std::string& path) {
  std::vector<std::vector<double>> rows;
  std::string text = ReadText(path);
  size_t start = text.find("\r\n") + 2;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    std::vector<double> row;
    const char* p = text.c_str() + start;
    const char* stop = text.c_str() + end;
    while (p < stop) {
      char* next;
      row.push_back(std::strtod(p, &next));
      p = next + 1;
    }
    rows.push_back(row);
    start = end + 2;
  }
  return rows;
}

const char kSample[] = QUORVEL_SOURCE_DIR "/samples/sample.c3d";
const char kSampleRules[] = QUORVEL_SOURCE_DIR "/samples/validity.cfg";

}  // namespace

TEST(CliValidity, PrintsTheResultsOrWhyTheCheckCannotRun) {
  CTempDir dir;
  CRun run = RunCli(dir, {"validity", "parameters", kSampleRules, kSample});
  EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(run.m_strOut, "Parameter Validity\nAll the Parameters contain valid Data Type and dimensions\n");

  // Integer storage, scale 0.5, points valid in even frames only: P1's valid
  // X reach 520, P2's 520.5 (both reach 525 or more in invalid frames).
  CC3d model;
  docmodel::BuildModel(model);
  testsupport::SetList(model, "SEG", "DATA_LIMITS", PARAM_FLOAT, {0, 0, 0, 520.25, 2000, 2000});
  ASSERT_TRUE(docmodel::SaveModel(model, dir.File("limits.c3d")));
  run = RunCli(dir, {"validity", "points", dir.File("limits.c3d")});
  EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(run.m_strOut,
            "Point Data and related Parameter Validity\nP2  :  Data Out Of Limits\n\n"
            "POINT:LABELS has valid data\nPOINT:USED has valid data\nPOINT:SCALE has valid data\n"
            "POINT:RATE has valid data\nPOINT:DATA_START has valid data\nPOINT:FRAMES has valid data\n");
  run = RunCli(dir, {"validity", "points", "--json", dir.File("limits.c3d")});
  EXPECT_EQ(run.m_strOut,
            "{\"file\": \"" + dir.File("limits.c3d") +
                "\", \"mode\": \"points\", \"caption\": \"Point Data and related Parameter Validity\", "
                "\"lines\": [\"P2  :  Data Out Of Limits\", \"\", \"POINT:LABELS has valid data\", "
                "\"POINT:USED has valid data\", \"POINT:SCALE has valid data\", \"POINT:RATE has valid "
                "data\", \"POINT:DATA_START has valid data\", \"POINT:FRAMES has valid data\"], "
                "\"outOfLimits\": [\"P2\"], \"parameterLines\": [\"POINT:LABELS has valid data\", "
                "\"POINT:USED has valid data\", \"POINT:SCALE has valid data\", \"POINT:RATE has valid "
                "data\", \"POINT:DATA_START has valid data\", \"POINT:FRAMES has valid data\"]}\n");

  run = RunCli(dir, {"validity", "points", kSample});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_EQ(run.m_strOut, "");
  EXPECT_EQ(run.m_strErr, "Could not find parameter SEG:DATA_LIMITS\nCannot Check Validity\n");

  run = RunCli(dir, {"validity", "analog", kSample, "--json"});
  EXPECT_EQ(run.m_nStatus, 0);
  EXPECT_EQ(run.m_strOut.substr(run.m_strOut.find("\"mode\"")),
            "\"mode\": \"analog\", \"caption\": \"Analog Data related Parameter Validity\", \"lines\": "
            "[\"ANALOG:LABELS has valid data\", \"ANALOG:GEN_SCALE has valid data\", \"ANALOG:SCALE has "
            "valid data\", \"ANALOG:OFFSET has valid data\", \"ANALOG:UNITS has valid data\", "
            "\"ANALOG:USED has valid data\", \"ANALOG:RATE has valid data\"]}\n");

  run = RunCli(dir, {"validity", "parameters", dir.File("none.cfg"), kSample});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_EQ(run.m_strErr, "quorvel-cli: cannot read the rules file '" + dir.File("none.cfg") + "'\n");
  run = RunCli(dir, {"validity", "--help"});
  EXPECT_EQ(run.m_strOut.substr(0, run.m_strOut.find("\n\n")),
            "usage: quorvel-cli validity parameters RULES FILE [--json]\n"
            "       quorvel-cli validity points FILE [--json]\n"
            "       quorvel-cli validity analog FILE [--json]");
  for (std::vector<std::string> args : {std::vector<std::string>{"validity"},
                                        {"validity", "parameters", kSample},
                                        {"validity", "limits", kSample},
                                        {"validity", "analog", kSample, "--xml"}})
    EXPECT_EQ(RunCli(dir, args).m_nStatus, 2) << args.back();
}

// The DST export of one file read into another with the same channels gives
// back its samples: exactly in integer storage, within the four decimals of
// the text in real storage. Labels with blanks and "-" and channels without
// labels are found under the names the export writes.
TEST(CliImportDst, ExportThenImportGivesBackTheSamples) {
  for (bool real : {false, true}) {
    SCOPED_TRACE(real ? "real storage" : "integer storage");
    CTempDir dir;
    auto build = [&](bool zero) {
      CC3d c3d;
      testsupport::CModelBuilder().Points(3).Analogs(2).Frames(10).SamplesPerFrame(4).Real(real)
          .Scale(real ? -0.1f : 0.1f).BuildInto(c3d);
      c3d.m_header.m_nParamBlock = 2;
      testsupport::SetStrings(c3d, "ANALOG", "LABELS", {"EMG - L"});
      testsupport::SetStrings(c3d, "POINT", "LABELS", {"R KNEE-1", "LASI"});
      testsupport::SetList(c3d, "ANALOG", "SCALE", PARAM_FLOAT, {0.1, 0.037});
      testsupport::SetList(c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {4, -3});
      testsupport::SetAnalogValue(c3d, 1, 7, 3, real ? 1234.567 : -1234);
      testsupport::SetPointFrame(c3d, 2, 4, real ? 123.4567 : 1235, 7, -7, -1);
      if (zero) {
        for (CAnalog& a : c3d.m_analogs)
          for (size_t k = 0; k < a.Size(); ++k) a.Set(k, 0);
        for (CVideo& v : c3d.m_points)
          for (size_t k = 0; k < v.Size(); ++k) v.Set(k, 0);
      }
      return docmodel::SaveModel(c3d, dir.File(zero ? "b.c3d" : "a.c3d"));
    };
    ASSERT_TRUE(build(false));
    ASSERT_TRUE(build(true));
    for (const char* out : {"a.dst", "a.csv", "v.dst", "v.csv"})
      ASSERT_EQ(RunCli(dir, {"export", out[0] == 'a' ? "analog" : "points", dir.File("a.c3d"),
                             dir.File(out)}).m_nStatus, 0);

    CRun run = RunCli(dir, {"import-dst", dir.File("b.c3d"), dir.File("a.dst"), "--analog", "all"});
    EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
    EXPECT_EQ(run.m_strOut, "EMG - L Read succesfully\nChannel 2 Read succesfully\n");
    run = RunCli(dir, {"import-dst", dir.File("b.c3d"), dir.File("v.dst"), "--points", "1,2-3"});
    EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
    EXPECT_EQ(run.m_strOut, "R KNEE-1 Read succesfully\nLASI Read succesfully\nMarker 3 Read succesfully\n");

    ASSERT_EQ(RunCli(dir, {"export", "analog", dir.File("b.c3d"), dir.File("b-a.csv")}).m_nStatus, 0);
    ASSERT_EQ(RunCli(dir, {"export", "points", dir.File("b.c3d"), dir.File("b-v.csv")}).m_nStatus, 0);
    auto expected = CsvNumbers(dir.File("a.csv")), got = CsvNumbers(dir.File("b-a.csv"));
    ASSERT_EQ(got.size(), 40u);
    if (!real) {
      EXPECT_EQ(ReadText(dir.File("b-a.csv")), ReadText(dir.File("a.csv")));
    }
    for (size_t r = 0; r < got.size(); ++r)
      for (size_t c = 0; c < got[r].size(); ++c)
        EXPECT_NEAR(got[r][c], expected[r][c], 5e-5 + 1e-6 * std::fabs(expected[r][c])) << r << "," << c;
    expected = CsvNumbers(dir.File("v.csv"));
    got = CsvNumbers(dir.File("b-v.csv"));
    ASSERT_EQ(got.size(), 10u);
    for (size_t r = 0; r < got.size(); ++r)
      for (size_t c = 1; c < got[r].size(); ++c) {
        if (c % 4 == 0)
          EXPECT_EQ(got[r][c], 0.0);  // every read frame is valid, residual 0
        else
          EXPECT_NEAR(got[r][c], expected[r][c], real ? 5e-5 + 1e-6 * std::fabs(expected[r][c]) : 0.0)
              << r << "," << c;
      }
  }
}

TEST(CliImportDst, FailuresAndWrongCommandLines) {
  CTempDir dir;
  CC3d model;
  docmodel::BuildModel(model);  // analog A1..A3, points P1, P2
  ASSERT_TRUE(docmodel::SaveModel(model, dir.File("t.c3d")));
  const std::vector<unsigned char> original = testsupport::ReadAll(dir.File("t.c3d"));

  testsupport::WriteText(dir.File("bad.dst"), "not a DST file\n");
  CRun run = RunCli(dir, {"import-dst", dir.File("t.c3d"), dir.File("bad.dst"), "--analog", "all"});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_EQ(run.m_strErr, "Selected file is not a GCD file\n");
  EXPECT_EQ(testsupport::ReadAll(dir.File("t.c3d")), original);

  // P2 has a short row; P1 is read and saved, and the status says one failed.
  testsupport::WriteText(dir.File("p.dst"),
                         "#!DST\n!P1-3\n" + std::string(12, ' ') + "\n1 2 3\n1 2 3\n1 2 3\n1 2 3\n1 2 3\n1 2 3\n"
                         "!P2-3\n1 2\n");
  run = RunCli(dir, {"import-dst", dir.File("t.c3d"), dir.File("p.dst"), "--points", "all"});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_EQ(run.m_strOut, "P1 Read succesfully\nP2 could not be read\n");
  EXPECT_EQ(run.m_strErr, "Not enough data in a line\n");
  EXPECT_NE(testsupport::ReadAll(dir.File("t.c3d")), original);

  for (std::vector<std::string> args :
       {std::vector<std::string>{"import-dst", dir.File("t.c3d"), dir.File("p.dst")},
        {"import-dst", dir.File("t.c3d"), dir.File("p.dst"), "--points"},
        {"import-dst", dir.File("t.c3d"), dir.File("p.dst"), "--points", "0"},
        {"import-dst", dir.File("t.c3d"), dir.File("p.dst"), "--points", "3"},
        {"import-dst", dir.File("t.c3d"), dir.File("p.dst"), "--points", "2-1"},
        {"import-dst", dir.File("t.c3d"), dir.File("p.dst"), "--points", "1", "--analog", "1"}})
    EXPECT_EQ(RunCli(dir, args).m_nStatus, 2) << args.back();
}
