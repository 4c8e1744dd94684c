// quorvel-cli run as a program: header rows, exports, conversions between the
// six file formats, exit statuses and messages.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CliRunner.h"
#include "ModelFixture.h"
#include "TestSupport.h"
#include "c3d/C3d.h"

using testsupport::CTempDir;

namespace {

using CRun = testsupport::CCliRun;
using testsupport::ReadText;
using testsupport::RunCli;

// Writes a model built in memory as a C3D file: the writer takes the header
// block from a source file, so a blank one is made first.
void WriteModel(CC3d& c3d, const std::string& path) {
  std::string blank = path + ".blank";
  std::vector<unsigned char> block(512, 0);
  block[0] = c3d.m_header.m_nParamBlock;
  block[1] = 80;
  testsupport::WriteAll(blank, block);
  c3d.m_strFileName = blank;
  std::string error;
  ASSERT_TRUE(c3d.SaveToFile(path, error)) << error;
  std::filesystem::remove(blank);
}

// Integer storage, scale 0.1, 10 frames of 4 analog samples, 2 channels and
// 3 points without labels; the first channel is labelled "EMG - L".
void WriteSmallTrial(const std::string& path) {
  CC3d c3d;
  testsupport::CModelBuilder().Points(3).Analogs(2).Frames(10).SamplesPerFrame(4).FrameRate(50.0f)
      .BuildInto(c3d);
  testsupport::DropParam(c3d, "POINT", "LABELS");
  testsupport::SetStrings(c3d, "ANALOG", "LABELS", {"EMG - L"});
  testsupport::SetList(c3d, "ANALOG", "SCALE", PARAM_FLOAT, {0.5, 1.0});
  testsupport::SetList(c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {4, 0});
  testsupport::SetPointFrame(c3d, 1, 2, 10, 20, 30, -1);
  WriteModel(c3d, path);
}

std::vector<std::string> Lines(const std::string& text, const char* end = "\n") {
  std::vector<std::string> lines;
  size_t start = 0, pos;
  std::string sep = end;
  while ((pos = text.find(sep, start)) != std::string::npos) {
    lines.push_back(text.substr(start, pos - start));
    start = pos + sep.size();
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The first line where two exports differ, in both versions; empty when
// they hold the same numbers. Integer and real storage write the residual
// word differently ("-1" and "-1.0000"), so fields are compared as numbers.
std::string FirstDifference(const std::string& a, const std::string& b) {
  std::vector<std::string> la = Lines(a, "\r\n"), lb = Lines(b, "\r\n");
  auto same = [](const std::string& x, const std::string& y) {
    std::vector<std::string> fx = Lines(x, ","), fy = Lines(y, ",");
    if (fx.size() != fy.size()) return false;
    for (size_t i = 0; i < fx.size(); ++i) {
      if (fx[i] == fy[i]) continue;
      char *endX, *endY;
      double vx = std::strtod(fx[i].c_str(), &endX), vy = std::strtod(fy[i].c_str(), &endY);
      if (*endX || *endY || vx != vy) return false;
    }
    return true;
  };
  for (size_t i = 0; i < std::max(la.size(), lb.size()); ++i) {
    std::string x = i < la.size() ? la[i] : "(none)", y = i < lb.size() ? lb[i] : "(none)";
    if (!same(x, y)) return "line " + std::to_string(i + 1) + ":\n" + x + "\n" + y;
  }
  return std::string();
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(Cli, CommandLineErrorsPrintUsageAndExitWithTwo) {
  CTempDir dir;
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"frobnicate"},
                                             {"header"},
                                             {"header", "a.c3d", "b.c3d"},
                                             {"export", "frames", "a.c3d", "a.csv"},
                                             {"export", "analog", "a.c3d"},
                                             {"convert", "a.c3d", "b.c3d", "--processor", "vax"},
                                             {"convert", "a.c3d", "b.c3d", "--storage"},
                                             {"convert", "a.c3d", "b.c3d", "--fast"},
                                             {"header", "--rescale", "a.c3d"}}) {
    CRun run = RunCli(dir, args);
    std::string shown;
    for (const std::string& a : args) shown += a + " ";
    EXPECT_EQ(run.m_nStatus, 2) << shown;
    EXPECT_TRUE(Contains(run.m_strErr, "usage: quorvel-cli")) << shown << run.m_strErr;
    EXPECT_EQ(run.m_strOut, "") << shown;
  }
  // A parameter export needs .dst or .des, checked before anything is read.
  CRun run = RunCli(dir, {"export", "parameters", dir.File("missing.c3d"), dir.File("p.csv")});
  EXPECT_EQ(run.m_nStatus, 2);
  EXPECT_TRUE(Contains(run.m_strErr, ".dst")) << run.m_strErr;

  run = RunCli(dir, {"--version"});
  EXPECT_EQ(run.m_nStatus, 0);
  EXPECT_EQ(run.m_strOut, "quorvel-cli 2.660\n");
  run = RunCli(dir, {"--help"});
  EXPECT_EQ(run.m_nStatus, 0);
  EXPECT_TRUE(Contains(run.m_strOut, "convert IN OUT")) << run.m_strOut;
}

TEST(Cli, UnreadableInputsFailWithTheirReason) {
  CTempDir dir;
  CRun run = RunCli(dir, {"header", dir.File("nothing.c3d")});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_TRUE(Contains(run.m_strErr, "nothing.c3d")) << run.m_strErr;
  EXPECT_EQ(run.m_strOut, "");

  testsupport::WriteText(dir.File("empty.c3d"), "");
  run = RunCli(dir, {"export", "analog", dir.File("empty.c3d"), dir.File("a.csv")});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_TRUE(Contains(run.m_strErr, "Header : Could not read data from file")) << run.m_strErr;
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.csv")));

  run = RunCli(dir, {"header", dir.Path()});
  EXPECT_EQ(run.m_nStatus, 1);
}

TEST(Cli, HeaderListsTheThirteenRows) {
  CTempDir dir;
  std::string file = dir.File("small.c3d");
  WriteSmallTrial(file);
  std::vector<unsigned char> bytes = testsupport::ReadAll(file);
  ASSERT_GE(bytes.size(), 512u);
  int dataStart = bytes[16] | (bytes[17] << 8);

  CRun run = RunCli(dir, {"header", file});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(run.m_strErr, "");
  EXPECT_EQ(run.m_strOut,
            "Parameter Record\t2\n"
            "3D Points\t3\n"
            "Analog Channels\t2\n"
            "First Frame\t1\n"
            "Last Frame\t10\n"
            "Maximum Interpolation Gap\t0\n"
            "Scaling Factor\t0.100\n"
            "Data Start\t" + std::to_string(dataStart) + "\n"
            "Sampling Rate\t50.000\n"
            "File Format\tPC Format\n"
            "Data Type\tInteger\n"
            "A to V Ratio\t4\n"
            "Nyquist Freq (Hz)\t100.000\n");
}

TEST(Cli, HeaderOfCorpusFilesInEachProcessorFormat) {
  REQUIRE_CORPUS();
  CTempDir dir;
  struct {
    const char* m_pFile;
    const char* m_pFormat;
    const char* m_pType;
  } cases[] = {{"c3dorg_s01_eb015_sgi_real.c3d", "SGI Format", "Real"},
               {"c3dorg_s01_eb015_dec_int.c3d", "DEC Format", "Integer"},
               {"c3dorg_s01_eb015_pc_real.c3d", "PC Format", "Real"}};
  for (const auto& c : cases) {
    CRun run = RunCli(dir, {"header", testsupport::CorpusFile(c.m_pFile)});
    ASSERT_EQ(run.m_nStatus, 0) << c.m_pFile << run.m_strErr;
    std::vector<std::string> lines = Lines(run.m_strOut);
    ASSERT_EQ(lines.size(), 13u) << run.m_strOut;
    EXPECT_EQ(lines[1], "3D Points\t26");
    EXPECT_EQ(lines[2], "Analog Channels\t16");
    EXPECT_EQ(lines[4], "Last Frame\t450");
    EXPECT_EQ(lines[8], "Sampling Rate\t50.000");
    EXPECT_EQ(lines[9], std::string("File Format\t") + c.m_pFormat);
    EXPECT_EQ(lines[10], std::string("Data Type\t") + c.m_pType);
    EXPECT_EQ(lines[11], "A to V Ratio\t4");
  }
}

TEST(Cli, HeaderShowsTheScaleTheDocumentUses) {
  // Real storage with a positive POINT:SCALE: the editor warns and keeps the
  // header's scale; the command line does the same on standard error.
  CTempDir dir;
  CC3d c3d;
  testsupport::CModelBuilder().Real().Scale(-0.25f).BuildInto(c3d);
  c3d.FindParam("POINT", "SCALE")->SetFloatAt(0, 2.0f);
  std::string file = dir.File("badscale.c3d");
  WriteModel(c3d, file);
  CRun run = RunCli(dir, {"header", file});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(run.m_strErr, "There is an error in the POINT:SCALE Parameter.  It will not be used\n");
  EXPECT_EQ(Lines(run.m_strOut)[6], "Scaling Factor\t-0.250");
}

TEST(Cli, ExportsOfASmallTrial) {
  CTempDir dir;
  std::string file = dir.File("walk.c3d");
  WriteSmallTrial(file);

  // Analog: 10 frames x 4 samples = 40 rows, physical values, CR LF.
  CRun run = RunCli(dir, {"export", "analog", file, dir.File("walka.csv")});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(run.m_strErr, "") << "progress is shown only on a terminal";
  std::vector<std::string> rows = Lines(ReadText(dir.File("walka.csv")), "\r\n");
  ASSERT_EQ(rows.size(), 41u);
  EXPECT_EQ(rows[0], "Frame,EMG - L,Chan 2");
  // Channel 0, frame 0, sample 0 of the pattern is 0: (0 - 4) x 0.5.
  EXPECT_EQ(rows[1], "1,-2.0000,1000.0000");
  EXPECT_EQ(rows[2], "2,-1.5000,1001.0000");
  EXPECT_EQ(rows[40], "40,44.5000,1093.0000");

  run = RunCli(dir, {"export", "analog", file, dir.File("walka.dst")});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  std::string dst = ReadText(dir.File("walka.dst"));
  EXPECT_TRUE(StartsWith(dst, "#!DST-2.0 EXP-2.0 Quorvel 2.660\r\n!EMG___L\r\n-2.0000\r\n"));
  EXPECT_TRUE(Contains(dst, "\r\n44.5000\r\n!Chan_2\r\n1000.0000\r\n"));

  // Points: default names, scaled coordinates, the stored residual word.
  run = RunCli(dir, {"export", "points", file, dir.File("walkv.txt")});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  rows = Lines(ReadText(dir.File("walkv.txt")), "\r\n");
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_TRUE(StartsWith(rows[0], "Frame\tMarker 1 X\tMarker 1 Y\tMarker 1 Z\tMarker 1 Cord4\tMarker 2 X"));
  EXPECT_TRUE(StartsWith(rows[3], "3\t2.1000\t2.2000\t2.3000\t0\t1.0000\t2.0000\t3.0000\t-1\t")) << rows[3];

  // Parameters: DST text, and the binary section as the file holds it.
  run = RunCli(dir, {"export", "parameters", file, dir.File("walkp.dst")});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_TRUE(StartsWith(ReadText(dir.File("walkp.dst")), "#!DST-2.0 EXP-2.0 Quorvel 2.660\r\n!POINT\r\n"));
  run = RunCli(dir, {"export", "parameters", file, dir.File("walkp.des")});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  std::vector<unsigned char> section = testsupport::ReadAll(dir.File("walkp.des"));
  std::vector<unsigned char> whole = testsupport::ReadAll(file);
  ASSERT_GT(section.size(), 4u);
  EXPECT_EQ(section.size() % 512, 0u);
  ASSERT_GE(whole.size(), 512 + section.size());
  EXPECT_TRUE(std::equal(section.begin(), section.end(), whole.begin() + 512));
}

TEST(Cli, FailedOrRefusedExportsWriteNothing) {
  CTempDir dir;
  std::string file = dir.File("walk.c3d");
  WriteSmallTrial(file);
  CRun run = RunCli(dir, {"export", "points", file, dir.File("no/such/folder/v.csv")});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_TRUE(Contains(run.m_strErr, "could not write")) << run.m_strErr;

  // Exporting over the file being read would destroy it.
  std::vector<unsigned char> before = testsupport::ReadAll(file);
  run = RunCli(dir, {"export", "analog", file, dir.Path() + "/./walk.c3d"});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_EQ(testsupport::ReadAll(file), before);
}

TEST(Cli, ConvertWithoutOptionsResavesUnchanged) {
  CTempDir dir;
  std::string file = dir.File("walk.c3d");
  WriteSmallTrial(file);
  CRun run = RunCli(dir, {"convert", file, dir.File("copy.c3d")});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(run.m_strErr, "");
  EXPECT_EQ(testsupport::ReadAll(dir.File("copy.c3d")), testsupport::ReadAll(file));

  // Over itself, too.
  run = RunCli(dir, {"convert", dir.File("copy.c3d"), dir.File("copy.c3d")});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(testsupport::ReadAll(dir.File("copy.c3d")), testsupport::ReadAll(file));
}

namespace {

// Converts `source` (integer storage) through every processor format, to real
// storage and back; the data read back (exported as text) must stay the same.
void ConvertThroughAllSixFormats(const CTempDir& dir, const std::string& source) {
  auto exports = [&](const std::string& file) {
    EXPECT_EQ(RunCli(dir, {"export", "points", file, dir.File("v.csv")}).m_nStatus, 0);
    EXPECT_EQ(RunCli(dir, {"export", "analog", file, dir.File("a.csv")}).m_nStatus, 0);
    return ReadText(dir.File("v.csv")) + ReadText(dir.File("a.csv"));
  };
  const std::string expected = exports(source);
  ASSERT_GT(expected.size(), 1000u);

  struct {
    const char* m_pProcessor;
    const char* m_pStorage;
    const char* m_pFormat;
    const char* m_pType;
  } steps[] = {{"dec", "integer", "DEC Format", "Integer"}, {"sgi", "integer", "SGI Format", "Integer"},
               {"pc", "real", "PC Format", "Real"},         {"dec", "real", "DEC Format", "Real"},
               {"sgi", "real", "SGI Format", "Real"},       {"pc", "integer", "PC Format", "Integer"}};
  std::string previous = source;
  int n = 0;
  for (const auto& s : steps) {
    std::string next = dir.File("step" + std::to_string(++n) + ".c3d");
    CRun run = RunCli(dir, {"convert", previous, next, "--processor", s.m_pProcessor, "--storage",
                            s.m_pStorage});
    ASSERT_EQ(run.m_nStatus, 0) << next << run.m_strErr;
    CRun header = RunCli(dir, {"header", next});
    std::vector<std::string> lines = Lines(header.m_strOut);
    ASSERT_EQ(lines.size(), 13u) << header.m_strErr;
    EXPECT_EQ(lines[9], std::string("File Format\t") + s.m_pFormat);
    EXPECT_EQ(lines[10], std::string("Data Type\t") + s.m_pType);
    EXPECT_EQ(FirstDifference(exports(next), expected), "")
        << "data changed in " << s.m_pProcessor << " " << s.m_pStorage;
    previous = next;
  }
}

}  // namespace

TEST(Cli, ConvertRoundTripsThroughAllSixFormats) {
  CTempDir dir;
  std::string file = dir.File("walk.c3d");
  WriteSmallTrial(file);
  ConvertThroughAllSixFormats(dir, file);
}

TEST(Cli, ConvertRoundTripsARecordingOfTheCorpus) {
  REQUIRE_CORPUS();
  CTempDir dir;
  ConvertThroughAllSixFormats(dir, testsupport::CorpusFile("c3dorg_s02_pc_int.c3d"));
}

TEST(Cli, RescaleAnswersTheScaleQuestion) {
  CTempDir dir;
  CC3d c3d;
  testsupport::CModelBuilder().Real().Scale(-1.0f).BuildInto(c3d);
  testsupport::SetPointFrame(c3d, 0, 0, 1600.0, 0.5, -3.25, 0);
  std::string file = dir.File("real.c3d");
  WriteModel(c3d, file);
  const std::string question =
      "Your Scale factor has been found to be -1.0.  Do you want to calculate an optimum value?";

  CRun run = RunCli(dir, {"convert", file, dir.File("kept.c3d"), "--storage", "integer"});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_TRUE(Contains(run.m_strErr, question + "\n-> No")) << run.m_strErr;
  EXPECT_EQ(Lines(RunCli(dir, {"header", dir.File("kept.c3d")}).m_strOut)[6], "Scaling Factor\t1.000");

  run = RunCli(dir, {"convert", file, dir.File("rescaled.c3d"), "--storage=integer", "--rescale"});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_TRUE(Contains(run.m_strErr, question + "\n-> Yes")) << run.m_strErr;
  EXPECT_EQ(Lines(RunCli(dir, {"header", dir.File("rescaled.c3d")}).m_strOut)[6],
            "Scaling Factor\t0.050");
}

TEST(Cli, ConvertToIntegerRefusesValuesThatDoNotFitUnlessRescaled) {
  CTempDir dir;
  CC3d c3d;
  testsupport::CModelBuilder().Real().Scale(-0.1f).BuildInto(c3d);
  testsupport::SetPointFrame(c3d, 1, 2, 4356.32, 0.5, -3.25, 0);  // 43563 counts
  testsupport::SetAnalogValue(c3d, 1, 3, 1, 65535.0);
  const std::string file = dir.File("real.c3d");
  WriteModel(c3d, file);

  CRun run = RunCli(dir, {"convert", file, dir.File("int.c3d"), "--storage", "integer"});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_TRUE(Contains(run.m_strErr, "3D point 2 (P2): 4356.32 at scale 0.1 does not fit 16 bits (and 1 more)"))
      << run.m_strErr;
  EXPECT_FALSE(std::filesystem::exists(dir.File("int.c3d")));

  run = RunCli(dir, {"convert", file, dir.File("int.c3d"), "--storage", "integer", "--rescale"});
  ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
  CC3d written;
  written.m_strFileName = dir.File("int.c3d");
  ASSERT_EQ(written.Open(), 1);
  const double scale = written.m_header.m_fScale;
  EXPECT_NEAR(testsupport::PointValue(written, 1, 2, 0) * scale, 4356.32, scale);
  EXPECT_NEAR((testsupport::AnalogValue(written, 1, 3, 1) - written.GetAnalogOffset(1)) *
                  written.GetAnalogScale(1),
              65535.0, written.GetAnalogScale(1));
}

TEST(Cli, ConvertToAMissingFolderFails) {
  CTempDir dir;
  std::string file = dir.File("walk.c3d");
  WriteSmallTrial(file);
  CRun run = RunCli(dir, {"convert", file, dir.File("no/such/out.c3d"), "--processor", "sgi"});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_NE(run.m_strErr, "");
}
